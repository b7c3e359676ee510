#include <optional>

#include "people/config.h"
#include "cli/command.h"
#include "cli/json.h"
#include "astro/birth_moment.h"
#include "people/atlas.h"
#include "people/city_search.h"
#include "people/time_zones.h"
#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"

namespace pelorin::cli {
namespace {

std::string TrimTrailing(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The list entry that `text` names: as the list shows it, trailing blanks
// optional, the leading blank of the list optional too.
std::optional<std::string> FindEntry(const std::vector<std::string>& entries, const std::string& text) {
    const std::string wanted = TrimTrailing(text);
    for (const std::string& candidate : {wanted, " " + wanted})
        for (const std::string& e : entries)
            if (TrimTrailing(e) == candidate) return e;
    return std::nullopt;
}

// --find: the cities of every region whose name begins with the text, as the
// chooser's search field lists them.
int RunFind(const Args& args) {
    for (const char* other : {"region", "country", "city", "date", "time"})
        if (args.has(other)) throw UsageError(std::string("--find takes no --") + other);
    std::string text;
    if (!SearchQueryOf(args.required("find"), text))
        throw UsageError("--find: the text has a character Windows-1251 lacks");
    const Config config = ReadConfig(args.required("config"));
    std::optional<DirLock> lock(std::in_place, config.DataDir, LockUse::Read);
    const CitySearch search = CitySearch::Build(config.DataDir);
    lock.reset();  // released before the output
    std::vector<std::string> items;
    for (const CityHit& h : search.Find(text, std::size_t(-1)))
        items.push_back(JsonObject()
                            .str("region", RegionName(h.region))
                            .str("region_caption", RegionCaption(h.region))
                            .str("country", Cp1251ToUtf8(TrimTrailing(h.country.substr(1))))
                            .str("city", Cp1251ToUtf8(TrimTrailing(h.city.substr(1))))
                            .num("lat", h.latMinutes / 60.0)
                            .num("lon", h.lonMinutes / 60.0)
                            .text());
    PrintJson(JsonArray(items));
    return 0;
}

int RunPlace(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "region", "country", "city", "date", "time", "find"});
    if (args.has("find")) return RunFind(args);
    const std::string region = args.required("region");
    const std::string countryText = Utf8ToCp1251(args.required("country"));
    const std::string cityText = Utf8ToCp1251(args.required("city"));
    const DateArg date = ParseDateArg(args.required("date"));
    BirthTime birth{date.day, date.month, date.year, args.has("time"), 12, 0};
    if (birth.known) {
        const TimeArg time = ParseTimeArg(*args.get("time"));
        birth.hour = time.hour;
        birth.minute = time.minute;
    }
    const Config config = ReadConfig(args.required("config"));
    const auto fileName = RegionFileName(config.DataDir, region);
    if (!fileName)
        throw UsageError("--region must be one of sng, europa, namerica, samerica, africa, azia, austral");

    std::optional<DirLock> lock(std::in_place, config.DataDir, LockUse::Read);
    const std::vector<std::string> lines = ReadRegionLines(*fileName);
    const auto country = FindEntry(CountryEntries(lines), countryText);
    if (!country)
        throw Error("В файле атласа «" + *fileName + "» нет страны «" + EchoText(Cp1251ToUtf8(TrimTrailing(countryText))) + "»");
    const auto city = FindEntry(CityEntries(lines, *country), cityText);
    if (!city)
        throw Error("В файле атласа «" + *fileName + "» у страны «" + Cp1251ToUtf8(TrimTrailing(country->substr(1))) +
                    "» нет города «" + EchoText(Cp1251ToUtf8(TrimTrailing(cityText))) + "»");
    const std::optional<ZoneTable> zones = LoadZoneTableOf(config.DataDir);
    const PlaceChoice choice = ChoosePlace(lines, *country, *city, birth, zones ? &*zones : nullptr, *fileName);
    lock.reset();  // released before the output
    // The birth moment a woman entered with this place and time is stored with.
    const double moment = FormBirthMoment(birth.day, birth.month, birth.year, birth.hour, birth.minute, birth.known,
                                          choice.Zone, choice.ShiftFlag == kFieldZoneMark);
    const char* clock = choice.Clock == LocalTimeKind::Skipped    ? "skipped"
                        : choice.Clock == LocalTimeKind::Repeated ? "repeated"
                                                                   : "plain";
    PrintJson(JsonObject()
                  .str("place", Cp1251ToUtf8(choice.Place))
                  .str("coord_text", Cp1251ToUtf8(choice.CoordText))
                  .num("zone", choice.Zone)
                  .str("zone_text", Cp1251ToUtf8(choice.ZoneText))
                  .str("shift_flag", choice.ShiftFlag)
                  .str("clock", clock)
                  .num("moment", moment)
                  .text());
    return 0;
}

Register reg({"place",
              "place --config FILE (--region NAME --country TEXT --city TEXT --date DD.MM.YYYY [--time HH:MM] | --find TEXT)",
              RunPlace});

}  // namespace
}  // namespace pelorin::cli
