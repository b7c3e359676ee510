#pragma once
// Placidus house cusps of a birth moment and place. Only the woman of a pair gets
// houses.
#include <string>

#include "astro/chart_types.h"

namespace pelorin {

// Beyond this latitude (radians, 65.002 degrees) the Placidus semi-arcs fail
// for part of the ecliptic and no houses are computed.
inline constexpr double kPlacidusLatitudeLimit = 1.1345;

enum class HouseStatus {
    Computed,       // the twelve cusps are filled
    BeyondLatitude  // |latitude| beyond the limit: every cusp is 0 (no houses)
};

// Fills cusps 1..12 for the day number `moment` at a place given in degrees
// (longitude east positive, latitude north positive). Beyond the latitude limit
// every cusp is set to 0 and BeyondLatitude returned, so that nothing of an
// earlier computation survives.
HouseStatus ComputeHousesAt(double longitudeDeg, double latitudeDeg, double moment, TCusps& cusps);

// Right ascension of the midheaven (radians) of the day number at a longitude.
double RamcOf(double moment, double longitudeDeg);

// The two angles; eps is the obliquity (radians), angles in radians, results in
// degrees. The intermediate cusps follow by the semi-arc iteration.
double MidheavenOf(double ramc, double eps);
double AscendantOf(double phi, double ramc, double eps);

}  // namespace pelorin
