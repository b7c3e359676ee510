#include "analysis/relationship_charts.h"

#include <cmath>
#include <cstdio>

#include "astro/base_routines.h"
#include "astro/chart.h"
#include "astro/houses.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "people/person_entry.h"

namespace pelorin {

namespace {

// Houses and aspects of a chart whose bodies (and cusps, if any) are set.
void FinishChart(RelationshipChart& r) {
    FindNatalAspects(r.chart, r.aspects);
    r.houses = HouseOverlay{};
    if (r.cusps) PlaceInHouses(r.chart, *r.cusps, r.houses);
}

// Why a person's own houses are missing, for the composite.
std::string PersonWithoutHouses(const PersonRecord& p, bool woman) {
    if (p.TimeKnown == 0)
        return woman ? "время рождения женщины неизвестно" : "время рождения мужчины неизвестно";
    if (!HasHouses(p))
        return woman ? "у женщины нет места рождения с координатами" : "у мужчины нет места рождения с координатами";
    return woman ? "женщина родилась дальше 65° от экватора, где дома по Плацидусу не строятся"
                 : "мужчина родился дальше 65° от экватора, где дома по Плацидусу не строятся";
}

// [0, 360) exactly: fmod keeps whole and half degrees whole, where NormDeg's
// division by 360 would leave 4.99999999999998 of a 5 (and a degree too few in
// the sign).
double Norm360(double x) {
    if (!std::isfinite(x)) return 0;
    const double y = std::fmod(x, 360.0);
    const double z = y < 0 ? y + 360.0 : y;
    return z >= 360.0 ? 0.0 : z;
}

std::string NoHousesSentence(const std::string& why) { return "Без домов: " + why + "."; }

constexpr const char* kDavisonRefused = "Карта Давидсона не построена: ";

}  // namespace

double MidpointLongitude(double woman, double man) {
    const double d = Norm360(man - woman);  // counter-clockwise from her body to his
    if (d <= 180) return Norm360(woman + d / 2);
    return Norm360(woman - (360 - d) / 2);
}

TCusps CompositeCusps(const TCusps& woman, const TCusps& man) {
    TCusps c{};
    const double mc = MidpointLongitude(woman[10], man[10]);
    for (int i = 1; i <= 12; ++i) {
        const double fromHerMc = Norm360(woman[i] - woman[10]);
        const double fromHisMc = Norm360(man[i] - man[10]);
        c[i] = Norm360(mc + (fromHerMc + fromHisMc) / 2);
    }
    return c;
}

RelationshipChart CompositeOf(const TChart& woman, const TChart& man, const TCusps* womanCusps,
                              const TCusps* manCusps, std::string noHouses) {
    RelationshipChart r;
    r.kind = RelationshipKind::Composite;
    for (int i = 0; i < kBodyCount; ++i) {
        r.chart[i].Lon = MidpointLongitude(woman[i].Lon, man[i].Lon);
        SetIntegerFields(r.chart[i]);
    }
    if (womanCusps && manCusps) r.cusps = CompositeCusps(*womanCusps, *manCusps);
    else r.noHouses = std::move(noHouses);
    FinishChart(r);
    return r;
}

std::optional<PlaceCoords> GreatCircleMidpoint(const PlaceCoords& a, const PlaceCoords& b) {
    const double la = DegToRad(a.latitude), lb = DegToRad(b.latitude);
    const double oa = DegToRad(a.longitude), ob = DegToRad(b.longitude);
    // The sum of the two unit vectors points at the midpoint of the shorter great-circle arc.
    const double x = std::cos(la) * std::cos(oa) + std::cos(lb) * std::cos(ob);
    const double y = std::cos(la) * std::sin(oa) + std::cos(lb) * std::sin(ob);
    const double z = std::sin(la) + std::sin(lb);
    const double horizontal = std::hypot(x, y);
    if (!(std::hypot(horizontal, z) > 1e-9)) return std::nullopt;
    PlaceCoords m;
    m.latitude = std::atan2(z, horizontal) * 180 / kPi;
    // At a pole every longitude is the same place: 0.
    m.longitude = horizontal > 1e-12 ? std::atan2(y, x) * 180 / kPi : 0.0;
    if (m.longitude <= -180) m.longitude += 360;
    return m;
}

bool HasBirthPlace(const PersonRecord& p) {
    const std::string text = p.CoordText.str().substr(0, 19);
    auto mark = [&](std::size_t from) { return text.size() >= from + 2 ? text.substr(from, 2) : std::string(); };
    const std::string lon = mark(7), lat = mark(17);
    const bool marks = (lon == "\xC2\xC4" || lon == "\xC7\xC4") && (lat == "\xD1\xD8" || lat == "\xDE\xD8");
    if (!marks) return false;
    // A man entered with his place typed as text keeps a fixed coordinate text
    // that names no place of his.
    const bool typed = p.TimeKnown == 0 && p.ShiftFlag.str() == "L" && text == MenCoordText();
    return !typed;
}

RelationshipChart DavisonOf(const PersonRecord& woman, const PersonRecord& man) {
    for (const PersonRecord* p : {&man, &woman}) {
        if (HasBirthPlace(*p)) continue;
        const bool isMan = p == &man;
        std::string why = std::string(isMan ? "у мужчины «" : "у женщины «") + DisplayName(*p) +
                          "» нет места рождения с координатами";
        why += isMan ? " (его место введено текстом, без атласа). Нужно место из атласа: введите мужчину заново "
                       "с местом, выбранным кнопкой «Выбрать место»."
                     : ".";
        throw Error(kDavisonRefused + why);
    }
    PlaceCoords a, b;
    try {
        a = ParseCoordText(woman.CoordText.str());
        b = ParseCoordText(man.CoordText.str());
    } catch (const Error& e) {
        throw Error(kDavisonRefused + std::string(e.what()));
    }
    const std::optional<PlaceCoords> mid = GreatCircleMidpoint(a, b);
    if (!mid)
        throw Error(std::string(kDavisonRefused) +
                    "места рождения женщины и мужчины лежат на противоположных сторонах земного шара, и "
                    "середины между ними нет.");

    RelationshipChart r;
    r.kind = RelationshipKind::Davison;
    r.moment = (woman.Moment + man.Moment) / 2;
    r.place = *mid;
    ComputeChart(r.moment, r.chart);
    if (woman.TimeKnown == 0 || man.TimeKnown == 0) {
        r.noHouses = NoHousesSentence(woman.TimeKnown == 0 ? "время рождения женщины неизвестно"
                                                           : "время рождения мужчины неизвестно");
    } else {
        TCusps cusps{};
        if (ComputeHousesAt(r.place.longitude, r.place.latitude, r.moment, cusps) == HouseStatus::Computed)
            r.cusps = cusps;
        else
            r.noHouses = NoHousesSentence("середина между местами рождения лежит дальше 65° от экватора, где дома "
                                          "по Плацидусу не строятся");
    }
    FinishChart(r);
    return r;
}

RelationshipCharts RelationshipChartsOf(const PersonRecord& woman, const PersonRecord& man) {
    const PersonChart w = ChartOf(woman);
    const PersonChart m = ChartOf(man);
    std::string noHouses;
    if (!w.cusps) noHouses = NoHousesSentence(PersonWithoutHouses(woman, true));
    else if (!m.cusps) noHouses = NoHousesSentence(PersonWithoutHouses(man, false));

    RelationshipCharts out;
    out.woman = woman;
    out.man = man;
    out.composite = CompositeOf(w.chart, m.chart, w.cusps ? &*w.cusps : nullptr, m.cusps ? &*m.cusps : nullptr,
                                std::move(noHouses));
    try {
        out.davison = DavisonOf(woman, man);
    } catch (const Error& e) {
        out.davisonRefusal = e.what();
    }
    return out;
}

// ---- Texts of the pages ------------------------------------------------------

CalendarMoment CalendarOf(double dayNumber) {
    CalendarMoment c;
    // Far beyond any birth the integer fields could not hold the date: none.
    if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 1e8) return c;
    // Whole minutes since 1899-12-31 0h UT (day number 0 is noon of that day).
    const double minutes = std::round((dayNumber + 0.5) * 1440);
    const double day = std::floor(minutes / 1440);
    const int minuteOfDay = static_cast<int>(minutes - day * 1440);
    c.hour = minuteOfDay / 60;
    c.minute = minuteOfDay % 60;
    // The civil day's Julian Day number, then the calendar (Julian before 15 October 1582).
    const double z = day + 2415020;
    double a = z;
    if (z >= 2299161) {
        const double alpha = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::floor(alpha / 4);
    }
    const double b = a + 1524;
    const double cc = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(365.25 * cc);
    const double e = std::floor((b - d) / 30.6001);
    c.day = static_cast<int>(b - d - std::floor(30.6001 * e));
    c.month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    c.year = static_cast<int>(c.month > 2 ? cc - 4716 : cc - 4715);
    return c;
}

std::string MomentText(double dayNumber) {
    const CalendarMoment c = CalendarOf(dayNumber);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d", c.day, c.month, c.year, c.hour, c.minute);
    return buf;
}

namespace {

std::string AngleText(double value, const char* positive, const char* negative) {
    const long long minutes = std::llround(std::fabs(value) * 60);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld°%02lld’ %s", minutes / 60, minutes % 60, value < 0 && minutes > 0 ? negative : positive);
    return buf;
}

}  // namespace

std::string LatitudeText(double latitude) { return AngleText(latitude, "с. ш.", "ю. ш."); }
std::string LongitudeTextOfPlace(double longitude) { return AngleText(longitude, "в. д.", "з. д."); }

std::string DisplayName(const PersonRecord& p) {
    std::string name(p.Name.view());
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return Cp1251ToUtf8(name);
}

const char* RelationshipChoiceName(RelationshipKind kind) {
    return kind == RelationshipKind::Composite ? "Композит" : "Давидсон";
}

const char* RelationshipTitle(RelationshipKind kind) {
    return kind == RelationshipKind::Composite ? "Композитная карта" : "Карта Давидсона";
}

}  // namespace pelorin
