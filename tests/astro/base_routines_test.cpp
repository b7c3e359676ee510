#include <gtest/gtest.h>

#include <cmath>

#include "astro/base_routines.h"
#include "astro/birth_moment.h"
#include "people/person_chart.h"

namespace pelorin {
namespace {

constexpr double kEps = 1e-12;

TEST(BaseRoutines, Normalisation) {
    EXPECT_DOUBLE_EQ(NormDeg(-30), 330);
    EXPECT_DOUBLE_EQ(NormDeg(360), 0);
    EXPECT_NEAR(NormDeg(725), 5, 1e-12);
    EXPECT_NEAR(NormDeg(-0.25), 359.75, kEps);
    for (double x : {-1.0, -7.5, -100.0, -6.283185307}) {
        const double y = NormRad(x);
        EXPECT_GE(y, 0) << x;
        EXPECT_LT(y, 6.283185307) << x;
    }
    // The ten-digit constant, not full-precision 2 pi.
    EXPECT_NEAR(NormRad(6.2831853072), 6.2831853072 - 6.283185307, 1e-15);
    EXPECT_DOUBLE_EQ(ModuloOf(10, -23), -3);
    EXPECT_DOUBLE_EQ(ModuloOf(10, 23), 3);
}

TEST(BaseRoutines, TrigonometryHelpers) {
    EXPECT_DOUBLE_EQ(DegToRad(180), kPi);
    EXPECT_NEAR(TanOf(0.5), std::tan(0.5), kEps);
    EXPECT_DOUBLE_EQ(ArcSinOf(1), kPi / 2);
    EXPECT_DOUBLE_EQ(ArcSinOf(-1), -kPi / 2);
    EXPECT_NEAR(ArcSinOf(0.5), kPi / 6, kEps);
    EXPECT_NEAR(ArcCosOf(0.5), kPi / 3, kEps);
    EXPECT_NEAR(ArcCosOf(-1), kPi, kEps);
    EXPECT_NEAR(PowerOf(3, 10), 1000, 1e-9);
    EXPECT_NEAR(PowerOf(-2, 10), 0.01, 1e-15);
}

TEST(BaseRoutines, QuadrantAngleCoversAllQuadrantsAndAxes) {
    EXPECT_NEAR(QuadrantAngle(1, 0), 0, kEps);
    EXPECT_NEAR(QuadrantAngle(1, 1), kPi / 4, kEps);
    EXPECT_NEAR(QuadrantAngle(0, 1), kPi / 2, kEps);
    EXPECT_NEAR(QuadrantAngle(-1, 1), 3 * kPi / 4, kEps);
    EXPECT_NEAR(QuadrantAngle(-1, 0), kPi, kEps);
    EXPECT_NEAR(QuadrantAngle(-1, -1), 5 * kPi / 4, kEps);
    EXPECT_NEAR(QuadrantAngle(0, -1), 3 * kPi / 2, kEps);
    EXPECT_NEAR(QuadrantAngle(1, -1), 7 * kPi / 4, kEps);
    EXPECT_NEAR(QuadrantAngle(0, 0), kPi / 2, kEps);
}

TEST(BaseRoutines, DayNumbers) {
    EXPECT_DOUBLE_EQ(DayNumberOf(31, 12, 1899, 12, 0, 0), 0);
    EXPECT_DOUBLE_EQ(DayNumberOf(1, 1, 2000, 12, 0, 0), 36525);  // JD 2451545.0
    EXPECT_NEAR(DayNumberOf(1, 1, 1900, 0, 0, 0), 0.5, kEps);
    // The calendar switch: 1582 October 4 (Julian) is followed by October 15 (Gregorian).
    EXPECT_DOUBLE_EQ(DayNumberOf(15, 10, 1582, 12, 0, 0) - DayNumberOf(4, 10, 1582, 12, 0, 0), 1);
    EXPECT_DOUBLE_EQ(DayNumberOf(15, 10, 1582, 12, 0, 0) + kJulianDayOfDayZero, 2299161.0);
    EXPECT_DOUBLE_EQ(DayNumberOf(14, 10, 1582, 12, 0, 0) + kJulianDayOfDayZero, 2299170.0);
    // Year -1 is year 0 of the astronomical count: 1 January of it is JD 1721057.5.
    EXPECT_DOUBLE_EQ(DayNumberOf(1, 1, -1, 0, 0, 0) + kJulianDayOfDayZero, 1721057.5);
    EXPECT_DOUBLE_EQ(DayNumberOf(1, 1, 1, 0, 0, 0) + kJulianDayOfDayZero, 1721423.5);
    // Meeus' examples: 333 January 27 12:00 (Julian) and 1957 October 4.81.
    EXPECT_DOUBLE_EQ(DayNumberOf(27, 1, 333, 12, 0, 0) + kJulianDayOfDayZero, 1842713.0);
    EXPECT_NEAR(DayNumberOf(4, 10, 1957, 19, 26, 24) + kJulianDayOfDayZero, 2436116.31, 1e-9);
    EXPECT_NEAR(DayNumberOf(1, 1, 1900, 0, 0, 1) - DayNumberOf(1, 1, 1900, 0, 0, 0), 1 / 86400.0, 1e-12);
}

TEST(BaseRoutines, SunAgainstPublishedPosition) {
    ResetBaseCaches();
    // 1992 October 13.0: true geometric longitude 199.90988 deg, radius 0.99766 AU.
    const SunPlace s = SunPosition(DayNumberOf(13, 10, 1992, 0, 0, 0));
    EXPECT_NEAR(s.longitude * 180 / kPi, 199.90988, 0.005);
    EXPECT_NEAR(s.radius, 0.99766, 0.0001);
    // 1900 January 0.5: the mean elements of the epoch.
    const SunPlace s0 = SunPosition(0);
    EXPECT_NEAR(s0.longitude * 180 / kPi, 279.645, 0.01);
    EXPECT_NEAR(s0.radius, 0.98327, 0.0001);
}

TEST(BaseRoutines, SunCacheTolerance) {
    ResetBaseCaches();
    const SunPlace a = SunPosition(30000.0);
    const SunPlace b = SunPosition(30000.0001);  // within 0.00014 day: the cached pair
    EXPECT_EQ(a.longitude, b.longitude);
    EXPECT_EQ(a.radius, b.radius);
    const SunPlace c = SunPosition(30000.0002);  // recomputed
    EXPECT_NE(a.longitude, c.longitude);
    ResetBaseCaches();
    const SunPlace fresh = SunPosition(30000.0001);
    EXPECT_NE(fresh.longitude, b.longitude);  // b was a cached value of another moment
}

TEST(BaseRoutines, NutationAndItsCache) {
    ResetBaseCaches();
    // 1987 April 10: nutation in longitude about -3.8", in obliquity about +9.4".
    const double d = DayNumberOf(10, 4, 1987, 0, 0, 0);
    const Nutation n = NutationOf(d);
    EXPECT_NEAR(n.longitude * 180 / kPi * 3600, -3.788, 0.6);
    EXPECT_NEAR(n.obliquity * 180 / kPi * 3600, 9.443, 0.3);
    const Nutation cached = NutationOf(d + 4.9);
    EXPECT_EQ(cached.longitude, n.longitude);
    const Nutation other = NutationOf(d + 5.1);
    EXPECT_NE(other.longitude, n.longitude);
}

TEST(BaseRoutines, ObliquityAberrationKepler) {
    EXPECT_NEAR(MeanObliquity(0) * 180 / kPi, 23.452294, 1e-12);
    EXPECT_NEAR(MeanObliquity(36525) * 180 / kPi, 23.4392911, 2e-5);
    double lambda = 1.0, beta = 0.1;
    ApplyAberration(lambda, beta, 1.0);  // the Sun at the body's longitude
    EXPECT_NEAR(lambda, 1.0 - 9.93674e-05 / std::cos(0.1), 1e-15);
    EXPECT_NEAR(beta, 0.1, 1e-15);
    const KeplerSolution k = SolveKepler(0.1, 1.0);
    EXPECT_NEAR(k.eccentricAnomaly - 0.1 * std::sin(k.eccentricAnomaly), 1.0, 1e-6);
    EXPECT_NEAR(std::tan(k.trueAnomaly / 2),
                std::sqrt(1.1 / 0.9) * std::tan(k.eccentricAnomaly / 2), 1e-12);
    const KeplerSolution circle = SolveKepler(0, 0.5);
    EXPECT_NEAR(circle.trueAnomaly, 0.5, 1e-12);
}

TEST(BaseRoutines, LongitudeTexts) {
    LongitudeTexts a = LongitudeText(0.5);
    EXPECT_EQ(a.shortText, " 0@30");
    EXPECT_EQ(a.longText, " 0@30\xAF" "0\xB0");
    LongitudeTexts b = LongitudeText(359.99);
    EXPECT_EQ(b.shortText, "29K59");
    EXPECT_EQ(b.longText.substr(0, 6), "29K59\xAF");
    EXPECT_EQ(b.longText.back(), '\xB0');
    LongitudeTexts c = LongitudeText(45.2625);  // 15 deg Taurus 15' 45"
    EXPECT_EQ(c.longText, "15A15\xAF" "45\xB0");
    // The printed table's form keeps its columns: two digits of minutes and seconds.
    EXPECT_EQ(a.paddedText, " 0@30\xAF" "00\xB0");
    EXPECT_EQ(LongitudeText(35.0 + 7 / 60.0 + 9.5 / 3600).paddedText, " 5A07\xAF" "09\xB0");
    // Nothing is rounded: 29 deg 59' 59.9" stays 59 minutes.
    EXPECT_EQ(LongitudeText(29.99999).shortText, "29@59");
}

TEST(BirthMoment, FormedAsTheEntryDialogsStoreIt) {
    // 1899 December 31 12:00 in zone 0 is stored as -1/24: the "L" hour.
    EXPECT_DOUBLE_EQ(FormBirthMoment(31, 12, 1899, 12, 0, true, 0, true), -1.0 / 24);
    EXPECT_DOUBLE_EQ(FormBirthMoment(31, 12, 1899, 12, 0, true, 0, false), 0);
    // Unknown time counts as 12:00, whatever was in the fields.
    EXPECT_EQ(FormBirthMoment(5, 6, 1975, 3, 45, false, 3, true),
              FormBirthMoment(5, 6, 1975, 12, 0, true, 3, true));
    // A zone west of Greenwich adds hours.
    const double noon = DayNumberOf(5, 6, 1975, 12, 0, 0);
    EXPECT_NEAR(FormBirthMoment(5, 6, 1975, 12, 0, true, -5, true), noon + 5.0 / 24 - 1.0 / 24, 1e-12);

    PersonRecord r{};
    r.Day = 1;
    r.Month = 1;
    r.Year = 2000;
    r.Hour = 7;
    r.Minute = 30;
    r.TimeKnown = 0;
    r.Zone = 2;
    r.ShiftFlag.set("L");
    StoreBirthMoment(r);
    EXPECT_EQ(+r.Hour, 12);  // fields of the packed record are read by value
    EXPECT_EQ(+r.Minute, 0);
    EXPECT_NEAR(r.Moment, 36525 - 2.0 / 24 - 1.0 / 24, 1e-12);
    r.ShiftFlag.set(" ");  // any other mark: no extra hour
    StoreBirthMoment(r);
    EXPECT_NEAR(r.Moment, 36525 - 2.0 / 24, 1e-12);
}

}  // namespace
}  // namespace pelorin
