#pragma once
// One person's positions: the chart record and the woman's house cusps.
#include <array>
#include <cstdint>

namespace pelorin {

struct TChartBody {
    double Lon = 0;    // geocentric ecliptic longitude, degrees, [0, 360)
    double Decl = 0;   // declination, degrees
    double Lat = 0;    // ecliptic latitude, degrees
    double RA = 0;     // right ascension, hours
    double Speed = 0;  // never computed; a negative value would print as retrograde
    std::int32_t Deg = 0, Min = 0, Sec = 0;  // Lon truncated
    std::int32_t Sign = 0;                   // 1 (Aries) .. 12 (Pisces)
    std::int32_t SignDeg = 0;                // whole degrees in the sign, 0..29
    std::int32_t SignDegOrd = 0;             // SignDeg + 1
};

// Chart order of the bodies; the databases number them 1..10 in the same order.
enum BodyIndex : int {
    kSun = 0, kMoon, kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune, kPluto
};
inline constexpr int kBodyCount = 10;
inline constexpr int kChartCapacity = 53;  // room kept in the record; only ten are computed

struct TChart {
    std::array<TChartBody, kChartCapacity> body{};
    TChartBody& operator[](int i) { return body[static_cast<std::size_t>(i)]; }
    const TChartBody& operator[](int i) const { return body[static_cast<std::size_t>(i)]; }
};

// Cusps 1..12 (index 0 unused): longitudes in degrees; cusp 1 the Ascendant,
// cusp 10 the Midheaven. All zero means no houses.
struct TCusps {
    std::array<double, 13> cusp{};
    double& operator[](int i) { return cusp[static_cast<std::size_t>(i)]; }
    double operator[](int i) const { return cusp[static_cast<std::size_t>(i)]; }
};

}  // namespace pelorin
