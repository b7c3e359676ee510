#pragma once
// The geometric facts of a pair: the mutual aspects between the woman's and the
// man's bodies, the aspects among the man's own bodies, and the woman's houses in
// which the man's bodies stand. Everything works on the ecliptic longitudes only.
#include <array>
#include <cstdint>

#include "astro/chart_types.h"

namespace pelorin {

// Aspect angles in degrees, in the order in which they are tried.
inline constexpr std::array<std::uint8_t, 5> AspectAngles{0, 60, 90, 120, 180};

// Orb of a mutual aspect per body, chart order; the larger of the two bodies' orbs applies.
inline constexpr std::array<double, kBodyCount> MutualOrbs{6, 6, 4, 4, 4, 4, 4, 4, 4, 4};

// Orb of a natal aspect of the man per aspect, in the order of AspectAngles.
inline constexpr std::array<double, 5> NatalOrbs{10, 6, 7, 8, 9};

// Cell value of a grid without an aspect.
inline constexpr std::uint8_t kNoAspect = 255;

// 10 x 10 cells: [row][column], both in chart order. For the mutual grid the row
// is the woman's body and the column the man's; the natal grid has the man's
// bodies on both axes. A cell holds the exact angle (0, 60, 90, 120, 180) or 255.
using AspectGrid = std::array<std::array<std::uint8_t, kBodyCount>, kBodyCount>;
using NatalAspectGrid = AspectGrid;

// Per body of the man, chart order: the woman's house 1..12, or 0 for none.
using HouseOverlay = std::array<std::int32_t, kBodyCount>;

// Sets every cell to 255.
void ClearAspectGrid(AspectGrid& grid);

// `angle` when the shorter arc between longitudes a and b deviates from it by at
// most `orb` degrees (a deviation equal to the orb counts), 255 otherwise.
std::uint8_t MatchAspect(std::uint8_t angle, double orb, double a, double b);

// Fills `grid`: row = woman's body, column = man's body; first matching angle wins.
void FindMutualAspects(const TChart& woman, const TChart& man, AspectGrid& grid);

// Fills `grid` with the aspects among the man's bodies (symmetric, diagonal 0).
void FindNatalAspects(const TChart& man, NatalAspectGrid& grid);

// The woman's house of each of the man's bodies; a later house match overwrites an
// earlier one, a body in no house (for instance with all cusps zero) gets 0.
void PlaceInHouses(const TChart& man, const TCusps& cusps, HouseOverlay& overlay);

}  // namespace pelorin
