#pragma once
// Placidus house cusps of a birth moment and place. Only the woman of a pair gets
// houses.
#include <string>

#include "astro/chart_types.h"
#include "people/person_record.h"

namespace pelorin {

// Beyond this latitude (radians, 65.002 degrees) the Placidus semi-arcs fail
// for part of the ecliptic and no houses are computed.
inline constexpr double kPlacidusLatitudeLimit = 1.1345;

enum class HouseStatus {
    Computed,       // the twelve cusps are filled
    BeyondLatitude  // |latitude| beyond the limit: every cusp is 0 (no houses)
};

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
// stays 0. Throws Error when a field that is read is not a number.
PlaceCoords ParseCoordText(const std::string& coordText);

// Fills cusps 1..12 for the day number `moment` at the place of `coordText`.
// Beyond the latitude limit every cusp is set to 0 and BeyondLatitude returned,
// so that nothing of an earlier computation survives. A coordinate text that is
// not a number throws Error (the cusps are then 0 too).
HouseStatus ComputeHouses(const std::string& coordText, double moment, TCusps& cusps);

// The woman's houses: her CoordText at her Moment.
HouseStatus ComputeHouses(const PersonRecord& woman, TCusps& cusps);

// The same from coordinates already read (degrees).
HouseStatus ComputeHousesAt(double longitudeDeg, double latitudeDeg, double moment, TCusps& cusps);

// Right ascension of the midheaven (radians) of the day number at a longitude.
double RamcOf(double moment, double longitudeDeg);

// The three constructions of the cusps; eps is the obliquity (radians), angles
// in radians, results in degrees.
double MidheavenOf(double ramc, double eps);
double AscendantOf(double phi, double ramc, double eps);
// One intermediate cusp by the semi-arc iteration: `below` for cusps 2 and 3,
// above the horizon for cusps 11 and 12. The result is not reduced.
double PlacidusCusp(double phi, double ramc, double start, double divisor, bool below, double eps);

}  // namespace pelorin
