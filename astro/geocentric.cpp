#include "astro/geocentric.h"

#include <cmath>

#include "astro/base_routines.h"

namespace pelorin {

namespace {

constexpr double kTurn = 6.28318530718;
constexpr double kArcSecPerRad = 206264.806247;
// The conversion routine's own constants: the fixed obliquity and its way back to degrees.
constexpr double kCosFixedObliquity = 0.917408;
constexpr double kSinFixedObliquity = 0.397949;
constexpr double kConversionRadPerDeg = 0.01745329252;

// The sine and cosine of an obliquity, kept for the last argument: the bodies of
// one chart share the moment and so the obliquity.
struct ObliquityPhasor {
    double arg = 0, c = 1, s = 0;
    void Of(double eps) {
        if (eps == arg) return;  // the initial state is right for 0
        arg = eps;
        c = std::cos(eps);
        s = std::sin(eps);
    }
};
thread_local ObliquityPhasor tSeriesObliquity;
thread_local ObliquityPhasor tDateObliquity;

}  // namespace

double CenturiesFromJD(double jd) {
    // The hour-of-day term of this routine is always zero hours.
    return (jd - kJulianDayOfDayZero) / 36525.0;
}

double ReduceTurn(double x) { return x - kTurn * std::trunc(x / kTurn); }

SeriesResult FinishSeries(double lambda, double beta, double r, double T) {
    SeriesResult s;
    s.lambda = ReduceTurn(lambda);
    s.beta = beta;
    s.r = r;
    const double eps = (84428.26 - 46.845 * T) / kArcSecPerRad;
    const double cb = std::cos(s.beta), sb = std::sin(s.beta);
    const double cl = std::cos(s.lambda), sl = std::sin(s.lambda);
    tSeriesObliquity.Of(eps);
    const double ce = tSeriesObliquity.c, se = tSeriesObliquity.s;
    s.X = r * cb * cl;
    s.Y = r * (cb * sl * ce - sb * se);
    s.Z = r * (cb * sl * se + sb * ce);
    return s;
}

EclipticPlace EquatorialToEcliptic(int mode, double X, double Y, double Z, SunVector& sun) {
    if (mode == kModeSun) {
        sun.x = X;
        sun.y = Y;
        sun.z = Z;
        sun.known = false;
    } else if (mode != kModeGeocentric) {
        X += sun.x;
        Y += sun.y;
        Z += sun.z;
    }
    const double y = Y / X;
    // cos of the right ascension, atan(y) or atan(y) + pi: 1 / sqrt(1 + y^2) with
    // the sign of X (off the axis X = 0, where the arc tangent's cosine is taken).
    const double c = X > 0    ? 1.0 / std::sqrt(1.0 + y * y)
                     : X < 0  ? -1.0 / std::sqrt(1.0 + y * y)
                              : std::cos(std::atan(y));
    const double t = (Z / X) * c;  // tan of the declination
    const double w = kCosFixedObliquity * y + kSinFixedObliquity * t / c;
    double lambda = std::atan(w);
    if (c < 0) lambda += kPi;
    // cos(lambda) likewise: lambda is atan(w), or atan(w) + pi when c < 0. Within
    // a few hundredths of a degree of 90 and 270 the cosine of the rounded arc
    // tangent is taken, as always: the latitudes there stay what they were.
    const double cosLambda = std::fabs(w) < 1000.0 ? (c < 0 ? -1.0 : 1.0) / std::sqrt(1.0 + w * w)
                                                   : std::cos(lambda);
    const double beta = std::atan(cosLambda * (kCosFixedObliquity * t / c - kSinFixedObliquity * y));
    EclipticPlace p;
    p.lat = beta / kConversionRadPerDeg;
    p.lon = lambda / kConversionRadPerDeg;
    if (p.lon < 0) p.lon += 360.0;
    return p;
}

double DateObliquityDeg(double T) {
    return 23.452294 - (46.845 * T + 0.0059 * T * T - 0.001811 * T * T * T) / 3600.0;
}

void FillBodyFromEcliptic(double d, double lonDeg, double latDeg, TChartBody& body) {
    const double jd = d + kJulianDayOfDayZero;
    const double T = CenturiesFromJD(jd);
    body.Lon = lonDeg;
    body.Lat = latDeg;

    tDateObliquity.Of(DateObliquityDeg(T) * kDriverDegToRad);
    const double ce = tDateObliquity.c, se = tDateObliquity.s;
    const double lambda = body.Lon * kDriverDegToRad;
    const double beta = body.Lat * kDriverDegToRad;

    // Declination.
    const double sl = std::sin(lambda), cl = std::cos(lambda);
    const double sb = std::sin(beta), cb = std::cos(beta);
    const double s = sb * ce + cb * se * sl;
    body.Decl = std::atan(s / std::sqrt(1.0 - s * s)) / kDriverDegToRad;

    // Right ascension, put into the quadrant of (d, n).
    const double n = sl * ce - sb / cb * se;
    const double dd = cl;
    double a = std::atan(n / dd) / kDriverDegToRad;
    if (dd < 0 && n >= 0) a += 180.0;
    if (dd >= 0 && n < 0) a += 360.0;
    if (dd < 0 && n < 0) a += 180.0;
    // A tiny negative angle plus 360 can round to 360 itself: that is 0 hours.
    if (a >= 360.0) a -= 360.0;
    body.RA = a / 15.0;

    body.Lon = NormDeg(body.Lon);
    int sign = 1;
    while (sign < 12 && body.Lon >= 30.0 * sign) ++sign;
    body.Sign = sign;
}

}  // namespace pelorin
