// Pluto from the shipped Fond.in against Swiss Ephemeris over 1800 to 2200: the
// apparent geocentric longitude and latitude of the date. The engine takes its
// day number as Universal Time, so the reference is swe_calc_ut.
#include <gtest/gtest.h>
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/base_routines.h"
#include "astro/tabulated.h"

namespace pelorin {
namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

TEST(PlutoReference, ApparentPlaceWithinAHundredthOfADegree1800To2200) {
    swe_set_ephe_path(const_cast<char*>(PELORIN_SWE_EPHE_PATH));
    std::string message;
    ASSERT_EQ(LoadTabulatedFile(std::string(PELORIN_SOURCE_DIR) + "/data/Fond.in", &message), 0) << message;

    const double first = 2378496.5, last = 2524593.5;  // 1800 and 2200 January 1
    std::vector<double> lonErr, latErr;
    std::uint64_t x = 20240612;
    for (int i = 0; i < 400; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        const double jd = first + (static_cast<double>(x >> 11) / 9007199254740992.0) * (last - first);
        const TabulatedPlace p = TabulatedPosition(kPlutoBodyIndex, jd - kJulianDayOfDayZero);
        TChartBody body;
        double s = 0;
        ComputePluto(jd - kJulianDayOfDayZero, body, s, s, s);
        double xx[6];
        char serr[AS_MAXCH];
        ASSERT_GE(swe_calc_ut(jd, SE_PLUTO, SEFLG_SWIEPH, xx, serr), 0) << serr;
        const double dl = std::fabs(std::remainder(body.Lon - xx[0], 360.0));
        lonErr.push_back(dl);
        latErr.push_back(std::fabs(body.Lat - xx[1]));
        EXPECT_NEAR(NormDeg(p.lon), body.Lon, 1e-9);
        EXPECT_NEAR(p.dist, xx[2], 1e-4);
    }
    std::printf("Pluto, 400 dates 1800-2200, degrees: longitude max %.6f median %.6f; "
                "latitude max %.6f median %.6f\n",
                Max(lonErr), Median(lonErr), Max(latErr), Median(latErr));
    EXPECT_LT(Max(lonErr), 0.003);
    EXPECT_LT(Max(latErr), 0.003);
    UnloadTabulatedFile();
}

}  // namespace
}  // namespace pelorin
