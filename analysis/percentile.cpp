#include "analysis/percentile.h"

#include <cstdio>
#include <sstream>

#include "base/errors.h"
#include "base/file_io.h"

namespace pelorin {

namespace {

bool ParseCount(const std::string& s, std::int64_t& out) {
    if (s.empty() || s.size() > 15) return false;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

}  // namespace

std::optional<PercentileTable> LoadPercentileTable(const std::string& dataDir) {
    const std::string file = JoinPath(dataDir, kPercentileFile);
    if (!FileReadable(file)) return std::nullopt;
    const std::string text = ReadWholeFile(file);
    PercentileTable t;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0, next = 0;
    const auto bad = [&](const std::string& what) {
        return Error("Таблица распределения «" + file + "» повреждена: строка " + std::to_string(lineNo) + ", " +
                     what + ".");
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line[0] == '#') {
            const std::string tag = "# texts ";
            if (line.compare(0, tag.size(), tag) == 0) t.textsFingerprint = line.substr(tag.size());
            continue;
        }
        std::istringstream fields(line);
        std::string p, u, k, extra;
        fields >> p >> u >> k;
        std::int64_t percent = 0;
        if (!ParseCount(p, percent) || !ParseCount(u, t.unknownTime[static_cast<std::size_t>(next)]) ||
            !ParseCount(k, t.knownTime[static_cast<std::size_t>(next)]) || (fields >> extra))
            throw bad("ожидались три целых числа");
        if (percent != next) throw bad("ожидался процент " + std::to_string(next));
        if (++next > 100) break;
    }
    if (next != 101) throw bad("нет строк для процентов от " + std::to_string(next) + " до 100");
    return t;
}

std::string PercentileTableText(const PercentileTable& table, const std::string& comment) {
    std::string out;
    std::istringstream lines(comment);
    std::string line;
    while (std::getline(lines, line)) out += "# " + line + "\n";
    out += "# texts " + table.textsFingerprint + "\n";
    out += "# percent  pairs(time unknown)  pairs(time known)\n";
    for (std::size_t p = 0; p <= 100; ++p)
        out += std::to_string(p) + " " + std::to_string(table.unknownTime[p]) + " " +
               std::to_string(table.knownTime[p]) + "\n";
    return out;
}

std::optional<int> PercentileOf(const PercentileTable& table, int percent, bool womanTimeKnown) {
    if (percent < 0 || percent > 100) return std::nullopt;
    const auto& counts = womanTimeKnown ? table.knownTime : table.unknownTime;
    std::int64_t below = 0, all = 0;
    for (int p = 0; p <= 100; ++p) {
        all += counts[static_cast<std::size_t>(p)];
        if (p < percent) below += counts[static_cast<std::size_t>(p)];
    }
    if (all == 0) return std::nullopt;
    return static_cast<int>(below * 100 / all);
}

std::string TextsFingerprint(const TextDatabases& texts) {
    // FNV-1a, 64 bits, over every line of both databases in order.
    std::uint64_t h = 14695981039346656037ull;
    for (const TextBase* base : {&texts.AspectTexts, &texts.HouseTexts}) {
        for (int n = 1; n <= base->lineCount(); ++n) {
            for (unsigned char c : base->line(n) + "\n") {
                h ^= c;
                h *= 1099511628211ull;
            }
        }
        h ^= 0xff;
        h *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

PairPercentile PercentileForPair(const std::string& dataDir, const TextDatabases& texts,
                                 std::optional<std::int32_t> percent, bool womanTimeKnown) {
    PairPercentile out;
    if (!percent) return out;
    try {
        const auto table = LoadPercentileTable(dataDir);
        if (!table) return out;
        if (table->textsFingerprint != TextsFingerprint(texts)) {
            out.note = "Место среди пар не показано: таблица «" + JoinPath(dataDir, kPercentileFile) +
                       "» составлена для других баз толкований (базы «data1.dat» и «data1_d.dat» изменены), "
                       "и с этими базами её доли неверны.";
            return out;
        }
        out.percentile = PercentileOf(*table, *percent, womanTimeKnown);
    } catch (const Error& e) {
        out.note = e.what();
    }
    return out;
}

}  // namespace pelorin
