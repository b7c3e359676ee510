#pragma once
// The engine's computations taking a person record: the birth moment formed from
// the record's date, time and zone, the chart at its moment and the houses at its
// moment and place (the coordinate text read here, where the record lives).
#include <optional>
#include <string>

#include "astro/chart_types.h"
#include "astro/houses.h"
#include "people/person_record.h"

namespace pelorin {

// Sets `Hour` and `Minute` (12:00 when the time is unknown) and `Moment` of a
// record from its date, time, `TimeKnown`, `Zone` and `ShiftFlag`.
void StoreBirthMoment(PersonRecord& record);

// The chart at the person's birth moment (`Moment`, the only field used).
void ComputeChart(const PersonRecord& person, TChart& chart);

// Why the record cannot be computed (UTF-8, lower case, no full stop), or empty
// when it can: a `Moment` the engine does not serve (IsServedMoment), or, with
// `withPlace` (the person whose houses are computed), a coordinate text whose
// number fields do not read.
std::string RecordProblem(const PersonRecord& person, bool withPlace);

// "Запись «Name» (date) в файле «personFile» повреждена: <why>. …" (UTF-8).
std::string DamagedRecordMessage(const PersonRecord& person, const std::string& personFile, const std::string& why);

// Throws Error naming the person and `personFile` unless the person's `Moment`
// is a birth moment the engine serves (IsServedMoment): a damaged record is
// refused, never computed. Nothing is written.
void RequireServedMoment(const PersonRecord& person, const std::string& personFile);

// The same for everything RecordProblem checks.
void RequireComputableRecord(const PersonRecord& person, bool withPlace, const std::string& personFile);

// The place of a coordinate text, degrees: longitude east positive, latitude
// north positive.
struct PlaceCoords {
    double longitude = 0;
    double latitude = 0;
};

// Reads a coordinate text (Windows-1251, such as " 37°37’ВД  55°45’СШ") by
// character position: 1-3 longitude degrees, 5-6 minutes, 8-9 "ВД" or "ЗД",
// 12-13 latitude degrees, 15-16 minutes, 18-19 "СШ" or "ЮШ"; a longer text is cut
// to 19 characters. A coordinate whose hemisphere letters are neither of its two
// stays 0. Throws Error when one of the four number fields is not a number
// (whatever the letters); a text of blanks only is 0, 0.
PlaceCoords ParseCoordText(const std::string& coordText);

// Fills cusps 1..12 for the day number `moment` at the place of `coordText`.
// Beyond the latitude limit every cusp is set to 0 and BeyondLatitude returned,
// so that nothing of an earlier computation survives. A coordinate text that is
// not a number throws Error (the cusps are then 0 too).
HouseStatus ComputeHouses(const std::string& coordText, double moment, TCusps& cusps);

// The houses of a person: the CoordText at the Moment. (The woman's always; a
// man's where HasHouses.)
HouseStatus ComputeHouses(const PersonRecord& person, TCusps& cusps);

// Whether a person's houses can be known: the birth time is given and the
// CoordText names a place (both hemisphere marks there). A man entered with a
// typed place (no time, the fixed coordinate text) has none; a woman without
// her birth time has cusps computed but not counted.
bool HasHouses(const PersonRecord& person);

// A person's chart, with the Placidus cusps where the person has houses.
struct PersonChart {
    TChart chart{};
    // Cusps 1..12 when HasHouses and the place lies within the latitude limit;
    // nothing otherwise.
    std::optional<TCusps> cusps;
    // How the houses came out; nothing when the person has none to compute.
    std::optional<HouseStatus> houses;
};

// The chart at the person's Moment and, where HasHouses, the cusps at the
// CoordText. Throws Error as ComputeHouses does for a coordinate text that is
// not a number; the Moment is not checked (see RequireServedMoment).
PersonChart ChartOf(const PersonRecord& person);

}  // namespace pelorin
