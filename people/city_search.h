#pragma once
// Finding a city by the beginning of its name across the seven region files, so
// that nobody has to know its region and country (or its zone group) first.
//
// The index is built once from the region files; a query folds case, takes "ё"
// as "е" and ignores the blank every entry starts with. A Latin query also finds
// Russian names through a plain transliteration ("moskva" finds "Москва"). The
// file "cities.alt" of the data directory adds the names people type in other
// languages ("Moscow", "München", "Kyiv") and former names ("Кировакан"), and
// each city's population: a name found whole comes first, then the biggest
// cities.
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// One city as the chooser's lists show it (cp1251 texts).
struct CityHit {
    int region = 0;           // index into kAtlasRegions
    std::string country;      // the country list's entry (30 characters, blank first)
    std::string city;         // the city list's entry (30 characters)
    int latMinutes = 0;       // signed: negative south
    int lonMinutes = 0;       // signed: negative west
    long population = 0;      // from cities.alt; 0 when unknown (a city added later)
};

// The other names of the cities, as "cities.alt" holds them (cp1251, CR LF):
//   PELORIN CITIES 1
//   REGION <tab> COUNTRY <tab> CITY <tab> POPULATION [<tab> NAME ...]
//   END
// REGION is the region file's name without ".wdt", COUNTRY and CITY the list
// entries without their blanks. A line that does not read is passed over.
inline constexpr const char* kCityNamesFile = "cities.alt";

// A query typed in UTF-8 as Windows-1251: Latin letters with accents that the
// code page lacks lose them ("München" is "Munchen", as the names file writes
// it). False when a character is left that the code page lacks.
bool SearchQueryOf(std::string_view utf8, std::string& cp1251);

// The lower-case key of a cp1251 text: leading blanks dropped, Latin and
// Cyrillic letters folded to lower case, "ё" as "е", trailing blanks dropped.
std::string SearchKey(std::string_view cp1251);

// The Latin transliteration of a folded key (Cyrillic letters only; anything
// else stays as it is).
std::string Transliterate(std::string_view key);

class CitySearch {
public:
    // Indexes every city line of the region files in `dataDir`. A region file
    // that is missing is left out; one that cannot be read throws Error naming it.
    static CitySearch Build(const std::string& dataDir);

    // Indexes the lines of the regions given (one vector of lines per region of
    // kAtlasRegions, fewer allowed).
    static CitySearch FromLines(const std::vector<std::vector<std::string>>& regions,
                                const std::vector<std::string>& names = {});

    // Cities whose name, or one of their other names, begins with `prefix`
    // (cp1251): those with a name equal to the whole query first, then by
    // population, biggest first, then in the order of their names, region and
    // country; at most `limit` of them. An empty prefix (after folding) finds
    // nothing.
    std::vector<CityHit> Find(std::string_view prefix, std::size_t limit = 1000) const;

    // The `count` cities nearest to a place (signed arc minutes), nearest first.
    std::vector<CityHit> Nearest(int latMinutes, int lonMinutes, std::size_t count) const;

    std::size_t size() const { return cities_.size(); }

private:
    struct Key {
        std::string text;
        std::size_t city;
    };
    void AddKeys(const std::string& name, std::size_t city);
    std::vector<CityHit> cities_;
    std::vector<Key> keys_;  // folded names and their transliterations, sorted
};

// The great-circle distance in kilometres between two places given in signed
// arc minutes (a sphere of 6371 km).
double DistanceKm(int latMinutes1, int lonMinutes1, int latMinutes2, int lonMinutes2);

// The name of a region for showing (UTF-8), such as "Северная Америка".
std::string RegionCaption(int region);

// The region's file name without its separator and ".wdt", such as "sng": the
// name `pelorin-cli place --region` takes.
std::string RegionName(int region);

}  // namespace pelorin
