#include "people/person_chart.h"

#include <cmath>
#include <cstdio>

#include "astro/birth_moment.h"
#include "astro/chart.h"
#include "base/cp1251.h"
#include "base/errors.h"

namespace pelorin {

namespace {

// Hemisphere letters in Windows-1251.
const std::string kEast = "\xC2\xC4";   // ВД
const std::string kWest = "\xC7\xC4";   // ЗД
const std::string kNorth = "\xD1\xD8";  // СШ
const std::string kSouth = "\xDE\xD8";  // ЮШ

std::string Field(const std::string& text, std::size_t from, std::size_t length) {
    if (from >= text.size()) return {};
    return text.substr(from, length);
}

// The ordinary integer conversion: leading blanks, an optional sign, digits.
int FieldNumber(const std::string& text, std::size_t from, std::size_t length) {
    const std::string f = Field(text, from, length);
    std::size_t i = 0;
    while (i < f.size() && f[i] == ' ') ++i;
    bool negative = false;
    if (i < f.size() && (f[i] == '+' || f[i] == '-')) negative = f[i++] == '-';
    const std::size_t digitsFrom = i;
    int value = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') value = value * 10 + (f[i++] - '0');
    if (i == digitsFrom || i != f.size()) {
        throw Error("Координаты места «" + Cp1251ToUtf8(text) + "» не читаются: «" + Cp1251ToUtf8(f) +
                    "» в позициях " + std::to_string(from + 1) + "–" + std::to_string(from + length) +
                    " не число.");
    }
    return negative ? -value : value;
}

}  // namespace

void RequireServedMoment(const PersonRecord& person, const std::string& personFile) {
    const double moment = person.Moment;
    if (IsServedMoment(moment)) return;
    std::string name(person.Name.view());
    while (!name.empty() && name.back() == ' ') name.pop_back();
    char value[64];
    std::snprintf(value, sizeof value, "%.10g", moment);
    const std::string why = std::isfinite(moment)
                                ? std::string("момент рождения ") + value +
                                      " лежит вне 1600–2399 годов, которые рассчитывает программа"
                                : std::string("момент рождения не конечное число (") + value + ")";
    throw Error("Запись «" + Cp1251ToUtf8(name) + "» (" + Cp1251ToUtf8(person.DateText.view()) + ") в файле «" +
                personFile + "» повреждена: " + why + ". Анализ не выполнен; исправьте или удалите эту запись.");
}

PlaceCoords ParseCoordText(const std::string& coordText) {
    const std::string text = coordText.substr(0, 19);
    PlaceCoords p;
    const std::string lonMark = Field(text, 7, 2);
    if (lonMark == kEast || lonMark == kWest) {
        p.longitude = FieldNumber(text, 0, 3) + FieldNumber(text, 4, 2) / 60.0;
        if (lonMark == kWest) p.longitude = -p.longitude;
    }
    const std::string latMark = Field(text, 17, 2);
    if (latMark == kNorth || latMark == kSouth) {
        p.latitude = FieldNumber(text, 11, 2) + FieldNumber(text, 14, 2) / 60.0;
        if (latMark == kSouth) p.latitude = -p.latitude;
    }
    return p;
}

HouseStatus ComputeHouses(const std::string& coordText, double moment, TCusps& cusps) {
    PlaceCoords p;
    try {
        p = ParseCoordText(coordText);
    } catch (...) {
        for (double& c : cusps.cusp) c = 0;
        throw;
    }
    return ComputeHousesAt(p.longitude, p.latitude, moment, cusps);
}

HouseStatus ComputeHouses(const PersonRecord& person, TCusps& cusps) {
    return ComputeHouses(person.CoordText.str(), person.Moment, cusps);
}

bool HasHouses(const PersonRecord& person) {
    if (person.TimeKnown == 0) return false;
    const std::string text = person.CoordText.str().substr(0, 19);
    const std::string lon = Field(text, 7, 2), lat = Field(text, 17, 2);
    return (lon == kEast || lon == kWest) && (lat == kNorth || lat == kSouth);
}

PersonChart ChartOf(const PersonRecord& person) {
    PersonChart c;
    ComputeChart(person.Moment, c.chart);
    if (!HasHouses(person)) return c;
    TCusps cusps{};
    c.houses = ComputeHouses(person, cusps);
    if (*c.houses == HouseStatus::Computed) c.cusps = cusps;
    return c;
}

void ComputeChart(const PersonRecord& person, TChart& chart) { ComputeChart(person.Moment, chart); }

void StoreBirthMoment(PersonRecord& record) {
    const bool known = record.TimeKnown != 0;
    if (!known) {
        record.Hour = 12;
        record.Minute = 0;
    }
    record.Moment = FormBirthMoment(record.Day, record.Month, record.Year, record.Hour,
                                    record.Minute, known, record.Zone, record.ShiftFlag == "L");
}

}  // namespace pelorin
