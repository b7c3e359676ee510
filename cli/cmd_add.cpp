// pelorin-cli add: one person stored as the entry dialogs store one, through the
// same store procedures: the same record bytes, moment, stamp rule, refusals and
// messages, under the data directory's lock.
#include <cstdio>
#include <ctime>
#include <optional>

#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "cli/command.h"
#include "cli/json.h"
#include "people/atlas.h"
#include "people/config.h"
#include "people/person_entry.h"
#include "people/place_fields.h"
#include "people/time_zones.h"

namespace pelorin::cli {
namespace {

// Digits only, of the given count.
bool Digits(const std::string& s, std::size_t from, std::size_t count, int& out) {
    out = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

// The shape only: the dialogs' store procedures judge the values, with their
// own messages.
void ParseDateShape(const std::string& text, int& day, int& month, int& year) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.' || !Digits(text, 0, 2, day) ||
        !Digits(text, 3, 2, month) || !Digits(text, 6, 4, year))
        throw UsageError("--date must be DD.MM.YYYY, got \"" + EchoText(text) + "\"");
}

void ParseTimeShape(const std::string& text, int& hour, int& minute) {
    if (text.size() != 5 || text[2] != ':' || !Digits(text, 0, 2, hour) || !Digits(text, 3, 2, minute))
        throw UsageError("--time must be HH:MM, got \"" + EchoText(text) + "\"");
}

// A text of the command line as Windows-1251; a character without a code there
// is an input error, not a silent '?'.
std::string Cp1251Arg(const std::string& option, const std::string& utf8) {
    std::size_t bad = std::string::npos;
    std::string out = Utf8ToCp1251(utf8, &bad);
    if (bad != std::string::npos)
        throw Error("--" + option + ": знак на позиции " + std::to_string(bad) + " не представим в кодировке Windows-1251");
    return out;
}

std::string TrimBlanks(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The entry of a chooser list that `text` names: as the list shows it, trailing
// blanks optional, the leading blank of the list optional too.
std::optional<std::string> FindListEntry(const std::vector<std::string>& entries, const std::string& text) {
    std::string wanted = text;
    while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
    for (const std::string& candidate : {wanted, " " + wanted})
        for (const std::string& e : entries) {
            std::string shown = e;
            while (!shown.empty() && shown.back() == ' ') shown.pop_back();
            if (shown == candidate) return e;
        }
    return std::nullopt;
}

// The atlas choice of the command line (cp1251 texts): a region, a country and a
// city, as the place chooser's three lists take them.
struct AtlasArgs {
    std::string region, country, city;
};

// What the place chooser's "Продолжить" writes into the working record, for a
// place named on the command line (a woman's, or a man's from the atlas). Throws Error when the region file does not
// hold the country or the city.
void ApplyAtlasChoice(const std::string& dataDir, const AtlasArgs& a, PersonRecord& working) {
    const auto fileName = RegionFileName(dataDir, a.region);
    if (!fileName) throw UsageError("--region must be one of sng, europa, namerica, samerica, africa, azia, austral");
    const std::vector<std::string> lines = ReadRegionLines(*fileName);
    const auto country = FindListEntry(CountryEntries(lines), a.country);
    if (!country)
        throw Error("В файле атласа «" + *fileName + "» нет страны «" + EchoText(Cp1251ToUtf8(TrimBlanks(a.country))) + "»");
    const auto city = FindListEntry(CityEntries(lines, *country), a.city);
    if (!city)
        throw Error("В файле атласа «" + *fileName + "» у страны «" + Cp1251ToUtf8(TrimBlanks(*country)) +
                    "» нет города «" + EchoText(Cp1251ToUtf8(TrimBlanks(a.city))) + "»");
    int day = 0, month = 0, year = 0;
    ParseDateShape(working.DateText.str(), day, month, year);
    // The exact offset of the place at the birth, as the place chooser takes it.
    const std::optional<ZoneTable> zones = LoadZoneTableOf(dataDir);
    const PlaceChoice choice = ChoosePlace(lines, *country, *city, BirthTimeOf(working, day, month, year),
                                           zones ? &*zones : nullptr, *fileName);
    ApplyPlaceChoice(working, choice);
}

class CommandLineChooser : public PlaceChooser {
public:
    CommandLineChooser(const std::string& dataDir, AtlasArgs args) : dataDir_(dataDir), args_(std::move(args)) {}
    bool ChoosePlace(PersonRecord& working) override {
        ApplyAtlasChoice(dataDir_, args_, working);
        return true;
    }

private:
    const std::string& dataDir_;
    AtlasArgs args_;
};

std::vector<std::string> CommentLines(const std::optional<std::string>& comment) {
    std::vector<std::string> lines;
    if (!comment || comment->empty()) return lines;
    const std::string text = Cp1251Arg("comment", *comment);
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) break;
        from = end + 1;
    }
    return lines;
}

// Says on standard error that `given` was stored as the shorter `stored`
// (both cp1251; blanks around them do not count).
void WarnIfCut(const char* option, const std::string& given, const std::string& stored) {
    const std::string a = TrimBlanks(given), b = TrimBlanks(stored);
    if (a.size() <= b.size()) return;
    std::fprintf(stderr, "pelorin-cli add: --%s: %zu знаков, сохранено %zu: «%s»\n", option, a.size(), b.size(),
                 Cp1251ToUtf8(b).c_str());
}

int RunAdd(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "list", "name", "date", "time", "region", "country", "city", "place", "comment"});
    const std::string list = args.required("list");
    if (list != "women" && list != "men") throw UsageError("--list must be women or men");
    const bool women = list == "women";
    const bool atlas = args.has("region") || args.has("country") || args.has("city");
    const bool fullAtlas = args.has("region") && args.has("country") && args.has("city");
    if (women && (args.has("place") || !fullAtlas))
        throw UsageError("a woman's place is --region R --country C --city X");
    // A man's place is typed as before, or chosen from the atlas as a woman's.
    if (!women && (atlas ? !fullAtlas || args.has("place") : !args.has("place")))
        throw UsageError("a man's place is --place TEXT or --region R --country C --city X");
    if (!women && args.has("time") && !atlas)
        throw UsageError("a man's birth time needs his place from the atlas: --region R --country C --city X");
    const std::string name = Cp1251Arg("name", args.required("name"));
    int day = 0, month = 0, year = 0;
    ParseDateShape(args.required("date"), day, month, year);
    const std::vector<std::string> comment = CommentLines(args.get("comment"));

    const Config config = ReadConfig(args.required("config"));
    const std::string& dir = config.DataDir;
    std::optional<DirLock> lock(std::in_place, dir);
    PersonTable table{women ? TableKind::Women : TableKind::Men, {}};
    const std::string file = JoinPath(dir, PersonFileName(table.kind));
    LoadPersonFile(file, table);

    EntryResult res;
    bool timeKnown = false;
    int hour = 12, minute = 0;
    if (args.has("time")) {
        timeKnown = true;
        ParseTimeShape(*args.get("time"), hour, minute);
    }
    std::optional<CommandLineChooser> chooser;
    if (atlas)
        chooser.emplace(dir, AtlasArgs{Cp1251Arg("region", *args.get("region")), Cp1251Arg("country", *args.get("country")),
                                       Cp1251Arg("city", *args.get("city"))});
    if (women) {
        WomanEntry e;
        e.name = name;
        e.day = day, e.month = month, e.year = year;
        e.timeKnown = timeKnown, e.hour = hour, e.minute = minute;
        e.commentLines = comment;
        res = StoreWoman(e, *chooser, table, dir, std::time(nullptr));
    } else {
        ManEntry e;
        e.name = name;
        e.day = day, e.month = month, e.year = year;
        e.timeKnown = timeKnown, e.hour = hour, e.minute = minute;
        e.commentLines = comment;
        if (atlas) {
            res = StoreManAt(e, *chooser, table, dir, std::time(nullptr));
        } else {
            e.place = Cp1251Arg("place", *args.get("place"));
            res = StoreMan(e, table, dir, std::time(nullptr));
        }
    }
    if (res.outcome != EntryOutcome::Stored) throw Error(TrimBlanks(res.message));
    lock.reset();  // stored: released before the output
    NoteStored("Человек сохранён в файле «" + file + "»: ячейка " + std::to_string(res.slot) + ", отметка " +
               table.slot(res.slot).Stamp.str() + ".");
    // The record keeps 20 characters of a name and 25 (a man's typed place) or
    // 26 (a city of the atlas) of a place: a longer text is stored cut, as the
    // dialogs store it, and the caller is told.
    const PersonRecord& stored = table.slot(res.slot);
    WarnIfCut("name", name, stored.Name.str());
    const char* placeOption = atlas ? "city" : "place";
    WarnIfCut(placeOption, Cp1251Arg(placeOption, *args.get(placeOption)), stored.Place.str());
    PrintJson(JsonObject().str("stamp", table.slot(res.slot).Stamp.str()).num("slot", res.slot).text());
    return 0;
}

Register reg({"add",
              "add --config FILE --list women|men --name TEXT --date DD.MM.YYYY [--time HH:MM] "
              "(--region R --country C --city X | --place TEXT) [--comment TEXT]",
              RunAdd});

}  // namespace
}  // namespace pelorin::cli
