// libFuzzer entry for the interpretation databases: arbitrary bytes are split
// into lines as a database is read and made a TextBase; every lookup kind is
// tried with the keys of the headers present and a few fixed keys, the indexed
// Find must agree with the plain scan FindLinear (result or error alike), and
// the text of every entry found is taken. The scrambling is checked to undo
// itself. Not part of the test suite; built and run by tests/fuzz/run.sh (seed:
// lines of the packed data/texts/*.txt).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/text_base.h"
#include "base/errors.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

struct Outcome {
    FoundEntry entry;
    std::optional<std::string> error;
};

template <class F>
Outcome Run(F&& f) {
    Outcome o;
    try {
        o.entry = f();
    } catch (const Error& e) {
        o.error = e.what();
    }
    return o;
}

int Skip(EntryKind kind) { return kind == EntryKind::Natal ? 1 : 2; }

void CheckKind(const TextBase& base, EntryKind kind) {
    std::set<EntryKey> keys{{0, 0, 0, 0}, {1, 0, 1, 0}, {9, 0, 1, 0}, {1, 120, 2, 50}, {-1, -1, -1, -1}};
    for (int n = 1; n <= kTextBaseLines; ++n) {
        const std::string& l = base.line(n);
        if (l.empty() || l[0] != '*') continue;
        int f[8] = {};
        for (int k = 1; k <= kHeaderFields; ++k) f[k] = HeaderField(l, k).value_or(0);
        switch (kind) {
            case EntryKind::Aspect: keys.insert({f[3], f[4], f[7], 0}); break;
            case EntryKind::House: keys.insert({f[3], f[5], 0, 0}); break;
            case EntryKind::Natal: keys.insert({f[1], f[2], f[3], f[4]}); break;
            case EntryKind::Sign: keys.insert({f[2], f[3], f[4], 0}); break;
        }
        if (keys.size() > 64) break;
    }
    const bool weighted = kind == EntryKind::Aspect || kind == EntryKind::House;
    for (const EntryKey& key : keys) {
        const Outcome indexed = Run([&] { return base.Find(kind, key); });
        const Outcome linear = Run([&] { return base.FindLinear(kind, key); });
        Check(indexed.error == linear.error, "Find and FindLinear throw alike");
        Check(indexed.entry.line == linear.entry.line && indexed.entry.weight == linear.entry.weight,
              "Find and FindLinear agree");
        if (indexed.error || indexed.entry.line == 0) continue;
        const int n = indexed.entry.line;
        Check(n >= 1 && n <= kLastHeaderLine && base.line(n)[0] == '*', "found line is a header");
        Check(weighted ? indexed.entry.weight != 0 : indexed.entry.weight == 0, "weight of a found entry");
        try {
            const std::string text = base.EntryText(n, Skip(kind));
            Check(text.empty() || text.size() >= 2, "entry text lines end with CR LF");
            if (weighted) (void)PointsHeading(indexed.entry.weight, base.name(), n);
        } catch (const Error&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string scrambled = ScrambleBytes(bytes);
    Check(scrambled.size() == size, "scrambling keeps the length");
    Check(ScrambleBytes(scrambled) == bytes, "scrambling undoes itself");
    for (std::size_t k = 0; k < size; ++k)
        Check(static_cast<unsigned char>(scrambled[k]) ==
                  (static_cast<unsigned char>(bytes[k]) ^ FileKey[k % FileKey.size()]),
              "scrambling uses the key");

    std::vector<std::string> lines = SplitTextLines(bytes);
    Check(!lines.empty(), "a text has a line");
    for (const std::string& l : lines) Check(l.find('\n') == std::string::npos, "lines hold no line feed");

    if (lines.size() > static_cast<std::size_t>(kTextBaseLines)) {
        try {
            TextBase b("fuzz", lines);
            Fail("an over-long database is refused");
        } catch (const Error&) {
        }
        lines.resize(kTextBaseLines);
    }
    const TextBase base("fuzz", lines);
    Check(base.lineCount() == static_cast<int>(lines.size()), "line count");
    Check(base.line(0).empty() && base.line(kTextBaseLines + 1).empty(), "lines outside 1..2000 are empty");
    for (int k = 0; k < 4; ++k) CheckKind(base, static_cast<EntryKind>(k));
    for (int h : {1, 2, static_cast<int>(lines.size()), kLastHeaderLine, kTextBaseLines})
        for (int skip : {0, 1, 2}) {
            try {
                (void)base.EntryText(h, skip);
            } catch (const Error&) {
            }
        }
    return 0;
}
