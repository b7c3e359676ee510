#pragma once
// Shared pieces of the comparisons with Swiss Ephemeris: the sample of dates and
// the reference positions in the frame the engine's series mean (geometric, mean
// ecliptic and equinox of the date, no nutation, no aberration, no light-time).
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace pelorin::reference {

inline void OpenSwissEphemeris() {
    static bool opened = false;
    if (!opened) {
        swe_set_ephe_path(const_cast<char*>(PELORIN_SWE_EPHE_PATH));
        opened = true;
    }
}

// `count` day numbers spread pseudo-randomly (fixed seed) over 1900 January 1 to
// 2100 December 31.
inline std::vector<double> SampleDays(int count, std::uint64_t seed = 20240611) {
    const double first = 2415020.5 - 2415020.0;
    const double last = 2488068.5 - 2415020.0;
    std::vector<double> days;
    std::uint64_t x = seed;
    for (int i = 0; i < count; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        const double u = static_cast<double>(x >> 11) / 9007199254740992.0;
        days.push_back(first + u * (last - first));
    }
    return days;
}

inline constexpr int kGeometricMeanOfDate =
    SEFLG_SWIEPH | SEFLG_NONUT | SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL;

struct RefPlace {
    double lon = 0, lat = 0, dist = 0;  // degrees, degrees, AU
};

// Reference position at Julian Day `jd` taken as Terrestrial Time: the series
// read their argument as the time of their theory, so this is the instant the
// engine means by the same number.
inline RefPlace Reference(double jd, int body, bool heliocentric) {
    OpenSwissEphemeris();
    double xx[6] = {};
    char err[AS_MAXCH] = {};
    const int flags = kGeometricMeanOfDate | (heliocentric ? SEFLG_HELCTR : 0);
    swe_calc(jd, body, flags, xx, err);
    return {xx[0], xx[1], xx[2]};
}

// Difference of two longitudes in degrees, folded into [-180, 180].
inline double LonDiff(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return d;
}

struct Stats {
    double max = 0, median = 0, rms = 0;
};

inline Stats StatsOf(std::vector<double> v) {
    Stats s;
    if (v.empty()) return s;
    double sq = 0;
    for (double& x : v) {
        x = std::fabs(x);
        sq += x * x;
    }
    std::sort(v.begin(), v.end());
    s.max = v.back();
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.rms = std::sqrt(sq / v.size());
    return s;
}

}  // namespace pelorin::reference
