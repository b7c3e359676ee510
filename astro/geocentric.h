#pragma once
// From a body's rectangular equatorial coordinates to what a chart stores: the
// time argument of the series, the conversion to geocentric ecliptic longitude and
// latitude (with the Sun vector that carries heliocentric places to the Earth) and
// the shared last steps of every body driver (declination, right ascension, the
// reduced longitude and the sign).
#include "astro/chart_types.h"

namespace pelorin {

// Modes of EquatorialToEcliptic.
inline constexpr int kModeSun = 1;           // the Sun's coordinates: they become the Sun vector
inline constexpr int kModeGeocentric = 10;   // already geocentric (the Moon): nothing is added
inline constexpr int kModeHeliocentric = 2;  // a planet: the Sun vector is added first

// Degrees to radians as the drivers convert.
inline constexpr double kDriverDegToRad = 0.017453292519944444;

// Output of every series routine. lambda, beta in radians (lambda reduced to one
// turn, heliocentric for the planets, geocentric for the Sun and the Moon); r in
// astronomical units; X, Y, Z rectangular equatorial with the series obliquity.
struct SeriesResult {
    double lambda = 0;
    double beta = 0;
    double r = 0;
    double X = 0, Y = 0, Z = 0;
};

// The Sun's geocentric rectangular equatorial coordinates of the moment computed,
// handed from driver to driver (the three scratch doubles of a chart computation).
// `day` names the day number the Sun drivers computed them for, so that the
// drivers of one chart reuse them instead of repeating the same Sun series.
struct SunVector {
    double x = 0, y = 0, z = 0;
    bool known = false;  // x, y, z are the Sun drivers' result for `day`
    double day = 0;
};

// T in Julian centuries from 1900 January 0.5: (JD - 2415020) / 36525.
double CenturiesFromJD(double jd);

// An angle reduced to one turn the way the series do it: x - 2pi trunc(x / 2pi)
// with 2pi written 6.28318530718 (a negative angle stays negative).
double ReduceTurn(double x);

// Completes a series result: lambda reduced to one turn and X, Y, Z from lambda,
// beta, r with the series obliquity of the date, (84428.26 - 46.845 T)".
SeriesResult FinishSeries(double lambda, double beta, double r, double T);

struct EclipticPlace {
    double lon = 0;  // degrees, [0, 360)
    double lat = 0;  // degrees
};

// Rectangular equatorial (X, Y, Z) to ecliptic longitude and latitude in degrees
// with the fixed obliquity 23.45 degrees. Mode kModeSun stores (X, Y, Z) as the
// Sun vector; kModeGeocentric takes the coordinates as they are; any other mode
// adds the Sun vector first (heliocentric to geocentric).
EclipticPlace EquatorialToEcliptic(int mode, double X, double Y, double Z, SunVector& sun);

// Obliquity of the date in degrees for declination and right ascension:
// 23.452294 - (46.845 T + 0.0059 T^2 - 0.001811 T^3) / 3600.
double DateObliquityDeg(double T);

// The last steps every body driver shares: from a geocentric ecliptic longitude
// and latitude (degrees) at day number `d` it fills Lon, Lat, Decl (degrees), RA
// (hours, [0, 24)), Lon reduced to [0, 360) and Sign (1..12) of `body`. The time
// argument is formed from `d` as the drivers form it (JD = d + 2415020, then T).
// Nothing else of `body` is touched.
void FillBodyFromEcliptic(double d, double lonDeg, double latDeg, TChartBody& body);

}  // namespace pelorin
