#include "people/time_zones.h"

#include <algorithm>
#include <charconv>

#include "base/errors.h"
#include "base/file_io.h"

namespace pelorin {
namespace {

constexpr std::string_view kMagic = "PELORIN ZONES 1";
constexpr std::size_t kMaxNameLength = 64;

class Reader {
public:
    Reader(std::string_view content, const std::string& fileName) : content_(content), fileName_(fileName) {}

    bool atEnd() const { return pos_ >= content_.size(); }

    // The next line without its CR LF or LF.
    std::string_view next() {
        if (atEnd()) fail("файл кончается раньше времени");
        const std::size_t end = content_.find('\n', pos_);
        std::string_view line = content_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
        pos_ = end == std::string_view::npos ? content_.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNo_;
        return line;
    }

    // The line split at single blanks into exactly `n` non-empty fields.
    std::vector<std::string_view> fields(std::string_view line, std::size_t n) {
        std::vector<std::string_view> out;
        std::size_t from = 0;
        while (out.size() <= n) {
            const std::size_t blank = line.find(' ', from);
            out.push_back(line.substr(from, blank == std::string_view::npos ? std::string_view::npos : blank - from));
            if (out.back().empty()) fail("пустое поле или лишний пробел");
            if (blank == std::string_view::npos) break;
            from = blank + 1;
        }
        if (out.size() != n) fail("ожидается полей: " + std::to_string(n));
        return out;
    }

    // An integer: an optional minus and digits, nothing else, within [lo, hi].
    std::int64_t integer(std::string_view text, std::int64_t lo, std::int64_t hi, const char* what) {
        std::int64_t v = 0;
        const bool plain = !text.empty() && text[0] != '+';
        auto res = std::from_chars(text.data(), text.data() + text.size(), v);
        if (!plain || res.ec != std::errc{} || res.ptr != text.data() + text.size())
            fail(std::string(what) + " не читается как целое число");
        if (v < lo || v > hi) fail(std::string(what) + " вне допустимых пределов");
        return v;
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw Error("Таблица часовых поясов «" + fileName_ + "», строка " + std::to_string(lineNo_) + ": " + what);
    }

private:
    std::string_view content_;
    const std::string& fileName_;
    std::size_t pos_ = 0;
    std::size_t lineNo_ = 0;
};

bool NameCharacter(char c) { return c > ' ' && c <= '~'; }

std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    // Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

ZoneTable ZoneTable::Parse(std::string_view content, const std::string& fileName) {
    Reader in(content, fileName);
    if (in.next() != kMagic) in.fail("это не таблица часовых поясов программы");
    (void)in.next();  // the tzdata release and the span, for people
    const auto count = in.integer(in.next(), 1, kMaxZones, "число поясов");
    ZoneTable table;
    table.zones_.reserve(static_cast<std::size_t>(count));
    for (std::int64_t k = 1; k <= count; ++k) {
        const auto head = in.fields(in.next(), 5);
        if (head[0] != "Z") in.fail("ожидается строка пояса «Z»");
        if (in.integer(head[1], k, k, "номер пояса") != k) in.fail("номер пояса не по порядку");
        TimeZone zone;
        if (head[2].size() > kMaxNameLength) in.fail("слишком длинное имя пояса");
        for (char c : head[2])
            if (!NameCharacter(c)) in.fail("недопустимый знак в имени пояса");
        zone.name = std::string(head[2]);
        zone.firstOffset = static_cast<std::int32_t>(in.integer(head[3], -kMaxZoneOffset, kMaxZoneOffset, "смещение"));
        // Every change takes a line of at least four bytes, so a count the rest of
        // the file cannot hold is refused before anything is reserved.
        const auto changes = in.integer(head[4], 0, static_cast<std::int64_t>(content.size() / 4), "число смен");
        zone.changes.reserve(static_cast<std::size_t>(changes));
        for (std::int64_t i = 0; i < changes; ++i) {
            const auto f = in.fields(in.next(), 2);
            ZoneChange c;
            c.instant = in.integer(f[0], -kMaxZoneInstant, kMaxZoneInstant, "момент смены");
            c.offset = static_cast<std::int32_t>(in.integer(f[1], -kMaxZoneOffset, kMaxZoneOffset, "смещение"));
            if (!zone.changes.empty() && c.instant <= zone.changes.back().instant)
                in.fail("моменты смен не возрастают");
            zone.changes.push_back(c);
        }
        table.zones_.push_back(std::move(zone));
    }
    if (in.next() != "END") in.fail("ожидается «END»");
    while (!in.atEnd())
        if (!in.next().empty()) in.fail("лишние строки после «END»");
    return table;
}

ZoneTable ZoneTable::Load(const std::string& fileName) { return Parse(ReadWholeFile(fileName), fileName); }

const TimeZone* ZoneTable::zone(int number) const {
    if (number < 1 || static_cast<std::size_t>(number) > zones_.size()) return nullptr;
    return &zones_[static_cast<std::size_t>(number) - 1];
}

std::optional<ZoneTable> LoadZoneTableOf(const std::string& dataDir) {
    const std::string file = JoinPath(dataDir, kZoneTableFile);
    if (!FileReadable(file)) return std::nullopt;
    return ZoneTable::Load(file);
}

std::int64_t LocalSeconds(int day, int month, int year, int hour, int minute) {
    return DaysFromCivil(year, month, day) * 86400 + std::int64_t{hour} * 3600 + std::int64_t{minute} * 60;
}

LocalOffset OffsetAtLocalTime(const TimeZone& zone, std::int64_t local) {
    // Change i at UTC instant t from offset a to offset b: the old clocks show
    // local times below t + a, the new ones from t + b on. Times below
    // t + max(a, b) keep the old offset: that covers the skipped times (a < b)
    // and the first showing of the repeated ones (a > b).
    LocalOffset result{zone.firstOffset, LocalTimeKind::Plain};
    std::int32_t before = zone.firstOffset;
    for (const ZoneChange& c : zone.changes) {
        const std::int64_t oldEnd = c.instant + before, newStart = c.instant + c.offset;
        if (local < std::max(oldEnd, newStart)) {
            if (local >= std::min(oldEnd, newStart))
                result.kind = c.offset > before ? LocalTimeKind::Skipped : LocalTimeKind::Repeated;
            break;
        }
        result.offset = c.offset;
        before = c.offset;
    }
    return result;
}

std::int32_t OffsetAtInstant(const TimeZone& zone, std::int64_t utc) {
    std::int32_t offset = zone.firstOffset;
    for (const ZoneChange& c : zone.changes) {
        if (utc < c.instant) break;
        offset = c.offset;
    }
    return offset;
}

}  // namespace pelorin
