// The Sun: its series, the Sun vector every planet driver starts from, and the
// Sun's own driver.
#include <cmath>

#include "astro/base_routines.h"
#include "astro/bodies.h"

namespace pelorin {

SeriesResult SunSeries(double T) {
    using std::cos;
    using std::sin;
    const double T2 = T * T;
    const double M = ReduceTurn(6.25658358 + 628.301946 * T + 0.0000026 * T2);
    const double g = M + 0.000031 * sin(4.035 + 0.3526 * T) + 0.0000091 * sin(0.999 + 2.6227 * T);
    double lambda = 4.908229 + 0.03000526 * T + 0.0000079 * T2 + g +
                    (0.0335009 - 0.00008358 * T) * sin(g) + (0.0003507 - 0.00000175 * T) * sin(2 * g) +
                    0.00000511 * sin(3 * g);
    // Moon.
    const double A = 6.1215 + 7771.38 * T;
    lambda += 0.0000312 * sin(A);
    // Venus.
    const double C = 3.708 + 1021.3229 * T;
    lambda += 0.00002346 * cos(C + 5.2203 - g) + 0.00002679 * cos(2 * C + 2.5886 - 2 * g) +
              0.00001211 * cos(2 * C + 5.5143 - 3 * g) + 0.00000756 * cos(3 * C + 6.0258 - 4 * g) +
              0.00000496 * cos(3 * C + 5.5528 - 5 * g);
    // Mars.
    const double J = 2 * (5.5777 + 334.0556 * T);
    lambda += 0.0000099 * cos(2 * g + 6.002 - J) + 0.00000858 * cos(g + 3.4977 - J);
    // Jupiter.
    const double N = 3.9319 + 52.9635 * T;
    lambda += 0.00003495 * cos(g + 3.1334 - N) + 0.00001261 * cos(4.594 - N) +
              0.00001324 * cos(2 * g + 1.521 - 2 * N) + 0.00000781 * cos(g + 1.911 - 2 * N);
    // Radius vector and its logarithmic perturbation in millionths.
    const double e = 0.01675104 - 0.0000418 * T;
    const double k = 3 * e * e * e / 8;
    double r = 1 + e * e / 2 + (k - e) * cos(g) - (e * e / 2) * cos(2 * g) - k * cos(3 * g);
    const double P = 13.4 * cos(A) + 2.4 * cos(C + 3.6491 - g) + 6.8 * cos(2 * C + 1.0178 - 2 * g) +
                     1.0 * cos(3 * C + 1.5284 - 3 * g) + 1.5 * cos(3 * C + 4.455 - 4 * g) +
                     2.1 * cos(2 * g + 4.4301 - J) + 7.1 * cos(g + 1.5629 - N) +
                     4.0 * cos(2 * g + 6.2327 - 2 * N) + 1.5 * cos(g + 0.3398 - 2 * N);
    r *= std::pow(10.0, P / 1000000.0);
    return FinishSeries(lambda, 0.0, r, T);
}

namespace {

EclipticPlace SunPlaceAndVector(double d, SunVector& sun) {
    const double jd = d + kJulianDayOfDayZero;
    const double T = CenturiesFromJD(jd);
    const SeriesResult s = SunSeries(T);
    const EclipticPlace p = EquatorialToEcliptic(kModeSun, s.X, s.Y, s.Z, sun);
    sun.known = true;
    sun.day = d;
    return p;
}

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
