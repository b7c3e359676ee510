// pack-texts: the UTF-8 interpretation sources into the scrambled databases of
// the data directory and their empty work files. All four sources are checked
// before anything is written, so a refused source leaves the target untouched.
#include <filesystem>
#include <system_error>

#include "analysis/text_base.h"
#include "analysis/text_pack.h"
#include "cli/command.h"
#include "cli/json.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "base/native_path.h"

namespace pelorin::cli {
namespace {

namespace fs = std::filesystem;

int RunPackTexts(const std::vector<std::string>& argv) {
    Args args(argv, {"from", "to"});
    const fs::path from = NativePath(args.required("from"));
    const fs::path to = NativePath(args.required("to"));

    std::vector<PackedText> packed;
    for (const DatabaseFile& db : kDatabaseFiles) {
        const std::string source = PathText(from / db.text);
        packed.push_back(PackTextSource(db.kind, ReadWholeFile(source), source));
    }

    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec) throw Error("Не удаётся создать каталог «" + PathText(to) + "»: " + ec.message());
    // The databases and their work files may be replaced in a data directory in use.
    std::vector<std::string> items;
    {
        // Released before the output.
        const DirLock lock(PathText(to));
        for (std::size_t i = 0; i < kDatabaseFiles.size(); ++i) {
            WriteFileAtomic(PathText(to / kDatabaseFiles[i].source), ScrambleBytes(packed[i].plain));
            WriteFileAtomic(PathText(to / kDatabaseFiles[i].work), "");
        }
    }
    for (std::size_t i = 0; i < kDatabaseFiles.size(); ++i) {
        const DatabaseFile& db = kDatabaseFiles[i];
        items.push_back(JsonObject()
                            .str("source", db.text)
                            .str("file", db.source)
                            .str("work", db.work)
                            .num("lines", packed[i].lines)
                            .num("entries", packed[i].entries)
                            .text());
    }
    PrintJson(JsonObject().raw("databases", JsonArray(items)).text());
    return 0;
}

Register reg({"pack-texts", "pack-texts --from DIR --to DIR", RunPackTexts});

}  // namespace
}  // namespace pelorin::cli
