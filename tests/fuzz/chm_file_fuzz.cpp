// libFuzzer entry for the help file reader: arbitrary bytes are written to a
// file and opened as a compiled help file; its list of files is read, every
// listed object and a few topics are read back. chmlib reads from a path only,
// hence the scratch file. Not part of the test suite; built and run by
// tests/fuzz/run.sh (seed: the help files compiled from help/).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/chm_file.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string file = ScratchFile("chm");
    WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));
    const auto chm = ChmFile::Open(file);
    if (!chm) return 0;
    int read = 0;
    for (const std::string& path : chm->Files()) {
        Check(!path.empty() && path[0] == '/', "listed paths are absolute");
        if (read++ >= 64) break;
        if (const auto bytes = chm->Read(path))
            Check(bytes->size() <= ChmFile::kMaxObjectSize, "objects within the size limit");
    }
    for (const char* topic : {"::10.html", "::/110.html", "index.html", "help.css", "img/legend.png"}) {
        const std::string path = ChmObjectPath(topic);
        Check(!path.empty() && path[0] == '/', "topic path");
        const bool contains = chm->Contains(path);
        if (!contains) Check(!chm->Read(path), "no object read for a path it does not hold");
    }
    return 0;
}
