#include "people/city_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <map>
#include <tuple>

#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/atlas.h"

namespace pelorin {
namespace {

unsigned char FoldByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0xA8: case 0xB8: return 0xE5;  // Ё ё as е
        case 0xB2: return 0xB3;             // І
        case 0xAF: return 0xBF;             // Ї
        case 0xAA: return 0xBA;             // Є
        case 0xA5: return 0xB4;             // Ґ
        case 0xA1: return 0xA2;             // Ў
        default: return c;
    }
}

const char* LatinOf(unsigned char c) {
    static const char* const kRussian[32] = {
        "a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p",
        "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "", "y", "", "e", "yu", "ya"};
    if (c >= 0xE0) return kRussian[c - 0xE0];
    switch (c) {
        case 0xB3: return "i";
        case 0xBF: return "yi";
        case 0xBA: return "ye";
        case 0xB4: return "g";
        case 0xA2: return "u";
        default: return nullptr;
    }
}

// Signed degrees with blanks around them; false when they do not read.
bool ReadSigned(std::string_view field, int& value, bool& negative) {
    std::size_t b = field.find_first_not_of(' ');
    if (b == std::string_view::npos) return false;
    std::size_t e = field.find_last_not_of(' ') + 1;
    std::string_view t = field.substr(b, e - b);
    negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (t.empty() || t.size() > 3) return false;
    value = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool ReadCoordinates(std::string_view line, int& lat, int& lon) {
    if (line.size() < 45) return false;
    int latDeg = 0, latMin = 0, lonDeg = 0, lonMin = 0;
    bool latNeg = false, lonNeg = false, ignored = false;
    if (!ReadSigned(line.substr(31, 3), latDeg, latNeg) || !ReadSigned(line.substr(35, 2), latMin, ignored) ||
        !ReadSigned(line.substr(38, 4), lonDeg, lonNeg) || !ReadSigned(line.substr(43, 2), lonMin, ignored))
        return false;
    if (latDeg > 90 || lonDeg > 180 || latMin > 59 || lonMin > 59) return false;
    lat = (latDeg * 60 + latMin) * (latNeg ? -1 : 1);
    lon = (lonDeg * 60 + lonMin) * (lonNeg ? -1 : 1);
    return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string SearchKey(std::string_view text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = text.find_last_not_of(' ') + 1;
    std::string key;
    key.reserve(e - b);
    for (char c : text.substr(b, e - b)) key.push_back(static_cast<char>(FoldByte(static_cast<unsigned char>(c))));
    return key;
}

std::string Transliterate(std::string_view key) {
    std::string out;
    out.reserve(key.size() * 2);
    for (char c : key) {
        const char* latin = LatinOf(static_cast<unsigned char>(c));
        if (latin != nullptr) out += latin;
        else out.push_back(c);
    }
    return out;
}

namespace {

std::string Trimmed(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') + 1 - b));
}

std::vector<std::string> SplitTabs(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', from);
        fields.emplace_back(line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from));
        if (tab == std::string_view::npos) return fields;
        from = tab + 1;
    }
}

struct OtherNames {
    long population = 0;
    std::vector<std::string> names;
};

// The lines of cities.alt by region, country and city.
std::map<std::string, OtherNames> ReadOtherNames(const std::vector<std::string>& lines) {
    std::map<std::string, OtherNames> out;
    for (const std::string& line : lines) {
        std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 4) continue;
        const std::string& pop = f[3];
        if (pop.empty() || pop.size() > 10 || pop.find_first_not_of("0123456789") != std::string::npos) continue;
        OtherNames n;
        n.population = std::stol(pop);
        n.names.assign(std::make_move_iterator(f.begin() + 4), std::make_move_iterator(f.end()));
        out[f[0] + '\t' + Trimmed(f[1]) + '\t' + Trimmed(f[2])] = std::move(n);
    }
    return out;
}

}  // namespace

bool SearchQueryOf(std::string_view utf8, std::string& cp1251) {
    // Latin-1 Supplement and Latin Extended-A letters without their accents.
    static constexpr std::string_view kLatin1 =
        "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";  // U+00C0..U+00FF
    static constexpr std::string_view kExtendedA =
        "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTt"
        "UuUuUuUuUuUuWwYyYZzZzZzs";  // U+0100..U+017F
    std::string folded;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        char plain = 0;
        if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) plain = kLatin1[c - 0xC0];
        else if (c >= 0x100 && c <= 0x17F) plain = kExtendedA[c - 0x100];
        if (c == 0xDF) folded += "ss";
        else if (c == 0xC6 || c == 0xE6) folded += c == 0xC6 ? "AE" : "ae";
        else if (plain != 0) folded += plain;
        else AppendUtf8(folded, c);
    }
    std::size_t bad = std::string::npos;
    cp1251 = Utf8ToCp1251(folded, &bad);
    return bad == std::string::npos;
}

void CitySearch::AddKeys(const std::string& name, std::size_t city) {
    const std::string key = SearchKey(name);
    if (key.empty()) return;
    keys_.push_back({key, city});
    std::string latin = Transliterate(key);
    if (latin != key) keys_.push_back({std::move(latin), city});
}

CitySearch CitySearch::FromLines(const std::vector<std::vector<std::string>>& regions,
                                 const std::vector<std::string>& names) {
    const std::map<std::string, OtherNames> others = ReadOtherNames(names);
    CitySearch s;
    for (std::size_t r = 0; r < regions.size() && r < kAtlasRegions.size(); ++r) {
        std::string country;
        for (const std::string& line : regions[r]) {
            if (line.empty()) continue;
            if (line[0] == '*') {
                country = EntryKey(line);
                country[0] = ' ';
                continue;
            }
            if (country.empty() || line.find_first_not_of(' ') == std::string::npos) continue;
            CityHit hit;
            if (!ReadCoordinates(line, hit.latMinutes, hit.lonMinutes)) continue;
            hit.region = static_cast<int>(r);
            hit.country = country;
            hit.city = EntryKey(line);
            if (SearchKey(hit.city).empty()) continue;
            const std::size_t index = s.cities_.size();
            s.AddKeys(hit.city, index);
            const auto other = others.find(RegionName(static_cast<int>(r)) + '\t' + Trimmed(country) + '\t' +
                                           Trimmed(hit.city));
            if (other != others.end()) {
                hit.population = other->second.population;
                for (const std::string& name : other->second.names) s.AddKeys(name, index);
            }
            s.cities_.push_back(std::move(hit));
        }
    }
    std::sort(s.keys_.begin(), s.keys_.end(), [](const Key& a, const Key& b) {
        return std::tie(a.text, a.city) < std::tie(b.text, b.city);
    });
    return s;
}

CitySearch CitySearch::Build(const std::string& dataDir) {
    std::vector<std::vector<std::string>> regions;
    for (const AtlasRegion& r : kAtlasRegions) {
        const std::string file = JoinPath(dataDir, r.file);
        regions.push_back(FileReadable(file) ? ReadRegionLines(file) : std::vector<std::string>{});
    }
    // The other names are a help to the search only: without the file (a data
    // directory from before it) the atlas's own names are found as before.
    const std::string namesFile = JoinPath(dataDir, kCityNamesFile);
    std::vector<std::string> names;
    if (FileReadable(namesFile)) {
        const std::string text = ReadWholeFile(namesFile);
        std::size_t from = 0;
        while (from < text.size()) {
            std::size_t end = text.find('\n', from);
            if (end == std::string::npos) end = text.size();
            std::size_t stop = end;
            if (stop > from && text[stop - 1] == '\r') --stop;
            names.push_back(text.substr(from, stop - from));
            from = end + 1;
        }
    }
    return FromLines(regions, names);
}

std::vector<CityHit> CitySearch::Find(std::string_view prefix, std::size_t limit) const {
    const std::string key = SearchKey(prefix);
    if (key.empty()) return {};
    std::vector<std::size_t> found;
    auto it = std::lower_bound(keys_.begin(), keys_.end(), key,
                               [](const Key& k, const std::string& q) { return k.text < q; });
    std::vector<std::size_t> exact;
    for (; it != keys_.end() && StartsWith(it->text, key); ++it) {
        found.push_back(it->city);
        if (it->text == key) exact.push_back(it->city);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::sort(exact.begin(), exact.end());
    // A name equal to the whole query first ("paris" is Париж before Парисвилл),
    // then the biggest cities ("санкт": Санкт-Петербург before the small towns),
    // then the order of the folded names, region and country: namesakes stand
    // together.
    struct Order {
        bool notExact;
        long negPopulation;
        std::string key;
        std::size_t city;
    };
    std::vector<Order> order;
    order.reserve(found.size());
    for (std::size_t i : found)
        order.push_back({!std::binary_search(exact.begin(), exact.end(), i), -cities_[i].population,
                         SearchKey(cities_[i].city), i});
    std::sort(order.begin(), order.end(), [this](const Order& a, const Order& b) {
        const CityHit& x = cities_[a.city];
        const CityHit& y = cities_[b.city];
        return std::tie(a.notExact, a.negPopulation, a.key, x.region, x.country, a.city) <
               std::tie(b.notExact, b.negPopulation, b.key, y.region, y.country, b.city);
    });
    std::vector<CityHit> hits;
    for (std::size_t k = 0; k < order.size() && hits.size() < limit; ++k) hits.push_back(cities_[order[k].city]);
    return hits;
}

std::vector<CityHit> CitySearch::Nearest(int latMinutes, int lonMinutes, std::size_t count) const {
    std::vector<std::pair<double, std::size_t>> by;
    by.reserve(cities_.size());
    for (std::size_t i = 0; i < cities_.size(); ++i)
        by.emplace_back(DistanceKm(latMinutes, lonMinutes, cities_[i].latMinutes, cities_[i].lonMinutes), i);
    count = std::min(count, by.size());
    std::partial_sort(by.begin(), by.begin() + static_cast<std::ptrdiff_t>(count), by.end());
    std::vector<CityHit> hits;
    for (std::size_t k = 0; k < count; ++k) hits.push_back(cities_[by[k].second]);
    return hits;
}

double DistanceKm(int latMinutes1, int lonMinutes1, int latMinutes2, int lonMinutes2) {
    constexpr double kRadian = 3.14159265358979323846 / (180 * 60);
    const double f1 = latMinutes1 * kRadian, f2 = latMinutes2 * kRadian;
    const double df = f2 - f1, dl = (lonMinutes2 - lonMinutes1) * kRadian;
    const double a = std::sin(df / 2) * std::sin(df / 2) + std::cos(f1) * std::cos(f2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2 * 6371.0 * std::asin(std::min(1.0, std::sqrt(a)));
}

std::string RegionCaption(int region) {
    static const char* const kNames[] = {"СНГ", "Европа", "Северная Америка", "Южная Америка",
                                         "Африка", "Азия", "Австралия"};
    static_assert(std::size(kNames) == kAtlasRegions.size());
    if (region < 0 || region >= static_cast<int>(kAtlasRegions.size())) return {};
    return kNames[region];
}

std::string RegionName(int region) {
    if (region < 0 || region >= static_cast<int>(kAtlasRegions.size())) return {};
    std::string_view file = kAtlasRegions[region].file + 1;
    return std::string(file.substr(0, file.size() - 4));
}

}  // namespace pelorin
