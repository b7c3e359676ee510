#pragma once
// The atlas: seven region files of countries and cities, the entries of the
// place chooser's two lists, the place fields a chosen city gives a person, and
// adding a city to a region file.
//
// A region file is Windows-1251 text, one record per line, CR LF line ends; only
// the first 80 characters of a line are read. A country line is "*", the name in
// columns 2..30, two blanks and eleven zone fields of four characters (columns
// 33..76). A city line is a blank, the name padded to 30 characters (columns
// 2..31), latitude degrees in 32..34, minutes in 36..37, longitude degrees in
// 39..42 and minutes in 44..45; a minus in the degrees marks south or west, also
// when the degrees are 0 ("-0").
//
// After those fields the shipped atlas gives each line the number of its time
// zone in the zone table (people/time_zones.h), right-aligned in four columns:
// 46..49 of a city line, 77..80 of a country line (the zone of the block, which
// an added city takes). A line without one belongs to an atlas from before the
// table; its place then takes the zone fields of its country line.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "people/time_zones.h"

namespace pelorin {

inline constexpr std::size_t kAtlasLineWidth = 80;  // characters of a line ever read
inline constexpr std::size_t kAtlasKeyWidth = 30;   // characters that name an entry
inline constexpr std::size_t kPlaceWidth = 26;      // characters 2..27 of a city line

struct AtlasRegion {
    const char* button;   // the chooser's region button
    const char* caption;  // its caption, UTF-8
    const char* file;     // appended to the data directory
};

inline constexpr std::array<AtlasRegion, 7> kAtlasRegions{{
    {"BitBtn5", "     С Н Г", "\\sng.wdt"},
    {"BitBtn6", "      Европа", "\\europa.wdt"},
    {"BitBtn7", " Сев. Америка", "\\namerica.wdt"},
    {"BitBtn8", "Южн. Америка", "\\samerica.wdt"},
    {"BitBtn9", "      Африка", "\\africa.wdt"},
    {"BitBtn10", "        Азия", "\\azia.wdt"},
    {"BitBtn11", "    Австралия", "\\austral.wdt"},
}};

// Messages of the chooser and the add-city dialog (UTF-8).
inline constexpr const char* kNoCityChosenMessage = "   Не выбран город!   ";
inline constexpr const char* kNoCountryChosenMessage = "   Не выбран континент и страна  ";
inline constexpr const char* kCityIncompleteMessage = "   Не все данные введены !  ";

// The region file of a region (its file name with or without ".wdt", such as
// "sng"), or nothing for an unknown name.
std::optional<std::string> RegionFileName(const std::string& dataDir, std::string_view region);

// The lines of a region file, each cut to 80 characters. Line ends are CR LF or
// LF. Throws Error naming the file when it cannot be read.
std::vector<std::string> ReadRegionLines(const std::string& fileName);

// Splits file content into lines (CR LF or LF), each cut to 80 characters.
std::vector<std::string> SplitRegionLines(std::string_view content);

// The first 30 characters of a line (fewer when the line is shorter).
std::string EntryKey(std::string_view line);

// Country list: the first 30 characters of every country line with its "*" made
// a blank, in alphabetical order.
std::vector<std::string> CountryEntries(const std::vector<std::string>& lines);

// City list of a country entry: the first 30 characters of every line of that
// country's block, in alphabetical order. Empty when the country is not found.
std::vector<std::string> CityEntries(const std::vector<std::string>& lines, std::string_view countryEntry);

// Alphabetical order of the lists: case folded, Ё right after Е, Latin before
// Cyrillic, the bytes themselves breaking ties.
bool AtlasEntryLess(std::string_view a, std::string_view b);

// The mark (`ShiftFlag`) of a person whose Zone is the true UTC offset at the
// birth, summer time included: any mark but "L" keeps the birth moment from
// losing a further hour.
inline constexpr const char* kExactZoneMark = "Z";
// The mark of a person whose Zone is a standard offset of the zone fields.
inline constexpr const char* kFieldZoneMark = "L";

// What the chooser writes into the person being entered (cp1251 texts).
struct PlaceChoice {
    std::string Place;      // characters 2..27 of the city line
    std::string CoordText;  // 19 characters, such as " 93°13’ЗД  44°53’СШ"
    double Zone = 0;        // hours east of Greenwich on the birth date
    std::string ZoneText;   // Zone right-aligned in five characters, one decimal
    std::string ShiftFlag = kFieldZoneMark;  // kExactZoneMark when Zone came from the zone table
    LocalTimeKind Clock = LocalTimeKind::Plain;  // the birth time against the clock changes
    // The birth precedes the first change of the zone table: Zone is the zone's
    // offset from the start of the table, mostly the mean time of the zone's own
    // city (Berlin's for every German city before 1893).
    bool BeforeFirstChange = false;
};

// The birth a place is chosen for: its date and, when known, its local time.
struct BirthTime {
    int day = 1, month = 1, year = 1980;
    bool known = false;  // an unknown time counts as 12:00
    int hour = 12, minute = 0;
};

// Columns of the zone numbers (0-based start, width).
inline constexpr std::size_t kCityZoneNumberCol = 45;     // columns 46..49
inline constexpr std::size_t kCountryZoneNumberCol = 76;  // columns 77..80
inline constexpr std::size_t kZoneNumberLen = 4;

// The zone number of a city line (`country` false) or a country line; 0 when the
// line has none (its columns are missing or blank). Throws Error naming
// `fileName` when they hold anything but a number 1..9999 after blanks.
int ZoneNumberOf(std::string_view line, bool country, const std::string& fileName);

// Julian Day of a date at 0 h by the Gregorian rule.
double JulianDayAt0h(int day, int month, int year);

// The zone field (1..10) that a birth on Julian Day `jd` takes.
int ZoneFieldFor(double jd);

// Zone field `field` (1..11) of a country line as a number. Throws Error naming
// `fileName` when the field does not hold a number.
double ReadZoneField(std::string_view countryLine, int field, const std::string& fileName);

// "%5.1f" of a zone, halves away from zero.
std::string ZoneText(double zone);

// The 19-character coordinate text of a city line (cp1251). Throws Error naming
// `fileName` when the degrees are not integers or have no text form, or when the
// minutes (copied as they stand) do not read as a number.
std::string CoordText(std::string_view cityLine, const std::string& fileName);

// The place fields of a city of a country for a birth on the given date, as the
// chooser's "Продолжить" takes them from the region's lines. The entries are as
// the lists show them. Throws Error naming `fileName` when the country or the
// city is not in the file or the lines do not read.
PlaceChoice ChoosePlace(const std::vector<std::string>& lines, std::string_view countryEntry,
                        std::string_view cityEntry, int day, int month, int year,
                        const std::string& fileName);

// The place fields for a birth at a date and time. When the city line, or else
// its country line, has a zone number, Zone is the UTC offset of that zone at
// the local birth time (noon when unknown) from `zones`, summer time included,
// and ShiftFlag is kExactZoneMark; a local time skipped or repeated by a change
// of clocks takes the offset in force before the change (see OffsetAtLocalTime).
// Otherwise it is the zone field of the date, with "L", as above. Throws Error
// naming `fileName` as above, and when a zone number is there but `zones` is
// null or has no such zone.
PlaceChoice ChoosePlace(const std::vector<std::string>& lines, std::string_view countryEntry,
                        std::string_view cityEntry, const BirthTime& birth, const ZoneTable* zones,
                        const std::string& fileName);

// ---- adding a city

// The five fields and two choices of the add-city dialog (cp1251 texts).
struct NewCity {
    std::string name;      // at most 30 characters
    std::string lonDeg;    // at most 3 characters
    std::string lonMin;    // at most 2
    bool west = false;
    std::string latDeg;    // at most 2
    std::string latMin;    // at most 2
    bool south = false;
};

// True when a field counts as filled in: two characters or more.
bool FieldComplete(std::string_view text);

// True when all five fields are complete and the degrees and minutes are digits
// within their ranges (latitude below 90, longitude below 180, minutes below 60):
// only such a city gives a line that the chooser can read back.
bool NewCityAcceptable(const NewCity& city);

// The 45-character city line of the added city.
std::string BuildCityLine(const NewCity& city);

// The region content with `cityLine` right after the line of `countryEntry`,
// every line cut to 80 characters and ended with CR LF. A city line of 45
// characters takes the zone number of the country line, when it has one. Throws
// Error naming `fileName` when the country is not in the file.
std::string InsertCityLine(std::string_view content, std::string_view countryEntry,
                           std::string_view cityLine, const std::string& fileName);

// Adds the city to the region file, replacing the file in one atomic step.
// Returns false, writing nothing, when the city is not acceptable (the dialog
// then shows kCityIncompleteMessage). Throws Error naming the file on failure;
// the old file then stays as it was.
bool AddCityToRegion(const std::string& fileName, std::string_view countryEntry, const NewCity& city);

}  // namespace pelorin
