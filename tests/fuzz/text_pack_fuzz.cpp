// libFuzzer entry for the packer of the databases' UTF-8 sources: arbitrary
// bytes are packed for each kind; a source the packer accepts must give a
// database in which every entry can be found and written (no lookup error, an
// end line for every entry, a weight the report can name). Not part of the test
// suite; built and run by tests/fuzz/run.sh (seed: data/texts/*.txt).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/text_base.h"
#include "analysis/text_pack.h"
#include "base/errors.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

EntryKey KeyOf(EntryKind kind, const std::string& l) {
    int f[8] = {};
    for (int k = 1; k <= ConvertedFields(kind); ++k) f[k] = *HeaderField(l, k);
    switch (kind) {
        case EntryKind::Aspect: return {f[3], f[4], f[7], 0};
        case EntryKind::House: return {f[3], f[5], 0, 0};
        case EntryKind::Natal: return {f[1], f[2], f[3], f[4]};
        case EntryKind::Sign: return {f[2], f[3], f[4], 0};
    }
    return {};
}

void CheckPacked(EntryKind kind, const PackedText& packed) {
    Check(packed.lines <= kLastHeaderLine, "at most 1995 lines");
    std::vector<std::string> lines;
    if (!packed.plain.empty()) lines = SplitTextLines(packed.plain);
    Check(static_cast<int>(lines.size()) == packed.lines, "packed lines read back one for one");
    Check(packed.plain.empty() || packed.plain.size() >= 2 && packed.plain.compare(packed.plain.size() - 2, 2, "\r\n") == 0,
          "every packed line ends with CR LF");
    const TextBase base("fuzz", lines);
    const bool weighted = kind == EntryKind::Aspect || kind == EntryKind::House;
    const int skip = kind == EntryKind::Natal ? 1 : 2;
    int headers = 0;
    for (int n = 1; n <= packed.lines; ++n) {
        const std::string& l = base.line(n);
        if (l.empty() || l[0] != '*') continue;
        ++headers;
        if (headers > 200) break;
        FoundEntry e;
        try {
            e = base.Find(kind, KeyOf(kind, l));
        } catch (const Error&) {
            Fail("a packed database has no header the lookups stop at");
        }
        if (weighted && EntryWeight(*HeaderField(l, 1), *HeaderField(l, 2)) == 0) continue;
        Check(e.line >= 1 && e.line <= n, "every packed entry is found");
        try {
            (void)base.EntryText(e.line, skip);
            if (weighted) (void)PointsHeading(e.weight, base.name(), e.line);
        } catch (const Error&) {
            Fail("every packed entry can be written");
        }
    }
    if (headers <= 200) Check(headers == packed.entries, "entries counted");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view utf8(reinterpret_cast<const char*>(data), size);
    for (int k = 0; k < 4; ++k) {
        const auto kind = static_cast<EntryKind>(k);
        try {
            CheckPacked(kind, PackTextSource(kind, utf8, "fuzz.txt"));
        } catch (const Error& e) {
            Check(std::strlen(e.what()) > 0, "error has a message");
        }
    }
    return 0;
}
