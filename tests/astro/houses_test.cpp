#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "astro/base_routines.h"
#include "astro/houses.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "people/person_chart.h"

namespace pelorin {
namespace {

std::string Coords(const char* utf8) { return Utf8ToCp1251(utf8); }

double AngleDiff(double a, double b) {
    double d = std::fmod(a - b + 540.0, 360.0) - 180.0;
    return std::fabs(d);
}

TCusps Filled(double v) {
    TCusps c;
    for (double& x : c.cusp) x = v;
    return c;
}

TEST(Houses, ReadsTheCoordinateTextByPosition) {
    PlaceCoords p = ParseCoordText(Coords(" 37°37’ВД  55°45’СШ"));
    EXPECT_NEAR(p.longitude, 37 + 37 / 60.0, 1e-12);
    EXPECT_NEAR(p.latitude, 55.75, 1e-12);
    p = ParseCoordText(Coords(" 93°13’ЗД  44°53’СШ"));
    EXPECT_NEAR(p.longitude, -(93 + 13 / 60.0), 1e-12);
    EXPECT_NEAR(p.latitude, 44 + 53 / 60.0, 1e-12);
    p = ParseCoordText(Coords("151°12’ВД   3°05’ЮШ"));
    EXPECT_NEAR(p.longitude, 151.2, 1e-12);
    EXPECT_NEAR(p.latitude, -(3 + 5 / 60.0), 1e-12);
    p = ParseCoordText(Coords("  0°07’ЗД  51°30’СШ"));
    EXPECT_NEAR(p.longitude, -7 / 60.0, 1e-12);
    // The separators are not read; a longer text is cut to 19 characters.
    p = ParseCoordText(Coords(" 37x37xВДxx55x45xСШ12345"));
    EXPECT_NEAR(p.longitude, 37 + 37 / 60.0, 1e-12);
    EXPECT_NEAR(p.latitude, 55.75, 1e-12);
}

TEST(Houses, UnknownHemisphereLeavesThatCoordinateZero) {
    PlaceCoords p = ParseCoordText(Coords(" 37°37’XX  55°45’СШ"));
    EXPECT_EQ(p.longitude, 0);
    EXPECT_NEAR(p.latitude, 55.75, 1e-12);
    p = ParseCoordText(Coords(" 37°37’ВД  55°45’  "));
    EXPECT_EQ(p.latitude, 0);
    // A cleared record's nineteen blanks: Greenwich on the equator.
    p = ParseCoordText(std::string(19, ' '));
    EXPECT_EQ(p.longitude, 0);
    EXPECT_EQ(p.latitude, 0);
    TCusps c = Filled(-1);
    EXPECT_EQ(ComputeHouses(std::string(19, ' '), 36525.0, c), HouseStatus::Computed);
}

TEST(Houses, FieldThatIsNotANumberIsAnError) {
    for (const char* bad : {" 3a°37’ВД  55°45’СШ", " 37°3 ’ВД  55°45’СШ", " 37°37’ВД  --°45’СШ",
                            " 37°37’ВД  55°  ’СШ", "   °37’ВД  55°45’СШ"}) {
        TCusps c = Filled(42);
        try {
            ComputeHouses(Coords(bad), 36525.0, c);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("не число"), std::string::npos) << e.what();
        }
        for (int i = 1; i <= 12; ++i) EXPECT_EQ(c[i], 0) << bad;
    }
    // Leading blanks and a sign belong to the ordinary conversion.
    EXPECT_NEAR(ParseCoordText(Coords("+37°37’ВД  55°45’СШ")).longitude, 37 + 37 / 60.0, 1e-12);
}

TEST(Houses, CuspsSevenToTwelveAreExactlyOpposite) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> day(-40000, 80000), lon(-180, 180), lat(-65, 65);
    for (int i = 0; i < 500; ++i) {
        TCusps c;
        ASSERT_EQ(ComputeHousesAt(lon(rng), lat(rng), day(rng), c), HouseStatus::Computed);
        for (int n = 1; n <= 6; ++n) {
            EXPECT_EQ(c[n + 6], NormDeg(c[n] + 180.0));
            EXPECT_GE(c[n], 0);
            EXPECT_LT(c[n], 360);
        }
        // The houses follow one another around the zodiac.
        for (int n = 1; n <= 12; ++n) {
            const double width = NormDeg(c[n % 12 + 1] - c[n]);
            EXPECT_GT(width, 0);
            EXPECT_LT(width, 180);
        }
    }
}

TEST(Houses, EquatorCuspsAreEquatorArcsOfThirtyDegrees) {
    const double d = 31000.3;
    TCusps c;
    ASSERT_EQ(ComputeHousesAt(20.0, 0.0, d, c), HouseStatus::Computed);
    const double ramc = RamcOf(d, 20.0);
    const double eps = MeanObliquity(d);
    auto project = [&](double ra) { return NormDeg(std::atan2(std::sin(ra), std::cos(ra) * std::cos(eps)) * 180 / kPi); };
    EXPECT_NEAR(c[10], project(ramc), 1e-9);
    EXPECT_NEAR(c[11], project(ramc + kPi / 6), 1e-9);
    EXPECT_NEAR(c[12], project(ramc + kPi / 3), 1e-9);
    EXPECT_NEAR(c[2], project(ramc + 2 * kPi / 3), 1e-9);
    EXPECT_NEAR(c[3], project(ramc + 5 * kPi / 6), 1e-9);
    EXPECT_NEAR(c[1], project(ramc + kPi / 2), 1e-9);
}

TEST(Houses, LatitudeLimitIsSixtyFiveDegrees) {
    for (const char* mark : {"СШ", "ЮШ"}) {
        TCusps c = Filled(0);
        const std::string inside = Coords(" 18°57’ВД  65°00’") + Coords(mark);
        EXPECT_EQ(ComputeHouses(inside, 36000.5, c), HouseStatus::Computed) << mark;
        EXPECT_NE(c[1], 0);
        // Beyond the limit nothing of the previous woman's houses may survive.
        const std::string beyond = Coords(" 18°57’ВД  65°01’") + Coords(mark);
        EXPECT_EQ(ComputeHouses(beyond, 36000.5, c), HouseStatus::BeyondLatitude) << mark;
        for (int i = 0; i <= 12; ++i) EXPECT_EQ(c[i], 0) << mark << i;
    }
    TCusps c = Filled(5);
    EXPECT_EQ(ComputeHouses(Coords(" 18°57’ВД  89°59’СШ"), 36000.5, c), HouseStatus::BeyondLatitude);
    EXPECT_EQ(c[10], 0);
}

TEST(Houses, SiderealTimeBeforeNineteenHundredUsesThatDaysMidnight) {
    // Across 0h UT the local sidereal time runs on smoothly (1.0027 times the
    // clock), also for negative day numbers.
    const double midnight = DayNumberOf(12, 3, 1850, 0, 0, 0);
    ASSERT_LT(midnight, 0);
    for (double lon : {0.0, 37.5, -120.0}) {
        const double before = RamcOf(midnight - 1e-5, lon);
        const double after = RamcOf(midnight + 1e-5, lon);
        double step = std::fmod(after - before + 4 * kPi, 2 * kPi);
        EXPECT_NEAR(step, 2e-5 * 2 * kPi * 1.002737909, 1e-8) << lon;
    }
    // One minute after midnight: 0h sidereal time of that date plus one
    // sidereal minute. 1850 March 12 0h UT: mean sidereal time 11.2858325 h
    // (the reference ephemeris).
    const double ramcDeg = RamcOf(midnight + 1.0 / 1440, 0.0) * 180 / kPi;
    EXPECT_NEAR(ramcDeg, (11.2858325 + 1.002737909 / 60) * 15, 0.002);
}

TEST(Houses, WesternPlaceWithSmallSiderealTime) {
    // Greenwich sidereal time about 0h30m at a place 30 degrees west: LST is
    // 22h30m, not -1h30m, and the MC lies near the RAMC.
    const double d = DayNumberOf(22, 9, 1990, 0, 0, 0) + 0.05;
    const double ramc = RamcOf(d, -30.0);
    EXPECT_GE(ramc, 0);
    EXPECT_LT(ramc, 2 * kPi);
    const double ramcDeg = ramc * 180 / kPi;
    EXPECT_GT(ramcDeg, 300);
    TCusps c;
    ComputeHousesAt(-30.0, 40.0, d, c);
    EXPECT_LT(AngleDiff(c[10], ramcDeg), 2.6);
    EXPECT_GT(c[10], 180);
}

TEST(Houses, AscendantIsContinuousWhereItsDenominatorVanishes) {
    // -sin(RAMC) cos(eps) = sin(eps) tan(phi): the Ascendant stands at 90
    // degrees there, as it does a hair's breadth either side.
    const double eps = MeanObliquity(36525.0);
    const double phi = DegToRad(30.0);
    const double ramc = std::asin(-std::tan(phi) * std::sin(eps) / std::cos(eps)) + 2 * kPi;
    EXPECT_NEAR(AscendantOf(phi, ramc, eps), 90.0, 1e-3);
    EXPECT_NEAR(AscendantOf(phi, ramc + 1e-5, eps), 90.0, 1e-3);
    EXPECT_NEAR(AscendantOf(phi, ramc - 1e-5, eps), 90.0, 1e-3);
    // The same on the other side of the circle.
    const double ramc2 = kPi - std::asin(-std::tan(-phi) * std::sin(eps) / std::cos(eps));
    EXPECT_NEAR(AscendantOf(-phi, ramc2, eps), 270.0, 1e-3);
}

TEST(Houses, FromTheWomansRecord) {
    PersonRecord woman{};
    woman.CoordText.set(Coords(" 93°13’ЗД  44°53’СШ"));
    woman.Moment = 27500.25;
    TCusps fromRecord, fromText;
    ASSERT_EQ(ComputeHouses(woman, fromRecord), HouseStatus::Computed);
    ComputeHouses(Coords(" 93°13’ЗД  44°53’СШ"), 27500.25, fromText);
    EXPECT_EQ(fromRecord.cusp, fromText.cusp);
}

TEST(Houses, MidheavenQuadrants) {
    const double eps = MeanObliquity(0);
    for (double deg = 0.5; deg < 360; deg += 7.3) {
        const double mc = MidheavenOf(DegToRad(deg), eps);
        EXPECT_LT(AngleDiff(mc, deg), 2.6) << deg;
    }
    EXPECT_NEAR(MidheavenOf(0, eps), 0, 1e-12);
    EXPECT_NEAR(MidheavenOf(kPi, eps), 180, 1e-9);
}

}  // namespace
}  // namespace pelorin
