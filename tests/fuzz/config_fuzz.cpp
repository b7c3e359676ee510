// libFuzzer entry for the reader of the configuration file "main.dat": arbitrary
// bytes are written to a file and read with ReadConfig. Not part of the test
// suite; built and run by tests/fuzz/run.sh.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "people/config.h"
#include "base/errors.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string file = ScratchFile("main.dat");
    WriteBytes(file, text);
    // Two lines are there when a line feed is followed by anything; the second,
    // the data directory, must not be empty or blank.
    const std::size_t lf = text.find('\n');
    bool twoLines = lf != std::string_view::npos && lf + 1 < text.size();
    if (twoLines) {
        const std::size_t lf2 = text.find('\n', lf + 1);
        std::string_view line2 = text.substr(lf + 1, lf2 == std::string_view::npos ? std::string_view::npos : lf2 - lf - 1);
        if (!line2.empty() && line2.back() == '\r') line2.remove_suffix(1);
        twoLines = line2.find_first_not_of(" \t") != std::string_view::npos;
    }
    try {
        const Config c = ReadConfig(file);
        Check(twoLines, "a file of fewer than two lines, or with a blank data line, is refused");
        Check(c.path == file, "the file it was read from");
        // Line 1 as written, without its line end; line 2 likewise.
        std::string first(text.substr(0, lf));
        if (!first.empty() && first.back() == '\r') first.pop_back();
        Check(c.SystemDir == first, "line 1 is the system directory");
        const std::size_t lf2 = text.find('\n', lf + 1);
        std::string second(text.substr(lf + 1, lf2 == std::string_view::npos ? std::string_view::npos : lf2 - lf - 1));
        if (!second.empty() && second.back() == '\r') second.pop_back();
        Check(c.DataDir == second, "line 2 is the data directory");
    } catch (const Error& e) {
        Check(!twoLines, "a file of two lines is read");
    }
    std::remove(file.c_str());
    return 0;
}
