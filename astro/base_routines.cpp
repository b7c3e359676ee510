#include "astro/base_routines.h"

#include <cmath>
#include <cstdio>

namespace pelorin {

namespace {

struct NutationCache {
    bool valid = false;
    double day = 0;
    Nutation value{};
};
struct SunCache {
    bool valid = false;
    double day = 0;
    SunPlace value{};
};
NutationCache gNutationCache;
SunCache gSunCache;

}  // namespace

int TruncToInt(double x) {
    const double t = std::trunc(x);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) return 0;
    return static_cast<int>(t);
}

void ResetBaseCaches() {
    gNutationCache = {};
    gSunCache = {};
}

double Frac(double x) { return x - std::trunc(x); }

double NormDeg(double x) {
    double y = Frac(x / 360.0) * 360.0;
    return y < 0 ? y + 360.0 : y;
}

double NormRad(double x) {
    double y = Frac(x / 6.283185307) * 6.283185307;
    if (y < 0) y += 6.283185307;
    return y;
}

double ModuloOf(double m, double x) { return m * Frac(x / m); }

double DegToRad(double x) { return x * kPi / 180.0; }

double TanOf(double x) { return std::sin(x) / std::cos(x); }

double ArcSinOf(double x) {
    if (x >= 1.0) return kPi / 2;
    if (x <= -1.0) return -kPi / 2;
    return std::atan(x / std::sqrt(1.0 - x * x));
}

double ArcCosOf(double x) { return 1.5707963267948966 - ArcSinOf(x); }

double QuadrantAngle(double a, double b) {
    double t = a != 0 ? std::atan(b / a) : 1.5707963267948966;
    // On the negative a axis b / a is -0 and its arc tangent is -0, which is not
    // below 0: that point lies at pi, like every other point with a < 0.
    if (t < 0 || (a < 0 && b == 0)) t += kPi;
    if (b < 0) t += kPi;
    return t;
}

double PowerOf(double e, double base) {
    return std::exp2(e * std::log(base) * 1.4426950408889634);  // log2(e)
}

double DayNumberOf(int day, int month, int year, int hour, int minute, int second) {
    int y = year < 0 ? year + 1 : year;
    int m = month;
    if (month < 3) {
        m = month + 12;
        y = y - 1;
    }
    const bool gregorian =
        year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
    int b = 0;
    if (gregorian) {
        int a = TruncToInt(y / 100.0);
        b = 2 - a + TruncToInt(a / 4.0);
    }
    double c = y < 0 ? std::trunc(365.25 * y - 0.75) : std::trunc(365.25 * y);
    double d = std::trunc(30.6001 * (m + 1));
    return b + (c - 694025.0) + d + (day + hour / 24.0 + minute / 1440.0 + second / 86400.0) - 0.5;
}

Nutation NutationOf(double dayNumber) {
    if (gNutationCache.valid && std::fabs(dayNumber - gNutationCache.day) < 5.0)
        return gNutationCache.value;
    const double t = dayNumber / 36525.0;
    const double l = DegToRad(279.697 + 360.0 * Frac(100.0021358 * t));
    const double omega = DegToRad(259.183 - 360.0 * Frac(5.372616667 * t));
    const double dpsi = -17.2327 * std::sin(omega) - 1.2729 * std::sin(2 * l);
    const double deps = 9.21 * std::cos(omega) + 0.5522 * std::cos(2 * l);
    Nutation n{DegToRad(deps / 3600.0), DegToRad(dpsi / 3600.0)};
    gNutationCache = {true, dayNumber, n};
    return n;
}

KeplerSolution SolveKepler(double e, double meanAnomaly) {
    const double m = ModuloOf(6.283185307179586, meanAnomaly);
    double ecc = m;
    // Newton's iteration converges in a handful of steps for any orbit the engine
    // uses; the bound only guards against a pathological eccentricity.
    for (int i = 0; i < 100; ++i) {
        const double delta = ecc - e * std::sin(ecc) - m;
        if (std::fabs(delta) < 1e-6) break;
        ecc = ecc - delta / (1.0 - e * std::cos(ecc));
    }
    const double nu = 2.0 * std::atan(std::sqrt((1.0 + e) / (1.0 - e)) * std::tan(ecc / 2.0));
    return {nu, ecc};
}

SunPlace SunPosition(double dayNumber) {
    if (gSunCache.valid && std::fabs(dayNumber - gSunCache.day) < 0.00014) return gSunCache.value;
    const double t = dayNumber / 36525.0;
    const double t2 = t * t;
    const double l0 = 279.69668 + 360.0 * Frac(100.0021359 * t) + 0.0003025 * t2;
    const double m = 358.47583 + 360.0 * Frac(99.99736042 * t) - (0.00015 + 0.0000033 * t) * t2;
    const double e = 0.016751 - 0.0000418 * t - 0.000000126 * t2;
    const KeplerSolution k = SolveKepler(e, DegToRad(m));
    const double a = DegToRad(153.23 + 360.0 * Frac(62.55209472 * t));
    const double b = DegToRad(216.57 + 360.0 * Frac(125.1041894 * t));
    const double c = DegToRad(312.69 + 360.0 * Frac(91.56766028 * t));
    const double d = DegToRad(350.74 + 360.0 * Frac(1236.853095 * t) - 0.00144 * t2);
    const double e2 = DegToRad(231.19 + 20.2 * t);
    const double h = DegToRad(353.4 + 360.0 * Frac(183.1353208 * t));
    const double dl = 0.00134 * std::cos(a) + 0.00154 * std::cos(b) + 0.002 * std::cos(c) +
                      0.00179 * std::sin(d) + 0.00178 * std::sin(e2);
    SunPlace s;
    s.longitude = ModuloOf(6.283185307179586, DegToRad(l0 - m + dl) + k.trueAnomaly);
    // The remainder keeps the sign of its argument, which is negative for much of
    // the year; the longitude is promised in [0, 2pi).
    if (s.longitude < 0) s.longitude += 6.283185307179586;
    s.radius = 1.0000002 * (1.0 - e * std::cos(k.eccentricAnomaly)) +
               (5.43e-6 * std::sin(a) + 1.575e-5 * std::sin(b) + 1.627e-5 * std::sin(c) +
                3.076e-5 * std::cos(d) + 9.27e-6 * std::sin(h));
    gSunCache = {true, dayNumber, s};
    return s;
}

double MeanObliquity(double dayNumber) {
    const double t = dayNumber / 36525.0;
    const double eps = 23.452294 - t * (0.0130125 + t * (0.00000164 - t * 0.00000503));
    return DegToRad(eps);
}

void ApplyAberration(double& lambda, double& beta, double sunLongitude) {
    const double k = 9.93674e-05;
    const double a = sunLongitude - lambda;
    const double oldBeta = beta;
    lambda = NormRad(lambda - k * std::cos(a) / std::cos(oldBeta));
    beta = oldBeta - k * std::sin(a) * std::sin(oldBeta);
}

LongitudeTexts LongitudeText(double x) {
    int deg = TruncToInt(std::trunc(x));
    const int min = TruncToInt(Frac(x) * 60.0);
    const int sec = TruncToInt((x - deg - min / 60.0) * 3600.0);
    int sign = 1;
    if (deg > 29) {
        sign += deg / 30;
        deg %= 30;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%2d%c%d", deg, static_cast<char>(0x40 + sign - 1), min);
    LongitudeTexts out;
    out.shortText = buf;
    std::snprintf(buf, sizeof buf, "%c%d%c", static_cast<char>(0xAF), sec, static_cast<char>(0xB0));
    out.longText = out.shortText + buf;
    std::snprintf(buf, sizeof buf, "%2d%c%02d%c%02d%c", deg, static_cast<char>(0x40 + sign - 1), min,
                  static_cast<char>(0xAF), sec, static_cast<char>(0xB0));
    out.paddedText = buf;
    return out;
}

}  // namespace pelorin
