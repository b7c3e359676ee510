#include "people/person_chart.h"

#include <cmath>
#include <cstdio>
#include <optional>

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
// Nothing, and `why` saying so, when the field is not a number.
std::optional<int> FieldNumber(const std::string& text, std::size_t from, std::size_t length, std::string& why) {
    const std::string f = Field(text, from, length);
    std::size_t i = 0;
    while (i < f.size() && f[i] == ' ') ++i;
    bool negative = false;
    if (i < f.size() && (f[i] == '+' || f[i] == '-')) negative = f[i++] == '-';
    const std::size_t digitsFrom = i;
    int value = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') value = value * 10 + (f[i++] - '0');
    if (i == digitsFrom || i != f.size()) {
        why = "места «" + Cp1251ToUtf8(text) + "» не читаются: «" + Cp1251ToUtf8(f) + "» в позициях " +
              std::to_string(from + 1) + "–" + std::to_string(from + length) + " не число";
        return std::nullopt;
    }
    return negative ? -value : value;
}

// ParseCoordText without the exception: false, and `why` ("места «…» не
// читаются: …", to follow the word "координаты"), when a field is not a number.
bool ReadCoordText(const std::string& coordText, PlaceCoords& p, std::string& why) {
    const std::string text = coordText.substr(0, 19);
    p = PlaceCoords{};
    // A cleared record's blanks name no place: Greenwich on the equator.
    if (text.find_first_not_of(' ') == std::string::npos) return true;
    // Every number field is converted, whatever the hemisphere letters say: a
    // text shifted by one position has its letters out of place as well, and
    // reading it as 0 degrees would compute other houses in silence.
    const auto lonDeg = FieldNumber(text, 0, 3, why);
    const auto lonMin = lonDeg ? FieldNumber(text, 4, 2, why) : std::nullopt;
    const auto latDeg = lonMin ? FieldNumber(text, 11, 2, why) : std::nullopt;
    const auto latMin = latDeg ? FieldNumber(text, 14, 2, why) : std::nullopt;
    if (!latMin) return false;
    const std::string lonMark = Field(text, 7, 2);
    if (lonMark == kEast || lonMark == kWest) {
        p.longitude = *lonDeg + *lonMin / 60.0;
        if (lonMark == kWest) p.longitude = -p.longitude;
    }
    const std::string latMark = Field(text, 17, 2);
    if (latMark == kNorth || latMark == kSouth) {
        p.latitude = *latDeg + *latMin / 60.0;
        if (latMark == kSouth) p.latitude = -p.latitude;
    }
    return true;
}

std::string TrimmedName(const PersonRecord& person) {
    std::string name(person.Name.view());
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

}  // namespace

std::string RecordProblem(const PersonRecord& person, bool withPlace) {
    const double moment = person.Moment;
    if (!IsServedMoment(moment)) {
        char value[64];
        std::snprintf(value, sizeof value, "%.10g", moment);
        return std::isfinite(moment) ? std::string("момент рождения ") + value +
                                           " лежит вне 1600–2399 годов, которые рассчитывает программа"
                                     : std::string("момент рождения не конечное число (") + value + ")";
    }
    PlaceCoords p;
    std::string why;
    if (withPlace && !ReadCoordText(person.CoordText.str(), p, why)) return "координаты " + why;
    return {};
}

std::string DamagedRecordMessage(const PersonRecord& person, const std::string& personFile, const std::string& why) {
    return "Запись «" + EchoText(Cp1251ToUtf8(TrimmedName(person))) + "» (" +
           EchoText(Cp1251ToUtf8(person.DateText.view())) + ") в файле «" + personFile + "» повреждена: " + why +
           ". Анализ не выполнен; исправьте или удалите эту запись.";
}

void RequireServedMoment(const PersonRecord& person, const std::string& personFile) {
    const std::string why = RecordProblem(person, false);
    if (!why.empty()) throw Error(DamagedRecordMessage(person, personFile, why));
}

void RequireComputableRecord(const PersonRecord& person, bool withPlace, const std::string& personFile) {
    const std::string why = RecordProblem(person, withPlace);
    if (!why.empty()) throw Error(DamagedRecordMessage(person, personFile, why));
}

PlaceCoords ParseCoordText(const std::string& coordText) {
    PlaceCoords p;
    std::string why;
    if (!ReadCoordText(coordText, p, why)) throw Error("Координаты " + why + ".");
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
