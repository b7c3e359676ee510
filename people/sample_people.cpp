#include "people/sample_people.h"

#include <cstdio>
#include <ctime>

#include "astro/birth_moment.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/person_chart.h"
#include "people/person_record.h"

namespace pelorin {

namespace {

struct Sample {
    const char* name;     // UTF-8
    int day, month, year;
    int hour, minute;     // -1 when unknown
    const char* place;    // UTF-8 city
    int lonDeg, lonMin;   // east positive
    int latDeg, latMin;   // north positive
    double zone;
    const char* comment;
};

const Sample kWomen[] = {
    {"Пример: Анна", 14, 3, 1985, 7, 30, "Москва", 37, 37, 55, 45, 3.0, "Пример для первого анализа."},
    {"Пример: Елена", 2, 11, 1990, 18, 5, "Санкт-Петербург", 30, 19, 59, 57, 3.0, "Пример для первого анализа."},
    {"Пример: Ольга", 23, 7, 1978, -1, 0, "Новосибирск", 82, 56, 55, 2, 7.0, "Пример: время рождения неизвестно."},
};

const Sample kMen[] = {
    // Born at a known time in a city of the atlas: he has houses too.
    {"Пример: Борис", 9, 5, 1983, 14, 20, "Москва", 37, 37, 55, 45, 4.0,
     "Пример: время и место рождения известны, у него есть дома."},
    {"Пример: Дмитрий", 30, 1, 1987, -1, 0, "Казань", 0, 0, 0, 0, 0, "Пример для первого анализа."},
    {"Пример: Игорь", 17, 8, 1980, -1, 0, "Екатеринбург", 0, 0, 0, 0, 0, "Пример для первого анализа."},
    {"Пример: Сергей", 5, 12, 1975, -1, 0, "Киев", 0, 0, 0, 0, 0, "Пример для первого анализа."},
    {"Пример: Павел", 21, 6, 1992, -1, 0, "Минск", 0, 0, 0, 0, 0, "Пример для первого анализа."},
};

std::string Two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

// " 37°37’ВД  55°45’СШ": longitude first, the degree sign 0xB0, the minute mark 0x92.
std::string CoordText(int lonDeg, int lonMin, int latDeg, int latMin) {
    const int lon = lonDeg < 0 ? -lonDeg : lonDeg;
    const int lat = latDeg < 0 ? -latDeg : latDeg;
    std::string s = lon < 10 ? "  " : lon < 100 ? " " : "";
    s += std::to_string(lon) + "\xB0" + Two(lonMin) + "\x92" + Utf8ToCp1251(lonDeg < 0 ? "ЗД" : "ВД") + "  ";
    s += lat < 10 ? " " : "";
    s += std::to_string(lat) + "\xB0" + Two(latMin) + "\x92" + Utf8ToCp1251(latDeg < 0 ? "ЮШ" : "СШ");
    return s;
}

std::string ZoneText(double zone) {
    char b[16];
    std::snprintf(b, sizeof b, "%5.1f", zone);
    return b;
}

PersonRecord MakeRecord(const Sample& s, bool woman, const std::string& stamp) {
    PersonRecord r{};
    r.Name.set(PadRight(Utf8ToCp1251(s.name), 20));
    r.Day = s.day;
    r.Month = s.month;
    r.Year = s.year;
    r.DateText.set(Two(s.day) + "." + Two(s.month) + "." + std::to_string(s.year));
    if (s.hour >= 0) {
        r.Hour = s.hour;
        r.Minute = s.minute;
        r.TimeText.set(Two(s.hour) + ":" + Two(s.minute));
        r.TimeKnown = 1;
    } else {
        r.Hour = 12;
        r.Minute = 0;
        r.TimeText.set(" --- ");
        r.TimeKnown = 0;
    }
    // The zones of women and of a man with a known time are the exact offsets of
    // their birth places at their births (as the place chooser gives them, mark
    // "Z"); a man without one is stored as the men's dialog stores a typed place,
    // with the mark "L".
    const bool atlas = woman || s.hour >= 0;
    r.ShiftFlag.set(atlas ? "Z" : "L");
    r.Sex.set(woman ? "W" : "M");
    r.Place.set(PadRight(Utf8ToCp1251(s.place), 26));
    if (atlas) {
        r.CoordText.set(CoordText(s.lonDeg, s.lonMin, s.latDeg, s.latMin));
        r.Zone = s.zone;
        r.ZoneText.set(ZoneText(s.zone));
    } else {  // a man is stored without his place's coordinates and zone
        r.CoordText.set(Utf8ToCp1251(" 93°13’ЗД  44°53’СШ"));
        r.Zone = 0;
        r.ZoneText.set("  0.0");
    }
    r.Comment.set(PadRight(Utf8ToCp1251(s.comment), 250));
    r.Stamp.set(stamp);
    BuildListLine(r);
    StoreBirthMoment(r);
    return r;
}

bool AlreadyThere(const PersonTable& t, const PersonRecord& r) {
    for (int slot : UsedSlots(t))
        if (t.slot(slot).Name.view() == r.Name.view() && t.slot(slot).DateText.view() == r.DateText.view())
            return true;
    return false;
}

int AddSampleList(const std::string& file, TableKind kind, const Sample* samples, int n, std::time_t& clock) {
    PersonTable table{kind, {}};
    LoadPersonFile(file, table);
    int added = 0;
    for (int i = 0; i < n; ++i) {
        const int slot = FirstFreeSlot(table);
        if (slot == 0) break;
        const std::string stamp = MakeUniqueStamp(table, clock);
        PersonRecord r = MakeRecord(samples[i], kind == TableKind::Women, stamp);
        ++clock;
        if (AlreadyThere(table, r)) continue;
        table.slot(slot) = r;
        ++added;
    }
    SavePersonFile(file, table);
    return added;
}

}  // namespace

SamplesAdded AddSamplePeople(const std::string& dir) {
    std::time_t clock = std::time(nullptr);
    SamplesAdded added;
    added.women = AddSampleList(JoinPath(dir, "FEMIN.DAT"), TableKind::Women, kWomen, 3, clock);
    // Stamps are unique across both files too, so that a stamp names one person.
    added.men = AddSampleList(JoinPath(dir, "MEN.DAT"), TableKind::Men, kMen, 5, clock);
    return added;
}

}  // namespace pelorin
