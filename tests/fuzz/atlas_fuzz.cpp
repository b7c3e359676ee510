// libFuzzer entry for the atlas: arbitrary bytes are read as a region file; the
// country and city lists are built, places are chosen from them, and a city
// whose fields are taken from the columns of the input's last line is built and
// added after the first country (taking the country's zone number), then
// chosen back; the bytes are also read as the search's names file. Not part of the test suite;
// built and run by tests/fuzz/run.sh (seed: blocks of lines of data/*.wdt).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "astro/houses.h"
#include "people/atlas.h"
#include "people/city_search.h"
#include "base/errors.h"
#include "tests/fuzz/fuzz_support.h"
#include "people/person_chart.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

constexpr int kDates[][3] = {{1, 1, 1900}, {9, 5, 1945}, {1, 4, 1981}, {31, 12, 1999}, {15, 6, 2020}};

void CheckSorted(const std::vector<std::string>& entries) {
    for (std::size_t i = 1; i < entries.size(); ++i)
        Check(!AtlasEntryLess(entries[i], entries[i - 1]), "list entries sorted");
}

void CheckChoice(const PlaceChoice& c) {
    Check(c.Place.size() <= kPlaceWidth, "place fits its field");
    Check(c.CoordText.size() == 19, "coordinate text of 19 characters");
    Check(c.ZoneText == ZoneText(c.Zone) && c.ZoneText.size() >= 5, "zone text");
    PlaceCoords p;
    try {
        p = ParseCoordText(c.CoordText);
    } catch (const Error&) {
        Fail("a chosen place's coordinates read back");
    }
    Check(std::fabs(p.latitude) < 90 && std::fabs(p.longitude) < 180, "coordinates within range");
}

std::string Column(std::string_view line, std::size_t from, std::size_t length) {
    return from < line.size() ? std::string(line.substr(from, length)) : std::string();
}

std::string Trim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    std::size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return s.substr(b);
}

// The add-city dialog's fields taken from a line in the city line's columns.
NewCity CityFromColumns(std::string_view line) {
    NewCity c;
    c.name = Trim(Column(line, 1, 30));
    std::string lat = Trim(Column(line, 31, 3)), lon = Trim(Column(line, 38, 4));
    c.south = !lat.empty() && lat[0] == '-';
    c.west = !lon.empty() && lon[0] == '-';
    c.latDeg = c.south ? lat.substr(1) : lat;
    c.lonDeg = c.west ? lon.substr(1) : lon;
    c.latMin = Trim(Column(line, 35, 2));
    c.lonMin = Trim(Column(line, 43, 2));
    return c;
}

void CheckAddedCity(std::string_view content, const std::vector<std::string>& lines,
                    const std::vector<std::string>& countries, const NewCity& city) {
    const bool acceptable = NewCityAcceptable(city);
    const std::string line = BuildCityLine(city);
    // Only an acceptable city is ever written (AddCityToRegion refuses the others).
    if (!acceptable) return;
    Check(line.size() == 45, "an acceptable city gives a line of 45 characters");
    Check(line.find_first_of("\r\n") == std::string::npos, "a city line holds no line end");
    std::string coord;
    try {
        coord = CoordText(line, "fuzz");
    } catch (const Error&) {
        Fail("an acceptable city's line reads back");
    }
    const PlaceCoords p = ParseCoordText(coord);
    const double lat = std::stoi(city.latDeg.substr(0, 2)) + std::stoi(city.latMin.substr(0, 2)) / 60.0;
    const double lon = std::stoi(city.lonDeg.substr(0, 3)) + std::stoi(city.lonMin.substr(0, 2)) / 60.0;
    Check(std::fabs(p.latitude - (city.south ? -lat : lat)) < 1e-9, "latitude of the added city");
    Check(std::fabs(p.longitude - (city.west ? -lon : lon)) < 1e-9, "longitude of the added city");
    if (countries.empty()) return;

    const std::string& country = countries.front();
    std::string added;
    try {
        added = InsertCityLine(content, country, line, "fuzz");
    } catch (const Error&) {
        Fail("a listed country takes a city");
    }
    const std::vector<std::string> after = SplitRegionLines(added);
    Check(after.size() == lines.size() + 1, "one line added");
    std::string key = country;
    key[0] = '*';
    std::size_t at = 0;
    while (at < lines.size() && !(!lines[at].empty() && lines[at][0] == '*' && EntryKey(lines[at]) == key)) ++at;
    // The added city takes the zone number of its country line, when that reads.
    std::string expected = line;
    try {
        if (at < lines.size() && ZoneNumberOf(lines[at], true, "fuzz") != 0)
            expected += lines[at].substr(kCountryZoneNumberCol, kZoneNumberLen);
    } catch (const Error&) {
    }
    Check(at < lines.size() && after[at + 1] == expected, "city line right after its country");
    for (std::size_t i = 0; i < lines.size(); ++i)
        Check(after[i < at + 1 ? i : i + 1] == lines[i], "other lines unchanged");
    const std::vector<std::string> cities = CityEntries(after, country);
    bool listed = false;
    for (const std::string& e : cities) listed = listed || e == EntryKey(line);
    Check(listed, "added city listed");
    try {
        const PlaceChoice c = ChoosePlace(after, country, EntryKey(line), 1, 1, 1990, "fuzz");
        CheckChoice(c);
        Check(c.CoordText == coord, "the added city is the one chosen");
    } catch (const Error&) {
        // Only the country's zone field may fail to read. (The message is not
        // looked at: a NUL byte of a name would cut it short.)
        bool zoneRead = true;
        try {
            (void)ReadZoneField(lines[at], ZoneFieldFor(JulianDayAt0h(1, 1, 1990)), "fuzz");
        } catch (const Error&) {
            zoneRead = false;
        }
        Check(!zoneRead, "added city chosen back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitRegionLines(content);
    for (const std::string& l : lines)
        Check(l.size() <= kAtlasLineWidth && l.find('\n') == std::string::npos, "lines cut to 80 characters");

    const std::vector<std::string> countries = CountryEntries(lines);
    CheckSorted(countries);
    int chosen = 0;
    for (std::size_t c = 0; c < countries.size() && c < 16; ++c) {
        const std::string& country = countries[c];
        Check(country.size() <= kAtlasKeyWidth && country[0] == ' ', "country entry");
        const std::vector<std::string> cities = CityEntries(lines, country);
        CheckSorted(cities);
        for (std::size_t k = 0; k < cities.size() && chosen < 64; ++k, ++chosen) {
            const int* d = kDates[chosen % 5];
            try {
                CheckChoice(ChoosePlace(lines, country, cities[k], d[0], d[1], d[2], "fuzz"));
            } catch (const Error& e) {
                Check(std::strlen(e.what()) > 0, "error has a message");
            }
            // With a birth time and no zone table: a line with a zone number is
            // refused, one without takes the zone field and "L".
            try {
                const BirthTime birth{d[0], d[1], d[2], true, 9, 7};
                const PlaceChoice c = ChoosePlace(lines, country, cities[k], birth, nullptr, "fuzz");
                CheckChoice(c);
                Check(c.ShiftFlag == kFieldZoneMark, "without a table only zone fields");
            } catch (const Error& e) {
                Check(std::strlen(e.what()) > 0, "error has a message");
            }
        }
    }
    for (const std::string& l : lines) {
        try {
            (void)CoordText(l, "fuzz");
        } catch (const Error&) {
        }
        if (!l.empty() && l[0] == '*')
            for (int f = 1; f <= 11; ++f) {
                try {
                    (void)ReadZoneField(l, f, "fuzz");
                } catch (const Error&) {
                }
            }
    }
    CheckAddedCity(content, lines, countries, CityFromColumns(lines.empty() ? std::string() : lines.back()));

    // The same bytes as the search's names file (cities.alt) beside the lines as
    // a region file: whatever they hold, the index is built and found in.
    std::vector<std::string> names;
    for (std::size_t from = 0; from <= content.size();) {
        std::size_t end = content.find('\n', from);
        if (end == std::string_view::npos) end = content.size();
        names.emplace_back(content.substr(from, end - from));
        from = end + 1;
    }
    const CitySearch search = CitySearch::FromLines({lines, lines}, names);
    for (const char* prefix : {"a", "s", "\xEC", "mo"})
        for (const CityHit& h : search.Find(prefix, 50)) Check(h.population >= 0, "population read as a number");
    return 0;
}
