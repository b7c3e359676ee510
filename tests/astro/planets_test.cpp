#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "astro/base_routines.h"
#include "astro/bodies.h"
#include "astro/chart.h"
#include "astro/geocentric.h"
#include "people/person_chart.h"

namespace pelorin {
namespace {

constexpr double kRadToDeg = 57.29577951308232;

bool SameEntry(const TChartBody& a, const TChartBody& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TChartBody SetFields(TChartBody b) {
    SetIntegerFields(b);
    return b;
}

TEST(SunSeries, EpochValues) {
    const SeriesResult s = SunSeries(0);
    EXPECT_NEAR(s.lambda * kRadToDeg, 279.645, 0.0005);
    EXPECT_NEAR(s.r, 0.98327, 0.000005);
    EXPECT_EQ(s.beta, 0);
}

TEST(SunSeries, BothSunDriversAgreeExactly) {
    for (double d : {-36525.0 * 3, -0.0416666667, 0.0, 12345.678, 36525.0, 73049.5}) {
        TChartBody a, b;
        SunVector va{1, 2, 3}, vb{-4, -5, -6};
        ComputeSun(d, a, va);
        EarthSunVector(d, b, vb);
        EXPECT_TRUE(SameEntry(a, b)) << d;
        EXPECT_EQ(va.x, vb.x);
        EXPECT_EQ(va.y, vb.y);
        EXPECT_EQ(va.z, vb.z);
        // The vector left behind is the Sun's own rectangular place.
        const SeriesResult s = SunSeries(CenturiesFromJD(d + kJulianDayOfDayZero));
        EXPECT_EQ(va.x, s.X);
        EXPECT_EQ(va.z, s.Z);
    }
}

TEST(SunSeries, LatitudeIsOnlyTheFixedObliquityRoundTrip) {
    // The series obliquity of the date and the conversion's fixed 23.45 degrees
    // differ by at most 0.024 degrees over 1900..2100; the Sun's latitude is that
    // difference times sin(longitude) and nothing more.
    for (double d = 0; d <= 73050; d += 1111.1) {
        TChartBody sun;
        SunVector v;
        ComputeSun(d, sun, v);
        const double T = d / 36525;
        const double diff = (84428.26 - 46.845 * T) / 3600 - 23.45;
        EXPECT_NEAR(sun.Lat, diff * std::sin(sun.Lon / kRadToDeg), 0.0005) << d;
    }
}

TEST(Conversion, ModesAndSunVector) {
    SunVector sun{0.3, -0.8, -0.35};
    // Mode 10 neither reads nor writes the vector.
    const EclipticPlace moon = EquatorialToEcliptic(kModeGeocentric, 0.001, 0.002, 0.0005, sun);
    EXPECT_EQ(sun.x, 0.3);
    // Mode 2 adds the vector first: the same as converting the sum in mode 10.
    const EclipticPlace planet = EquatorialToEcliptic(kModeHeliocentric, 1.0, 2.0, 0.5, sun);
    const EclipticPlace sum = EquatorialToEcliptic(kModeGeocentric, 1.3, 1.2, 0.15, sun);
    EXPECT_DOUBLE_EQ(planet.lon, sum.lon);
    EXPECT_DOUBLE_EQ(planet.lat, sum.lat);
    EXPECT_EQ(sun.y, -0.8);
    // Mode 1 makes the coordinates the vector.
    EquatorialToEcliptic(kModeSun, 0.5, 0.6, 0.7, sun);
    EXPECT_EQ(sun.x, 0.5);
    EXPECT_EQ(sun.y, 0.6);
    EXPECT_EQ(sun.z, 0.7);
    EXPECT_GE(moon.lon, 0);
}

TEST(Conversion, RoundTripInEveryQuadrant) {
    // Coordinates built with the conversion's own fixed obliquity come back to
    // the longitude and latitude they were made from, whatever the signs of X, Y
    // (to the 0.3" that its six-digit cosine and sine allow).
    const double ce = 0.917408, se = 0.397949;
    for (double lon = 5; lon < 360; lon += 30) {
        for (double lat : {-60.0, -5.0, 0.0, 3.0, 45.0}) {
            const double l = lon / kRadToDeg, b = lat / kRadToDeg, r = 2.5;
            const double X = r * std::cos(b) * std::cos(l);
            const double Y = r * (std::cos(b) * std::sin(l) * ce - std::sin(b) * se);
            const double Z = r * (std::cos(b) * std::sin(l) * se + std::sin(b) * ce);
            SunVector sun;
            const EclipticPlace p = EquatorialToEcliptic(kModeGeocentric, X, Y, Z, sun);
            EXPECT_NEAR(p.lon, lon, 1e-4) << lon << " " << lat;
            EXPECT_NEAR(p.lat, lat, 1e-4) << lon << " " << lat;
            EXPECT_GE(p.lon, 0);
            EXPECT_LT(p.lon, 360);
        }
    }
}

TEST(Drivers, RightAscensionAndDeclinationInEveryQuadrant) {
    const double d = 30000;
    const double eps = DateObliquityDeg(d / 36525) / kRadToDeg;
    for (double lon = 0; lon < 360; lon += 15) {
        for (double lat : {-70.0, -1.0, 0.0, 2.0, 70.0}) {
            TChartBody b;
            FillBodyFromEcliptic(d, lon, lat, b);
            EXPECT_GE(b.RA, 0) << lon << " " << lat;
            EXPECT_LT(b.RA, 24) << lon << " " << lat;
            const double l = lon / kRadToDeg, be = lat / kRadToDeg;
            const double ra = std::atan2(std::sin(l) * std::cos(eps) - std::tan(be) * std::sin(eps), std::cos(l));
            const double expected = NormDeg(ra * kRadToDeg) / 15;
            EXPECT_NEAR(std::remainder(b.RA - expected, 24.0), 0, 1e-9) << lon << " " << lat;
            const double decl = std::asin(std::sin(be) * std::cos(eps) + std::cos(be) * std::sin(eps) * std::sin(l));
            EXPECT_NEAR(b.Decl, decl * kRadToDeg, 1e-9) << lon << " " << lat;
        }
    }
}

TEST(Drivers, RightAscensionNeverReaches24Hours) {
    // Just below the equator at 0 degrees: n is a tiny negative number and the
    // angle is 360 minus almost nothing.
    TChartBody b;
    FillBodyFromEcliptic(20000, 0.0, 1e-20, b);
    EXPECT_GE(b.RA, 0);
    EXPECT_LT(b.RA, 24);
}

TEST(Drivers, LongitudeAndSignAtTheEdges) {
    TChartBody b;
    FillBodyFromEcliptic(0, 30.0, 0, b);
    EXPECT_EQ(b.Sign, 2);
    FillBodyFromEcliptic(0, 29.999999999, 0, b);
    EXPECT_EQ(b.Sign, 1);
    FillBodyFromEcliptic(0, 360.0, 0, b);
    EXPECT_EQ(b.Lon, 0);
    EXPECT_EQ(b.Sign, 1);
    FillBodyFromEcliptic(0, 359.99999, 0, b);
    EXPECT_EQ(b.Sign, 12);
}

TEST(Chart, IntegerFieldsAreTruncated) {
    TChartBody b;
    b.Lon = 30.0;
    SetIntegerFields(b);
    EXPECT_EQ(b.Deg, 30);
    EXPECT_EQ(b.Min, 0);
    EXPECT_EQ(b.Sec, 0);
    EXPECT_EQ(b.Sign, 2);
    EXPECT_EQ(b.SignDeg, 0);
    EXPECT_EQ(b.SignDegOrd, 1);

    b.Lon = 359.99999;
    SetIntegerFields(b);
    EXPECT_EQ(b.Deg, 359);
    EXPECT_EQ(b.Min, 59);
    EXPECT_EQ(b.Sec, 59);
    EXPECT_EQ(b.Sign, 12);
    EXPECT_EQ(b.SignDeg, 29);
    EXPECT_EQ(b.SignDegOrd, 30);

    b.Lon = 0;
    SetIntegerFields(b);
    EXPECT_EQ(b.Sign, 1);
    EXPECT_EQ(b.SignDegOrd, 1);

    // 12 degrees 34 minutes 56.9 seconds: seconds truncated, not rounded.
    b.Lon = 12 + 34 / 60.0 + 56.9 / 3600.0;
    SetIntegerFields(b);
    EXPECT_EQ(b.Deg, 12);
    EXPECT_EQ(b.Min, 34);
    EXPECT_EQ(b.Sec, 56);
}

// A moment no analysis accepts (not a number, far outside the served years)
// never converts a longitude beyond an int: the integer fields stay in range.
TEST(Chart, DamagedLongitudesAndMomentsGiveIntegerFieldsInRange) {
    for (const double lon : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e155, -1e155, 4e9}) {
        TChartBody b;
        b.Lon = lon;
        SetIntegerFields(b);
        EXPECT_GE(b.Sign, 1) << lon;
        EXPECT_LE(b.Sign, 12) << lon;
        EXPECT_GE(b.SignDeg, 0) << lon;
        EXPECT_LT(b.SignDeg, 30) << lon;
        EXPECT_EQ(LongitudeText(lon).shortText.empty(), false);
    }
    for (const double moment : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e155, -1e155}) {
        TChart c;
        ComputeChart(moment, c);
        for (int i = 0; i < kBodyCount; ++i) {
            EXPECT_GE(c[i].SignDeg, 0) << moment;
            EXPECT_LT(c[i].SignDeg, 30) << moment;
        }
        EXPECT_FALSE(IsServedMoment(moment));
    }
}

TEST(Chart, FieldsAreConsistentForManyDates) {
    for (double d = -20000; d <= 80000; d += 977.3) {
        TChart c;
        ComputeChart(d, c);
        for (int i = 0; i < kBodyCount; ++i) {
            const TChartBody& b = c[i];
            ASSERT_GE(b.Lon, 0) << d << " " << i;
            ASSERT_LT(b.Lon, 360) << d << " " << i;
            EXPECT_EQ(b.Sign, b.Deg / 30 + 1) << d << " " << i;
            EXPECT_EQ(b.SignDeg, b.Deg % 30);
            EXPECT_GE(b.Min, 0);
            EXPECT_LE(b.Min, 59);
            EXPECT_GE(b.Sec, 0);
            EXPECT_LE(b.Sec, 59);
            EXPECT_GE(b.RA, 0);
            EXPECT_LT(b.RA, 24);
            EXPECT_LE(std::fabs(b.Decl), 90);
        }
        // The Moon stays within its orbit's tilt; planets near the ecliptic.
        EXPECT_LT(std::fabs(c[kMoon].Lat), 5.4) << d;
        EXPECT_LT(std::fabs(c[kSun].Lat), 0.1) << d;
    }
}

TEST(Chart, SecondComputationIsIdenticalAndSpeedIsKept) {
    PersonRecord person{};
    person.Moment = 28123.456;
    TChart a, b;
    for (int i = 0; i < kBodyCount; ++i) a[i].Speed = b[i].Speed = -0.5;
    ComputeChart(person, a);
    TChart other;
    ComputeChart(12.5, other);  // a second person in between shares nothing but caches
    ComputeChart(person, b);
    for (int i = 0; i < kBodyCount; ++i) {
        EXPECT_TRUE(SameEntry(a[i], b[i])) << i;
        EXPECT_EQ(a[i].Speed, -0.5);
    }
    // Each entry is what its own driver gives, in chart order.
    TChartBody direct;
    SunVector v;
    ComputeMoon(person.Moment, direct, v);
    EXPECT_EQ(direct.Lon, a[kMoon].Lon);
    ComputeNeptune(person.Moment, direct, v);
    EXPECT_EQ(direct.Lon, a[kNeptune].Lon);
    ComputeMercury(person.Moment, direct, v);
    EXPECT_EQ(direct.Lat, a[kMercury].Lat);
}

TEST(Chart, SharedSunVectorGivesTheSameBitsAsFreshDrivers) {
    // A chart reuses the Sun vector of its moment; each driver on its own, with a
    // fresh scratch or one left by another moment, computes it again.
    using Driver = void (*)(double, TChartBody&, SunVector&);
    const Driver drivers[] = {ComputeSun,     ComputeMoon,   ComputeMercury, ComputeVenus, ComputeMars,
                              ComputeJupiter, ComputeSaturn, ComputeUranus,  ComputeNeptune};
    for (double d : {-5000.25, 0.0, 36525.0, 51234.5678}) {
        TChart chart;
        ComputeChart(d, chart);
        for (int i = 0; i < 9; ++i) {
            TChartBody fresh;
            SunVector scratch;
            drivers[i](d, fresh, scratch);
            EXPECT_TRUE(SameEntry(SetFields(fresh), chart[i])) << d << " " << i;
            SunVector stale;
            TChartBody other;
            ComputeSun(d + 0.5, other, stale);
            drivers[i](d, fresh, stale);
            EXPECT_TRUE(SameEntry(SetFields(fresh), chart[i])) << d << " " << i;
        }
    }
}

TEST(MoonSeries, PassesThroughTheConversionUnchanged) {
    // Mode 10: apart from the fixed-obliquity round trip the chart's Moon is the
    // series' own longitude.
    for (double d = 0; d <= 73050; d += 3000.7) {
        const SeriesResult s = MoonSeries(d / 36525);
        TChartBody b;
        SunVector v;
        ComputeMoon(d, b, v);
        EXPECT_NEAR(std::remainder(b.Lon - s.lambda * kRadToDeg, 360.0), 0, 0.005) << d;
        EXPECT_NEAR(b.Lat, s.beta * kRadToDeg, 0.03) << d;
    }
}

TEST(Series, NegativeLongitudeBefore1900ChangesNothingDownstream) {
    // A reduced longitude may stay negative for dates before 1900; only X, Y, Z
    // are used further, and the chart's Lon is in [0, 360).
    const SeriesResult s = MercurySeries(-3.7);
    const SeriesResult shifted = FinishSeries(s.lambda + 6.28318530718, s.beta, s.r, -3.7);
    EXPECT_NEAR(s.X, shifted.X, 1e-9);
    EXPECT_NEAR(s.Y, shifted.Y, 1e-9);
    EXPECT_NEAR(s.Z, shifted.Z, 1e-9);
    EXPECT_EQ(ReduceTurn(-7.0), -7.0 + 6.28318530718);
    EXPECT_LT(ReduceTurn(-1.0), 0);
}

}  // namespace
}  // namespace pelorin
