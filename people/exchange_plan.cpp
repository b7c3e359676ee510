// The import plan: the records the rows of a file become, as the entry dialogs
// build them, each with the source of its place and the notes the preview shows;
// and the store of the records into the person file.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "astro/chart.h"
#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/atlas.h"
#include "people/exchange.h"
#include "people/exchange_read.h"
#include "people/person_chart.h"
#include "people/person_entry.h"
#include "people/place_fields.h"
#include "people/time_zones.h"

namespace pelorin {
namespace {

using exchange::Trim;
using exchange::ZoneShown;

PersonRecord NewRecord(const ImportRow& row, TableKind kind) {
    PersonRecord r;
    std::memset(&r, 0, sizeof r);
    r.Name.set(PadRight(CutTo(row.name, 20), 20));
    r.Day = row.day;
    r.Month = row.month;
    r.Year = row.year;
    r.DateText.set(DateTextOf(row.day, row.month, row.year));
    r.Hour = row.timeKnown ? row.hour : 12;
    r.Minute = row.timeKnown ? row.minute : 0;
    r.TimeKnown = row.timeKnown ? 1 : 0;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", row.hour, row.minute);
    r.TimeText.set(row.timeKnown ? std::string(buf) : std::string(" --- "));
    r.Sex.set(kind == TableKind::Women ? "W" : "M");
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (!row.comment.empty()) {
        const std::size_t end = row.comment.find('\n', from);
        lines.push_back(row.comment.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        if (end == std::string::npos) break;
        from = end + 1;
    }
    r.Comment.set(EntryComment(lines));
    return r;
}

// The coordinate text of signed arc minutes, built as the chooser builds it
// from a city line ("-0" degrees for 0°xx' south or west).
std::string CoordTextOf(int lat, int lon) {
    auto deg = [](int minutes) {
        return std::string(minutes < 0 ? "-" : "") + std::to_string(std::abs(minutes) / 60);
    };
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3s %02d %4s %02d", deg(lat).c_str(), std::abs(lat) % 60, deg(lon).c_str(),
                  std::abs(lon) % 60);
    return CoordText(std::string(31, ' ') + buf, "");
}

// The place as the file names it, in `width` characters; a longer one is cut,
// with a note (the list line has room for 26).
void SetTypedPlace(PersonRecord& r, const ImportRow& row, std::size_t width, std::size_t padTo,
                   std::vector<std::string>& notes) {
    r.Place.set(PadRight(CutTo(row.place, width), padTo));
    if (row.place.size() > width)
        notes.push_back("место «" + EchoText(Cp1251ToUtf8(row.place)) + "» длиннее " + std::to_string(width) +
                        " знаков: сохранено «" + Cp1251ToUtf8(Trim(CutTo(row.place, width))) + "»");
}

// The file's place with its coordinates; the zone is set by the caller.
void SetFilePlace(PersonRecord& r, const ImportRow& row, std::vector<std::string>& notes) {
    SetTypedPlace(r, row, kPlaceWidth, kPlaceWidth, notes);
    r.CoordText.set(CoordTextOf(row.latMinutes, row.lonMinutes));
}

void SetZone(PersonRecord& r, double zone, const char* mark) {
    r.Zone = zone;
    r.ZoneText.set(ZoneText(zone));
    r.ShiftFlag.set(mark);
}

// The birth moment by the program's rule, and the seconds of a time given with
// them.
void Finish(PersonRecord& r, const ImportRow& row) {
    StoreBirthMoment(r);
    if (row.timeKnown && row.second != 0) r.Moment += row.second / 86400.0;
    r.Spare1 = 0;
    r.Spare2 = 0;
}

const char* SourceNote(PlaceSource s) {
    switch (s) {
        case PlaceSource::File: return "место, координаты и пояс из файла";
        case PlaceSource::Atlas: return "место из атласа, пояс на дату и время рождения";
        case PlaceSource::MenEntry: return "места нет в атласе: место как введено, пояс 0, без домов";
        case PlaceSource::Ambiguous: return "в атласе несколько городов с этим названием: выберите";
        case PlaceSource::Missing: return "места нет в атласе: нужны координаты и пояс";
        case PlaceSource::NearestZone: return "место и координаты из файла, пояс ближайшего города атласа";
        case PlaceSource::ZoneToChoose:
            return "координаты из файла, пояса нет, города атласа ближе 100 км нет: выберите город, чей пояс взять";
    }
    return "";
}

std::string Joined(const char* source, const std::vector<std::string>& notes) {
    std::string out = source;
    for (const std::string& n : notes) out += "; " + n;
    return out;
}

BirthTime BirthOf(const ImportRow& row) {
    BirthTime birth{row.day, row.month, row.year, row.timeKnown, row.hour, row.minute};
    if (!birth.known) birth.hour = 12, birth.minute = 0;
    return birth;
}

// The region lines of the atlas, each file read once.
class RegionLines {
public:
    explicit RegionLines(const std::string& dataDir) : dataDir_(dataDir) {}
    std::string File(int region) const { return JoinPath(dataDir_, kAtlasRegions[std::size_t(region)].file); }
    const std::vector<std::string>& Of(int region) {
        auto it = lines_.find(region);
        if (it == lines_.end()) it = lines_.emplace(region, ReadRegionLines(File(region))).first;
        return it->second;
    }

private:
    std::string dataDir_;
    std::map<int, std::vector<std::string>> lines_;
};

// The place fields of a city of the atlas for the row's birth.
PlaceChoice CityChoice(const CityHit& hit, const ImportRow& row, RegionLines& regions, const ZoneTable* zones) {
    return ChoosePlace(regions.Of(hit.region), hit.country, hit.city, BirthOf(row), zones, regions.File(hit.region));
}

std::string CityShown(const CityHit& h, const ImportRow& row) {
    char km[32];
    std::snprintf(km, sizeof km, "%.0f", DistanceKm(row.latMinutes, row.lonMinutes, h.latMinutes, h.lonMinutes));
    return Cp1251ToUtf8(Trim(h.city)) + " (" + Cp1251ToUtf8(Trim(h.country)) + ", " + km + " км)";
}

// Before the first change of its zone, a place kept its own mean time: the zone
// table then gives the mean time of the zone's city (Berlin's for Ulm), an
// offset of no whole quarter hour. For a place of known longitude that is its
// own local mean time instead.
bool OwnMeanTime(double zone, bool beforeFirstChange) {
    return beforeFirstChange && std::lround(zone * 3600) % 900 != 0;
}

double MeanTimeOf(const ImportRow& row) { return row.lonMinutes / 900.0; }

// The zone of the city taken into a record of the file's place.
void TakeCityZone(PersonRecord& r, const PlaceChoice& choice, const ImportRow& row, std::vector<std::string>& notes) {
    if (OwnMeanTime(choice.Zone, choice.BeforeFirstChange)) {
        SetZone(r, MeanTimeOf(row), kExactZoneMark);
        notes.push_back("до поясного времени: местное среднее время по долготе " + ZoneShown(r.Zone));
        return;
    }
    SetZone(r, choice.Zone, choice.ShiftFlag.c_str());
}

// The offset of an IANA zone of the table at the row's local birth time (the
// place's own mean time before the zone's first change, where its longitude is
// known), or nothing when the table has no zone of that name.
std::optional<double> NamedZone(const std::string& name, const ImportRow& row, const ZoneTable* zones) {
    if (zones == nullptr) return std::nullopt;
    for (std::size_t k = 1; k <= zones->size(); ++k) {
        const TimeZone* z = zones->zone(int(k));
        if (z == nullptr || exchange::Lower(z->name) != exchange::Lower(name)) continue;
        const BirthTime b = BirthOf(row);
        const std::int64_t local = LocalSeconds(b.day, b.month, b.year, b.hour, b.minute);
        const double zone = OffsetAtLocalTime(*z, local).offset / 3600.0;
        const bool before = !z->changes.empty() && local - z->firstOffset < z->changes.front().instant;
        return row.hasCoords && OwnMeanTime(zone, before) ? MeanTimeOf(row) : zone;
    }
    return std::nullopt;
}

}  // namespace

bool NeedsChoice(const ImportPlan& plan) {
    return plan.source == PlaceSource::Ambiguous || plan.source == PlaceSource::ZoneToChoose;
}

std::vector<ImportPlan> PlanImport(const ImportParse& parse, TableKind kind, const CitySearch& search,
                                   const std::string& dataDir, const std::string& fileName,
                                   std::vector<ImportProblem>& problems) {
    std::vector<ImportPlan> plans;
    const char want = kind == TableKind::Women ? 'W' : 'M';
    RegionLines regions(dataDir);
    std::optional<ZoneTable> zones;
    bool zonesRead = false;
    auto zoneTable = [&]() -> const ZoneTable* {
        if (!zonesRead) zones = LoadZoneTableOf(dataDir), zonesRead = true;
        return zones ? &*zones : nullptr;
    };
    for (const ImportRow& given : parse.rows) {
        const std::string where = "Файл «" + fileName + "», строка " + std::to_string(given.line) + ": ";
        if (given.sex != 0 && given.sex != want) {
            problems.push_back({given.line, where + (given.sex == 'W' ? "женщина, а список — мужчин"
                                                                      : "мужчина, а список — женщин")});
            continue;
        }
        ImportPlan plan;
        plan.row = given;
        plan.kind = kind;
        ImportRow& row = plan.row;
        std::vector<std::string> notes = row.notes;
        PersonRecord r = NewRecord(row, kind);
        try {
            if (!row.hasZone && !row.zoneName.empty()) {
                const std::optional<double> zone = NamedZone(row.zoneName, row, zoneTable());
                if (!zone) throw Error("часового пояса «" + EchoText(row.zoneName) + "» нет в таблице поясов атласа");
                row.zone = *zone;
                row.hasZone = true;
                notes.push_back("пояс " + row.zoneName + " на дату и время рождения: " + ZoneShown(*zone));
            }
            if (row.hasCoords && row.hasZone) {
                plan.source = PlaceSource::File;
                SetFilePlace(r, row, notes);
                SetZone(r, row.zone, row.summerHour ? kFieldZoneMark : kExactZoneMark);
            } else if (row.hasCoords) {
                // Coordinates without a zone: the zone of the nearest city of the
                // atlas at the birth, when one lies near enough; else the person
                // chooses among the nearest.
                plan.candidates = search.Nearest(row.latMinutes, row.lonMinutes, 5);
                SetFilePlace(r, row, notes);
                if (!plan.candidates.empty() &&
                    DistanceKm(row.latMinutes, row.lonMinutes, plan.candidates[0].latMinutes,
                               plan.candidates[0].lonMinutes) <= kNearestZoneKm) {
                    plan.source = PlaceSource::NearestZone;
                    const PlaceChoice choice = CityChoice(plan.candidates[0], row, regions, zoneTable());
                    notes.push_back("пояс города " + CityShown(plan.candidates[0], row) + " на дату рождения: " +
                                    ZoneShown(choice.Zone));
                    TakeCityZone(r, choice, row, notes);
                    plan.candidates.clear();
                } else {
                    plan.source = PlaceSource::ZoneToChoose;
                }
            } else {
                // A city of the place's name, or of its first part before a comma:
                // a man's as a woman's, so that he gets its coordinates and zone.
                const std::string city = row.place.substr(0, row.place.find(','));
                const std::string key = SearchKey(city);
                for (const CityHit& h : key.empty() ? std::vector<CityHit>{} : search.Find(city))
                    if (SearchKey(h.city) == key) plan.candidates.push_back(h);
                plan.source = plan.candidates.empty()      ? PlaceSource::Missing
                              : plan.candidates.size() > 1 ? PlaceSource::Ambiguous
                                                           : PlaceSource::Atlas;
            }
        } catch (const Error& e) {
            problems.push_back({row.line, where + e.what()});
            continue;
        }
        if (plan.source == PlaceSource::Missing && kind == TableKind::Men && !row.place.empty()) {
            // A place the atlas does not know: the man as the men's entry stores
            // one with a typed place.
            plan.source = PlaceSource::MenEntry;
            SetTypedPlace(r, row, 25, 26, notes);
            r.CoordText.set(MenCoordText());
            SetZone(r, 0, kFieldZoneMark);
            if (row.timeKnown) {  // without a zone the time cannot be read
                r.Hour = 12, r.Minute = 0, r.TimeKnown = 0;
                r.TimeText.set(" --- ");
                notes.push_back("время без пояса не учтено");
            }
        }
        plan.note = Joined(SourceNote(plan.source), notes);
        if (plan.source == PlaceSource::File || plan.source == PlaceSource::MenEntry ||
            plan.source == PlaceSource::NearestZone) {
            Finish(r, row);
            if (!IsServedMoment(r.Moment)) {
                problems.push_back({row.line, where + Trim(UnservedDateMessage(row.day, row.month, row.year))});
                continue;
            }
            plan.record = r;
        }
        plans.push_back(std::move(plan));
        if (plans.back().source == PlaceSource::Atlas) {
            try {
                ChooseCandidate(plans.back(), 0, dataDir);
            } catch (const Error& e) {
                problems.push_back({row.line, where + e.what()});
                plans.pop_back();
            }
        }
    }
    return plans;
}

void ChooseCandidate(ImportPlan& plan, std::size_t candidate, const std::string& dataDir) {
    if (candidate >= plan.candidates.size() || !(NeedsChoice(plan) || plan.source == PlaceSource::Atlas)) return;
    const CityHit& hit = plan.candidates[candidate];
    RegionLines regions(dataDir);
    const std::optional<ZoneTable> zones = LoadZoneTableOf(dataDir);
    const PlaceChoice choice = CityChoice(hit, plan.row, regions, zones ? &*zones : nullptr);
    PersonRecord r = NewRecord(plan.row, plan.kind);
    std::vector<std::string> notes = plan.row.notes;
    const char* source = SourceNote(PlaceSource::Atlas);
    if (plan.source == PlaceSource::ZoneToChoose) {
        SetFilePlace(r, plan.row, notes);
        notes.push_back("пояс выбранного города " + CityShown(hit, plan.row) + " на дату рождения: " +
                        ZoneShown(choice.Zone));
        TakeCityZone(r, choice, plan.row, notes);
        source = "место и координаты из файла, пояс выбранного города атласа";
    } else {
        ApplyPlaceChoice(r, choice);
        plan.source = PlaceSource::Atlas;
    }
    Finish(r, plan.row);
    if (!IsServedMoment(r.Moment)) throw Error(Trim(UnservedDateMessage(plan.row.day, plan.row.month, plan.row.year)));
    plan.record = r;
    plan.note = Joined(source, notes);
}

namespace {

bool Listed(const std::string& nameKey, int day, int month, int year, bool timeKnown, int hour, int minute,
            const PersonTable& table) {
    for (int slot : UsedSlots(table)) {
        const PersonRecord& r = table.slot(slot);
        if (r.Day != day || r.Month != month || r.Year != year) continue;
        if (r.TimeKnown && timeKnown && (r.Hour != hour || r.Minute != minute)) continue;
        if (SearchKey(r.Name.str()) == nameKey) return true;
    }
    return false;
}

}  // namespace

bool AlreadyListed(const ImportRow& row, const PersonTable& table) {
    return Listed(SearchKey(row.name), row.day, row.month, row.year, row.timeKnown, row.hour, row.minute, table);
}

bool AlreadyListed(const PersonRecord& record, const PersonTable& table) {
    return Listed(SearchKey(record.Name.str()), record.Day, record.Month, record.Year, record.TimeKnown != 0,
                  record.Hour, record.Minute, table);
}

ImportStored StoreImported(const std::vector<PersonRecord>& records, TableKind kind, const std::string& dataDir,
                           std::time_t now, ImportDuplicates duplicates) {
    ImportStored out;
    out.slotOf.assign(records.size(), 0);
    if (records.empty()) return out;
    const DirLock lock(dataDir);
    const std::string file = JoinPath(dataDir, PersonFileName(kind));
    PersonTable table{kind, {}};
    LoadPersonFile(file, table);
    const PersonTable before = table;  // the people listed before this import
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (duplicates == ImportDuplicates::Skip && AlreadyListed(records[i], before)) {
            out.listed.push_back(i);
            continue;
        }
        const int slot = FirstFreeSlot(table);
        if (slot == 0) {
            out.full = true;
            break;
        }
        PersonRecord r = records[i];
        r.Stamp.set(MakeUniqueStamp(table, now));
        BuildListLine(r);
        table.slot(slot) = r;
        out.slots.push_back(slot);
        out.slotOf[i] = slot;
    }
    if (!out.slots.empty()) SavePersonFile(file, table);
    return out;
}

std::string FullTableImportMessage(TableKind kind, std::size_t stored, std::size_t wanted) {
    return std::string(kind == TableKind::Women ? "В списке женщин" : "В списке мужчин") +
           " нет места для всех: сохранено " + std::to_string(stored) + " из " + std::to_string(wanted) +
           " (не более 99 человек)";
}

}  // namespace pelorin
