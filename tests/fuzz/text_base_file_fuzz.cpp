// libFuzzer entry for the database loader on files: arbitrary bytes are a
// scrambled database of a data directory whose work file exists, and
// LoadTextBase reads it. Besides the sanitizers: the work file is empty
// afterwards whether the database was taken or refused (the plain text never
// stays behind); a taken database has the lines of the unscrambled bytes; a
// refusal is an Error naming the file; a missing work file is refused and not
// created. Built and run by tests/fuzz/run.sh (seed: pieces of the packed
// databases).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/text_base.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = [] {
        const std::string d = ScratchFile("db") + "/";
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string source = dir + "data1.dat", work = dir + "data2.dat";
    // The source holds the bytes as stored, that is scrambled.
    WriteBytes(source, ScrambleBytes(bytes));
    WriteBytes(work, "stale plain text");

    const std::vector<std::string> lines = SplitTextLines(bytes);
    try {
        const TextBase base = LoadTextBase(dir, "data1.dat", "data2.dat");
        Check(lines.size() <= static_cast<std::size_t>(kTextBaseLines), "an over-long database is refused");
        Check(base.lineCount() == static_cast<int>(lines.size()), "every line is taken");
        for (std::size_t n = 0; n < lines.size(); ++n)
            Check(base.line(static_cast<int>(n) + 1) == lines[n], "the lines of the unscrambled bytes");
        Check(base.name().find("data1.dat") != std::string::npos, "a database is named by its file");
        Check(DatabaseTextProblem(EntryKind::Aspect, bytes, source).empty(),
              "a database that loads is not empty, is text and has whole entries");
    } catch (const Error& e) {
        Check(std::string(e.what()).find("data1.dat") != std::string::npos, "a refusal names the file");
    }
    Check(ReadBytes(work).empty(), "the work file is emptied");

    std::filesystem::remove(work);
    try {
        (void)LoadTextBase(dir, "data1.dat", "data2.dat");
        Fail("a missing work file is refused");
    } catch (const Error&) {
    }
    Check(!std::filesystem::exists(work), "a missing work file is not made");
    return 0;
}
