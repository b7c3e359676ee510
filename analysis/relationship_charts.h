#pragma once
// The charts of a relationship, drawn from the two births of a pair:
// - the composite chart: every body at the midpoint of her and his longitudes,
//   the houses by the midpoints of the corresponding cusps when both have houses;
// - the Davison chart: the engine's chart of the mean of the two birth moments at
//   the great-circle midpoint of the two birth places, with Placidus cusps there.
// Each chart carries its bodies' houses and the aspects among its own bodies,
// found with the natal orbs.
#include <optional>
#include <string>

#include "analysis/aspects.h"
#include "astro/chart_types.h"
#include "people/person_chart.h"
#include "people/person_record.h"

namespace pelorin {

enum class RelationshipKind { Composite, Davison };

struct RelationshipChart {
    RelationshipKind kind = RelationshipKind::Composite;
    // Lon and the integer fields of the ten bodies; for the Davison chart the
    // whole chart of the engine.
    TChart chart{};
    // Cusps 1..12 where the chart has houses.
    std::optional<TCusps> cusps;
    // Why there are no houses (UTF-8, a whole sentence); empty with houses.
    std::string noHouses;
    // Each body's house 1..12; all 0 without houses.
    HouseOverlay houses{};
    // The aspects among the chart's own bodies with the natal orbs: symmetric,
    // diagonal 0, as the man's natal grid.
    NatalAspectGrid aspects{};
    // The Davison chart's moment (day number, UT) and place (degrees, north and
    // east positive); 0 for the composite.
    double moment = 0;
    PlaceCoords place{};
};

// Both charts of a pair. The composite always exists; the Davison chart only
// when both birth places are known, else `davisonRefusal` says why (UTF-8).
struct RelationshipCharts {
    // The pair the charts belong to (the people chosen later may differ).
    PersonRecord woman{};
    PersonRecord man{};
    RelationshipChart composite;
    std::optional<RelationshipChart> davison;
    std::string davisonRefusal;
};

// The midpoint of two longitudes on the shorter arc between them, [0, 360).
// Exactly opposite longitudes have two midpoints; the one at the woman's
// longitude + 90 is taken (the limit of the shorter arc's midpoint as the arc
// grows to 180 degrees counter-clockwise from her body).
double MidpointLongitude(double woman, double man);

// The composite cusps by the midpoint-cusp method: the Midheaven (cusp 10) at
// the midpoint of the two Midheavens, every other cusp at the midpoint of the
// two corresponding cusps counted on from each person's Midheaven, so that the
// twelve stay in their order around the circle and opposite cusps stay
// opposite. Where the two persons' houses lie within half a circle of each
// other (almost always) every cusp is the shorter-arc midpoint of the two.
TCusps CompositeCusps(const TCusps& woman, const TCusps& man);

// The composite chart of two charts, with houses when both cusps are given.
// `noHouses` is kept as the reason shown when there are none.
RelationshipChart CompositeOf(const TChart& woman, const TChart& man, const TCusps* womanCusps,
                              const TCusps* manCusps, std::string noHouses = {});

// The great-circle midpoint of two places (degrees; longitude in (-180, 180]).
// Nothing for two places exactly opposite on the globe, whose midpoint is not
// defined.
std::optional<PlaceCoords> GreatCircleMidpoint(const PlaceCoords& a, const PlaceCoords& b);

// Whether a person has a birth place with coordinates: the coordinate text
// names both hemispheres and is not the fixed text of a man whose place was
// typed (no time, the mark "L").
bool HasBirthPlace(const PersonRecord& person);

// The Davison chart of a woman and a man. Houses when both birth times are
// known and the midpoint lies within the latitude limit. Throws Error with
// the message the user is shown when a place is missing, unreadable or the two
// places are antipodal.
RelationshipChart DavisonOf(const PersonRecord& woman, const PersonRecord& man);

// Both charts of a pair, from the two persons' charts (ChartOf): the composite
// with houses when both have houses; the Davison chart, or the reason there is
// none. Throws Error only as ChartOf does for a coordinate text that is not a
// number.
RelationshipCharts RelationshipChartsOf(const PersonRecord& woman, const PersonRecord& man);

// ---- Texts of the pages ------------------------------------------------------

// A calendar date and time of a day number, Universal Time, rounded to the
// minute (Julian calendar before 15 October 1582, as DayNumberOf counts); the
// default 01.01.1900 00:00 for a value that is not a number or lies beyond
// some 270,000 years.
struct CalendarMoment {
    int day = 1, month = 1, year = 1900, hour = 0, minute = 0;
};
CalendarMoment CalendarOf(double dayNumber);

// "31.12.1999 18:00" (UTF-8).
std::string MomentText(double dayNumber);

// "55°45’ с. ш." and "37°37’ в. д." (UTF-8, every character also in
// Windows-1251 for the printed page), whole minutes, rounded.
std::string LatitudeText(double latitude);
std::string LongitudeTextOfPlace(double longitude);

// A person's name without its trailing blanks, UTF-8.
std::string DisplayName(const PersonRecord& person);

// "Композит" / "Давидсон": the page's choice; and the chart's title.
const char* RelationshipChoiceName(RelationshipKind kind);
const char* RelationshipTitle(RelationshipKind kind);

}  // namespace pelorin
