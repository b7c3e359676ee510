// The Sun: its series, the Sun vector every planet driver starts from, and the
// Sun's own driver.
#include <cmath>

#include "astro/base_routines.h"
#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {
// Perturbations by Venus, Mars and Jupiter in longitude (radians) and in the
// logarithm of the radius (millionths); angles g, Venus, Mars (twice its mean
// longitude) and Jupiter.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {0.00002346, {-1, 1, 0, 0}, 5.2203},
    {0.00002679, {-2, 2, 0, 0}, 2.5886},
    {0.00001211, {-3, 2, 0, 0}, 5.5143},
    {0.00000756, {-4, 3, 0, 0}, 6.0258},
    {0.00000496, {-5, 3, 0, 0}, 5.5528},
    {0.0000099, {2, 0, -1, 0}, 6.002},
    {0.00000858, {1, 0, -1, 0}, 3.4977},
    {0.00003495, {1, 0, 0, -1}, 3.1334},
    {0.00001261, {0, 0, 0, -1}, 4.594},
    {0.00001324, {2, 0, 0, -2}, 1.521},
    {0.00000781, {1, 0, 0, -2}, 1.911},
};
constexpr PeriodicTerm kRadiusTerms[] = {
    {2.4, {-1, 1, 0, 0}, 3.6491},
    {6.8, {-2, 2, 0, 0}, 1.0178},
    {1.0, {-3, 3, 0, 0}, 1.5284},
    {1.5, {-4, 3, 0, 0}, 4.455},
    {2.1, {2, 0, -1, 0}, 4.4301},
    {7.1, {1, 0, 0, -1}, 1.5629},
    {4.0, {2, 0, 0, -2}, 6.2327},
    {1.5, {1, 0, 0, -2}, 0.3398},
};
}  // namespace

SeriesResult SunSeries(double T) {
    using std::cos;
    using std::sin;
    const double T2 = T * T;
    const double M = ReduceTurn(6.25658358 + 628.301946 * T + 0.0000026 * T2);
    const double g = M + 0.000031 * sin(4.035 + 0.3526 * T) + 0.0000091 * sin(0.999 + 2.6227 * T);
    const Harmonics gh(g, 5);
    double lambda = 4.908229 + 0.03000526 * T + 0.0000079 * T2 + g +
                    (0.0335009 - 0.00008358 * T) * gh.pos[1].s + (0.0003507 - 0.00000175 * T) * gh.pos[2].s +
                    0.00000511 * gh.pos[3].s;
    // Moon.
    const Phasor A = PhasorOf(6.1215 + 7771.38 * T);
    const double cosA = A.c;
    lambda += 0.0000312 * A.s;
    // Venus, Mars and Jupiter.
    const Harmonics C(3.708 + 1021.3229 * T, 3);
    const Harmonics J(2 * (5.5777 + 334.0556 * T), 1);
    const Harmonics N(3.9319 + 52.9635 * T, 2);
    const Harmonics* const angles[4] = {&gh, &C, &J, &N};
    static const PeriodicTable longitudeTerms(kLongitudeTerms);
    static const PeriodicTable radiusTerms(kRadiusTerms);
    lambda += longitudeTerms.SumCos(angles);
    // Radius vector and its logarithmic perturbation in millionths.
    const double e = 0.01675104 - 0.0000418 * T;
    const double k = 3 * e * e * e / 8;
    double r = 1 + e * e / 2 + (k - e) * gh.pos[1].c - (e * e / 2) * gh.pos[2].c - k * gh.pos[3].c;
    const double P = 13.4 * cosA + radiusTerms.SumCos(angles);
    r *= std::pow(10.0, P / 1000000.0);
    return FinishSeries(lambda, 0.0, r, T);
}

EclipticPlace SunPlaceAndVector(double d, SunVector& sun) {
    const double jd = d + kJulianDayOfDayZero;
    const double T = CenturiesFromJD(jd);
    const SeriesResult s = SunSeries(T);
    const EclipticPlace p = EquatorialToEcliptic(kModeSun, s.X, s.Y, s.Z, sun);
    sun.known = true;
    sun.day = d;
    return p;
}

namespace {

// Steps 1 to 3 of EarthSunVector. The entry it would fill is overwritten by every
// planet driver, and a vector already computed for this very day number is the
// same to the last bit, so a chart runs the Sun series once, not nine times.
void SunVectorOf(double d, SunVector& sun) {
    if (sun.known && sun.day == d) return;
    SunPlaceAndVector(d, sun);
}

}  // namespace

void EarthSunVector(double d, TChartBody& body, SunVector& sun) {
    const EclipticPlace p = SunPlaceAndVector(d, sun);
    FillBodyFromEcliptic(d, p.lon, p.lat, body);
}

void ComputeSun(double d, TChartBody& body, SunVector& sun) {
    const EclipticPlace p = SunPlaceAndVector(d, sun);
    FillBodyFromEcliptic(d, p.lon, p.lat, body);
}

void ComputeSeriesBody(double d, SeriesFunction series, int mode, TChartBody& body, SunVector& sun) {
    SunVectorOf(d, sun);
    const double jd = d + kJulianDayOfDayZero;
    const double T = CenturiesFromJD(jd);
    const SeriesResult s = series(T);
    const EclipticPlace p = EquatorialToEcliptic(mode, s.X, s.Y, s.Z, sun);
    FillBodyFromEcliptic(d, p.lon, p.lat, body);
}

}  // namespace pelorin
