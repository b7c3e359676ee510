#include "people/config.h"
#include "cli/command.h"
#include "cli/person_json.h"
#include "base/dir_lock.h"
#include "base/file_io.h"

namespace pelorin::cli {
namespace {

std::string TableJson(const PersonTable& table) {
    std::vector<std::string> items;
    for (int slot : UsedSlots(table)) items.push_back(PersonJson(slot, table.slot(slot)));
    return JsonArray(items);
}

int RunPeople(const std::vector<std::string>& argv) {
    Args args(argv, {"config"});
    const Config config = ReadConfig(args.required("config"));
    PersonTable women{TableKind::Women, {}};
    PersonTable men{TableKind::Men, {}};
    {
        // Released before the output: a reader that does not read keeps nobody waiting.
        const DirLock lock(config.DataDir, LockUse::Read);
        LoadPersonFile(JoinPath(config.DataDir, "FEMIN.DAT"), women);
        LoadPersonFile(JoinPath(config.DataDir, "MEN.DAT"), men);
    }
    PrintJson(JsonObject().raw("women", TableJson(women)).raw("men", TableJson(men)).text());
    return 0;
}

Register reg({"people", "people --config FILE", RunPeople});

}  // namespace
}  // namespace pelorin::cli
