#include "people/atlas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/dir_lock.h"
#include "base/file_io.h"

namespace pelorin {
namespace {

// Julian Days at which the zone fields 2..10 begin.
constexpr std::array<double, 9> kZoneRangeStarts{2426143.5, 2426381.5, 2435808.5, 2444695.5, 2445060.5,
                                                 2447611.5, 2447975.5, 2448164.5, 2448640.5};

constexpr std::size_t kLatDegCol = 31, kLatDegLen = 3;  // columns 32..34
constexpr std::size_t kLatMinCol = 35;                  // columns 36..37
constexpr std::size_t kLonDegCol = 38, kLonDegLen = 4;  // columns 39..42
constexpr std::size_t kLonMinCol = 43;                  // columns 44..45
constexpr std::size_t kCityLineLen = 45;
constexpr std::size_t kZoneCol = 32, kZoneLen = 4;      // field 1 in columns 33..36

std::string Shown(std::string_view cp1251) { return "«" + Cp1251ToUtf8(cp1251) + "»"; }

std::string TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct Degrees {
    bool negative = false;  // a minus was written, also before 0
    int value = 0;          // absolute
};

// Degrees as a signed integer with blanks around it; nothing when they do not read.
std::optional<Degrees> ParseDegrees(std::string_view field) {
    std::string t = TrimBlanks(field);
    Degrees d;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        d.negative = t[i] == '-';
        ++i;
    }
    std::string_view digits = std::string_view(t).substr(i);
    if (!AllDigits(digits) || digits.size() > 4) return std::nullopt;
    d.value = std::stoi(std::string(digits));
    return d;
}

int CollationWeight(unsigned char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 0x20);
    else if (c >= 0xE0) c = static_cast<unsigned char>(c - 0x20);
    else if (c == 0xB8) c = 0xA8;  // ё
    if (c == 0xA8) return 2 * 0xC5 + 1;  // Ё right after Е
    return 2 * c;
}

std::string RightAligned(std::string_view s, std::size_t width) {
    if (s.size() >= width) return std::string(s);
    return std::string(width - s.size(), ' ') + std::string(s);
}

// Index of the country line whose key equals `countryEntry` with its first
// character set to "*", or npos.
std::size_t FindCountry(const std::vector<std::string>& lines, std::string_view countryEntry) {
    std::string key(countryEntry.substr(0, kAtlasKeyWidth));
    if (key.empty()) return std::string::npos;
    key[0] = '*';
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty() && lines[i][0] == '*' && EntryKey(lines[i]) == key) return i;
    return std::string::npos;
}

bool BlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

std::optional<std::string> RegionFileName(const std::string& dataDir, std::string_view region) {
    std::string name(region);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wdt") == 0) name.resize(name.size() - 4);
    for (const AtlasRegion& r : kAtlasRegions) {
        std::string_view file = r.file + 1;  // without the leading separator
        if (file.substr(0, file.size() - 4) == name) return JoinPath(dataDir, r.file);
    }
    return std::nullopt;
}

std::vector<std::string> SplitRegionLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find('\n', pos);
        std::string_view line = content.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line.substr(0, kAtlasLineWidth));
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return lines;
}

std::vector<std::string> ReadRegionLines(const std::string& fileName) {
    return SplitRegionLines(ReadWholeFile(fileName));
}

std::string EntryKey(std::string_view line) { return std::string(line.substr(0, kAtlasKeyWidth)); }

bool AtlasEntryLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int wa = CollationWeight(static_cast<unsigned char>(a[i]));
        int wb = CollationWeight(static_cast<unsigned char>(b[i]));
        if (wa != wb) return wa < wb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::string> CountryEntries(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] != '*') continue;
        std::string e = EntryKey(line);
        e[0] = ' ';
        entries.push_back(std::move(e));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return AtlasEntryLess(a, b);
    });
    return entries;
}

std::vector<std::string> CityEntries(const std::vector<std::string>& lines, std::string_view countryEntry) {
    std::vector<std::string> entries;
    std::size_t i = FindCountry(lines, countryEntry);
    if (i == std::string::npos) return entries;
    for (++i; i < lines.size() && (lines[i].empty() || lines[i][0] != '*'); ++i)
        if (!BlankLine(lines[i])) entries.push_back(EntryKey(lines[i]));
    std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return AtlasEntryLess(a, b);
    });
    return entries;
}

double JulianDayAt0h(int day, int month, int year) {
    int y = year, m = month;
    if (month == 1 || month == 2) {
        y = year - 1;
        m = month + 12;
    }
    const double a = std::trunc(y / 100.0);
    const double b = 2 - a + std::trunc(a / 4.0);
    return std::trunc(365.25 * y) + std::trunc(30.6001 * (m + 1)) + day + b + 1720994.5;
}

int ZoneFieldFor(double jd) {
    int field = 1;
    for (double start : kZoneRangeStarts)
        if (jd >= start) ++field;
    return field;
}

double ReadZoneField(std::string_view countryLine, int field, const std::string& fileName) {
    const std::size_t col = kZoneCol + kZoneLen * static_cast<std::size_t>(field - 1);
    std::string_view text = col < countryLine.size() ? countryLine.substr(col, kZoneLen) : std::string_view{};
    std::size_t b = text.find_first_not_of(' ');
    std::string_view number = b == std::string_view::npos ? std::string_view{} : text.substr(b);
    // An optional sign, digits, optionally a point and digits, up to the field's end.
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    std::size_t digitsFrom = i;
    while (i < number.size() && number[i] >= '0' && number[i] <= '9') ++i;
    bool ok = i > digitsFrom;
    if (ok && i < number.size() && number[i] == '.') {
        std::size_t frac = ++i;
        while (i < number.size() && number[i] >= '0' && number[i] <= '9') ++i;
        ok = i > frac;
    }
    ok = ok && i == number.size();
    double value = 0;
    if (ok) {
        std::string_view parse = number[0] == '+' ? number.substr(1) : number;
        auto res = std::from_chars(parse.data(), parse.data() + parse.size(), value);
        ok = res.ec == std::errc{} && res.ptr == parse.data() + parse.size();
    }
    if (!ok)
        throw Error("В файле атласа «" + fileName + "» у страны " + Shown(TrimBlanks(countryLine.substr(1, 29))) +
                    " поле часового пояса " + std::to_string(field) + " не содержит числа: «" +
                    Cp1251ToUtf8(text) + "»");
    return value;
}

std::string ZoneText(double zone) {
    const double tenths = std::round(std::fabs(zone) * 10.0);  // halves away from zero
    const bool negative = zone < 0 && tenths > 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%.0f.%.0f", negative ? "-" : "", std::floor(tenths / 10.0),
                  std::fmod(tenths, 10.0));
    return RightAligned(buf, 5);
}

std::string CoordText(std::string_view cityLine, const std::string& fileName) {
    const std::string where = "В файле атласа «" + fileName + "» у города " +
                              Shown(TrimBlanks(cityLine.size() > 1 ? cityLine.substr(1, 30) : std::string_view{}));
    if (cityLine.size() < kCityLineLen) throw Error(where + " нет координат");
    auto lat = ParseDegrees(cityLine.substr(kLatDegCol, kLatDegLen));
    auto lon = ParseDegrees(cityLine.substr(kLonDegCol, kLonDegLen));
    if (!lat || !lon) throw Error(where + " градусы широты или долготы не читаются как целое число");
    if (lat->value >= 90 || lon->value >= 180)
        throw Error(where + " широта не меньше 90° или долгота не меньше 180°");
    // The minutes are copied as they stand, so they must read as the houses read
    // the coordinate text back: blanks, an optional sign, digits and nothing after.
    for (std::size_t col : {kLonMinCol, kLatMinCol}) {
        std::string_view m = cityLine.substr(col, 2);
        m.remove_prefix(std::min(m.find_first_not_of(' '), m.size()));
        if (!m.empty() && (m[0] == '-' || m[0] == '+')) m.remove_prefix(1);
        if (!AllDigits(m)) throw Error(where + " минуты широты или долготы не читаются как число");
    }
    static const std::string kDegree = Utf8ToCp1251("°");
    static const std::string kMinute = Utf8ToCp1251("’");
    const std::string lonMark = Utf8ToCp1251(lon->negative ? "ЗД" : "ВД");
    const std::string latMark = Utf8ToCp1251(lat->negative ? "ЮШ" : "СШ");
    std::string text;
    text += RightAligned(std::to_string(lon->value), 3) + kDegree;
    text += std::string(cityLine.substr(kLonMinCol, 2)) + kMinute + lonMark + "  ";
    text += RightAligned(std::to_string(lat->value), 2) + kDegree;
    text += std::string(cityLine.substr(kLatMinCol, 2)) + kMinute + latMark;
    return text;
}

int ZoneNumberOf(std::string_view line, bool country, const std::string& fileName) {
    const std::size_t col = country ? kCountryZoneNumberCol : kCityZoneNumberCol;
    std::string_view text = col < line.size() ? line.substr(col, kZoneNumberLen) : std::string_view{};
    const std::string digits = TrimBlanks(text);
    if (digits.empty()) return 0;
    // Right-aligned: blanks, then digits to the end of the four columns.
    const bool rightAligned = text.size() == kZoneNumberLen && text.substr(kZoneNumberLen - digits.size()) == digits;
    if (!rightAligned || !AllDigits(digits) || digits == std::string(digits.size(), '0'))
        throw Error("В файле атласа «" + fileName + "» у " + (country ? "страны " : "города ") +
                    Shown(TrimBlanks(line.substr(1, country ? 29 : 30))) + " номер часового пояса не читается: «" +
                    Cp1251ToUtf8(text) + "»");
    return std::stoi(digits);
}

namespace {

// Index of the city line of `cityEntry` within the block of the country line
// `country`, or npos.
std::size_t FindCity(const std::vector<std::string>& lines, std::size_t country, std::string_view cityEntry) {
    const std::string cityKey = EntryKey(cityEntry);
    for (std::size_t i = country + 1; i < lines.size() && (lines[i].empty() || lines[i][0] != '*'); ++i)
        if (!BlankLine(lines[i]) && EntryKey(lines[i]) == cityKey) return i;
    return std::string::npos;
}

// The country line and the city line of a choice.
std::pair<std::size_t, std::size_t> FindPlace(const std::vector<std::string>& lines, std::string_view countryEntry,
                                              std::string_view cityEntry, const std::string& fileName) {
    const std::size_t country = FindCountry(lines, countryEntry);
    if (country == std::string::npos)
        throw Error("В файле атласа «" + fileName + "» нет страны " + Shown(TrimBlanks(countryEntry)));
    const std::size_t city = FindCity(lines, country, cityEntry);
    if (city == std::string::npos)
        throw Error("В файле атласа «" + fileName + "» у страны " + Shown(TrimBlanks(countryEntry)) +
                    " нет города " + Shown(TrimBlanks(cityEntry)));
    return {country, city};
}

// True when a country line has a zone number that reads: only then does an added
// city take it.
bool CountryZoneReads(const std::string& line) {
    try {
        return ZoneNumberOf(line, true, {}) != 0;
    } catch (const Error&) {
        return false;
    }
}

PlaceChoice PlaceOfCity(const std::string& cityLine, const std::string& fileName) {
    PlaceChoice choice;
    choice.Place = cityLine.substr(1, std::min(kPlaceWidth, cityLine.size() - 1));
    choice.CoordText = CoordText(cityLine, fileName);
    return choice;
}

}  // namespace

PlaceChoice ChoosePlace(const std::vector<std::string>& lines, std::string_view countryEntry,
                        std::string_view cityEntry, int day, int month, int year, const std::string& fileName) {
    const auto [country, city] = FindPlace(lines, countryEntry, cityEntry, fileName);
    PlaceChoice choice = PlaceOfCity(lines[city], fileName);
    choice.Zone = ReadZoneField(lines[country], ZoneFieldFor(JulianDayAt0h(day, month, year)), fileName);
    choice.ZoneText = ZoneText(choice.Zone);
    return choice;
}

PlaceChoice ChoosePlace(const std::vector<std::string>& lines, std::string_view countryEntry,
                        std::string_view cityEntry, const BirthTime& birth, const ZoneTable* zones,
                        const std::string& fileName) {
    const auto [country, city] = FindPlace(lines, countryEntry, cityEntry, fileName);
    int number = ZoneNumberOf(lines[city], false, fileName);
    if (number == 0) number = ZoneNumberOf(lines[country], true, fileName);
    if (number == 0) return ChoosePlace(lines, countryEntry, cityEntry, birth.day, birth.month, birth.year, fileName);

    const TimeZone* zone = zones ? zones->zone(number) : nullptr;
    if (zone == nullptr)
        throw Error(zones ? "В файле атласа «" + fileName + "» у города " + Shown(TrimBlanks(cityEntry)) +
                                " часовой пояс " + std::to_string(number) + ", которого нет в таблице поясов"
                          : "Нет таблицы часовых поясов (zones.tzt) к файлу атласа «" + fileName + "»");
    PlaceChoice choice = PlaceOfCity(lines[city], fileName);
    const int hour = birth.known ? birth.hour : 12, minute = birth.known ? birth.minute : 0;
    const std::int64_t local = LocalSeconds(birth.day, birth.month, birth.year, hour, minute);
    const LocalOffset at = OffsetAtLocalTime(*zone, local);
    choice.BeforeFirstChange = !zone->changes.empty() && local - zone->firstOffset < zone->changes.front().instant;
    choice.Zone = at.offset / 3600.0;
    choice.ZoneText = ZoneText(choice.Zone);
    choice.ShiftFlag = kExactZoneMark;
    choice.Clock = at.kind;
    return choice;
}

// ---- adding a city

bool FieldComplete(std::string_view text) { return text.size() >= 2; }

bool NewCityAcceptable(const NewCity& city) {
    if (!FieldComplete(city.name) || !FieldComplete(city.lonDeg) || !FieldComplete(city.lonMin) ||
        !FieldComplete(city.latDeg) || !FieldComplete(city.latMin))
        return false;
    const std::string_view lonDeg = std::string_view(city.lonDeg).substr(0, 3);
    const std::string_view lonMin = std::string_view(city.lonMin).substr(0, 2);
    const std::string_view latDeg = std::string_view(city.latDeg).substr(0, 2);
    const std::string_view latMin = std::string_view(city.latMin).substr(0, 2);
    for (std::string_view f : {lonDeg, lonMin, latDeg, latMin})
        if (!AllDigits(f)) return false;
    auto value = [](std::string_view f) { return std::stoi(std::string(f)); };
    return value(lonDeg) < 180 && value(latDeg) < 90 && value(lonMin) < 60 && value(latMin) < 60;
}

std::string BuildCityLine(const NewCity& city) {
    std::string name = city.name.substr(0, 30);
    // A line break or other control character in the name would break the file apart.
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    std::string line = " " + name;
    line.resize(31, ' ');
    line += RightAligned((city.south ? "-" : "") + city.latDeg.substr(0, 2), 3);
    line += RightAligned(city.latMin.substr(0, 2), 3);
    line += RightAligned((city.west ? "-" : "") + city.lonDeg.substr(0, 3), 5);
    line += RightAligned(city.lonMin.substr(0, 2), 3);
    return line;
}

std::string InsertCityLine(std::string_view content, std::string_view countryEntry, std::string_view cityLine,
                           const std::string& fileName) {
    const std::vector<std::string> lines = SplitRegionLines(content);
    const std::size_t country = FindCountry(lines, countryEntry);
    if (country == std::string::npos)
        throw Error("В файле атласа «" + fileName + "» нет страны " + Shown(TrimBlanks(countryEntry)) +
                    "; город не добавлен");
    std::string out;
    out.reserve(content.size() + cityLine.size() + 2 * lines.size() + 2);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        out += "\r\n";
        if (i == country) {
            std::string line(cityLine.substr(0, kAtlasLineWidth));
            if (line.size() == kCityLineLen && CountryZoneReads(lines[i]))
                line += lines[i].substr(kCountryZoneNumberCol, kZoneNumberLen);
            out += line;
            out += "\r\n";
        }
    }
    return out;
}

bool AddCityToRegion(const std::string& fileName, std::string_view countryEntry, const NewCity& city) {
    if (!NewCityAcceptable(city)) return false;
    // Read again under the lock: another copy may have added a city meanwhile.
    const DirLock lock(DirectoryOf(fileName));
    const std::string content = ReadWholeFile(fileName);
    WriteFileAtomic(fileName, InsertCityLine(content, countryEntry, BuildCityLine(city), fileName));
    return true;
}

}  // namespace pelorin
