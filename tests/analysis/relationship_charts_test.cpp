#include "analysis/relationship_charts.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/base_routines.h"
#include "astro/chart.h"
#include "astro/houses.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "people/person_entry.h"

namespace pelorin {
namespace {

TChart ChartAt(std::initializer_list<double> lons) {
    TChart c;
    int i = 0;
    for (double l : lons) c[i++].Lon = l;
    return c;
}

// Cusps 10, 11, 12, 1, 2, 3 as given; 4..9 opposite them.
TCusps Cusps(double mc, double c11, double c12, double asc, double c2, double c3) {
    TCusps c{};
    c[10] = mc, c[11] = c11, c[12] = c12, c[1] = asc, c[2] = c2, c[3] = c3;
    for (int i : {10, 11, 12, 1, 2, 3}) c[(i + 5) % 12 + 1] = std::fmod(c[i] + 180, 360);
    return c;
}

PersonRecord Person(const char* name, const char* coords, double moment, bool timeKnown, const char* shift = "Z") {
    PersonRecord r{};
    r.Name.set(Utf8ToCp1251(name));
    r.CoordText.set(Utf8ToCp1251(coords));
    r.Moment = moment;
    r.TimeKnown = timeKnown ? 1 : 0;
    r.ShiftFlag.set(shift);
    return r;
}

const char* const kLondon = "  0°08’ЗД  51°31’СШ";
const char* const kMoscow = " 37°37’ВД  55°45’СШ";

TEST(Composite, MidpointOnTheShorterArcThroughAriesAndOfAnOpposition) {
    EXPECT_DOUBLE_EQ(MidpointLongitude(10, 50), 30);
    EXPECT_DOUBLE_EQ(MidpointLongitude(50, 10), 30);
    // Through 0° Aries: 350 and 20 meet at 5, not at 185, whichever is hers.
    EXPECT_DOUBLE_EQ(MidpointLongitude(350, 20), 5);
    EXPECT_DOUBLE_EQ(MidpointLongitude(20, 350), 5);
    EXPECT_DOUBLE_EQ(MidpointLongitude(300, 340), 320);
    // Exactly opposite: her body + 90, so the order of the two decides.
    EXPECT_DOUBLE_EQ(MidpointLongitude(10, 190), 100);
    EXPECT_DOUBLE_EQ(MidpointLongitude(190, 10), 280);
    EXPECT_DOUBLE_EQ(MidpointLongitude(270, 90), 0);
    // Just short of the opposition the midpoint runs on towards her + 90.
    EXPECT_NEAR(MidpointLongitude(10, 189.9), 99.95, 1e-9);
}

// A composite of two charts worked out by hand: bodies, signs, houses and the
// aspects among the composite's own bodies with the natal orbs.
TEST(Composite, TwoKnownChartsByHand) {
    const TChart woman = ChartAt({350, 10, 100, 200, 40, 180, 120, 290, 60, 45});
    const TChart man = ChartAt({20, 190, 140, 220, 80, 0, 122, 320, 90, 305});
    // Equal houses: hers from an Ascendant at 0, his at 40; the composite's at 20.
    const TCusps hers = Cusps(270, 300, 330, 0, 30, 60);
    const TCusps his = Cusps(310, 340, 10, 40, 70, 100);
    const RelationshipChart c = CompositeOf(woman, man, &hers, &his);
    const double expected[] = {5, 100, 120, 210, 60, 270, 121, 305, 75, 355};
    for (int i = 0; i < kBodyCount; ++i) EXPECT_DOUBLE_EQ(c.chart[i].Lon, expected[i]) << i;
    EXPECT_EQ(c.chart[kSun].Sign, 1);  // 5° Aries
    EXPECT_EQ(c.chart[kSun].SignDeg, 5);
    EXPECT_EQ(c.chart[kPluto].Sign, 12);  // 355: 25° Pisces
    EXPECT_EQ(c.chart[kPluto].SignDeg, 25);
    EXPECT_EQ(c.chart[kMoon].Sign, 4);  // the opposition 10/190 gives her Moon + 90: 10° Cancer

    ASSERT_TRUE(c.cusps);
    for (int i = 1; i <= 12; ++i) EXPECT_NEAR((*c.cusps)[i], std::fmod(20 + 30.0 * (i - 1), 360), 1e-9) << i;
    const std::int32_t houses[] = {12, 3, 4, 7, 2, 9, 4, 10, 2, 12};
    for (int i = 0; i < kBodyCount; ++i) EXPECT_EQ(c.houses[i], houses[i]) << i;

    // Sun 5 and Pluto 355: 10° apart, the conjunction's whole orb; Mercury 120
    // and Saturn 121: conjunction; Moon 100 and Venus 210: 110, 10 off the trine
    // (orb 8): none; Mars 60 and Uranus 305: 115, trine within 8; Sun 5 and
    // Mars 60: 55, sextile within 6; Moon 100 and Jupiter 270: 170, 10 off the
    // opposition (orb 9): none; Mercury 120 and Uranus 305: 175, opposition;
    // Jupiter 270 and Venus 210: sextile. Symmetric, each body with itself 0.
    EXPECT_EQ(c.aspects[kSun][kPluto], 0);
    EXPECT_EQ(c.aspects[kPluto][kSun], 0);
    EXPECT_EQ(c.aspects[kMercury][kSaturn], 0);
    EXPECT_EQ(c.aspects[kMoon][kVenus], kNoAspect);
    EXPECT_EQ(c.aspects[kMars][kUranus], 120);
    EXPECT_EQ(c.aspects[kSun][kMars], 60);
    EXPECT_EQ(c.aspects[kMoon][kJupiter], kNoAspect);
    EXPECT_EQ(c.aspects[kMercury][kUranus], 180);
    EXPECT_EQ(c.aspects[kJupiter][kVenus], 60);
    for (int i = 0; i < kBodyCount; ++i) {
        EXPECT_EQ(c.aspects[i][i], 0);
        for (int j = 0; j < kBodyCount; ++j) EXPECT_EQ(c.aspects[i][j], c.aspects[j][i]);
    }

    // Without his houses there are none, and the reason is kept.
    const RelationshipChart bare = CompositeOf(woman, man, &hers, nullptr, "Без домов: так.");
    EXPECT_FALSE(bare.cusps);
    EXPECT_EQ(bare.noHouses, "Без домов: так.");
    for (std::int32_t h : bare.houses) EXPECT_EQ(h, 0);
}

// Cusps whose pairs lie about half a circle apart: the shorter-arc midpoint of
// her Ascendant (90) and his (280) would be 5, behind the composite Midheaven
// (85); counted on from the Midheavens the houses keep their order.
TEST(Composite, CuspsStayInOrderWhereTheShorterArcsWouldCrossThem) {
    const TCusps hers = Cusps(0, 30, 60, 90, 120, 150);
    const TCusps his = Cusps(170, 185, 215, 280, 300, 330);
    const TCusps c = CompositeCusps(hers, his);
    EXPECT_DOUBLE_EQ(c[10], 85);
    EXPECT_DOUBLE_EQ(c[11], 107.5);
    EXPECT_DOUBLE_EQ(c[1], 185);
    EXPECT_DOUBLE_EQ(c[7], 5);
    double around = 0;
    for (int k = 0; k < 12; ++k) {
        const int i = (k + 9) % 12 + 1, next = (k + 10) % 12 + 1;  // 10, 11, 12, 1, ... 9
        const double step = std::fmod(c[next] - c[i] + 360, 360);
        EXPECT_GT(step, 0) << i;
        around += step;
    }
    EXPECT_NEAR(around, 360, 1e-9);  // once round the circle, in order
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(std::fmod(c[i + 6] - c[i] + 360, 360), 180, 1e-9) << i;
}

TEST(Davison, GreatCircleMidpoint) {
    auto near = [](const std::optional<PlaceCoords>& p, double lat, double lon) {
        ASSERT_TRUE(p);
        EXPECT_NEAR(p->latitude, lat, 1e-9);
        EXPECT_NEAR(p->longitude, lon, 1e-9);
    };
    near(GreatCircleMidpoint({10, 0}, {50, 0}), 0, 30);
    // Across the date line the midpoint is at 180, not at 0.
    near(GreatCircleMidpoint({170, 0}, {-170, 0}), 0, 180);
    // Over the pole.
    near(GreatCircleMidpoint({0, 60}, {180, 60}), 90, 0);
    // Antipodal places have no midpoint.
    EXPECT_FALSE(GreatCircleMidpoint({30, 40}, {-150, -40}));
}

// Two births: she in London at 01.01.2000 12:00 UT, he in Moscow at
// 31.12.1999 00:00 UT. The chart is the engine's at 31.12.1999 18:00 UT on the
// Baltic, 55°07.7′ N 17°45.5′ E (the great-circle midpoint, computed apart
// with the formula of the bearing), not the mean of the coordinates.
TEST(Davison, MomentAndPlaceOfTwoKnownBirths) {
    const PersonRecord woman = Person("Анна", kLondon, 36525.0, true);
    const PersonRecord man = Person("Борис", kMoscow, 36523.5, true);
    const RelationshipChart d = DavisonOf(woman, man);
    EXPECT_EQ(d.kind, RelationshipKind::Davison);
    EXPECT_DOUBLE_EQ(d.moment, 36524.25);
    EXPECT_EQ(MomentText(d.moment), "31.12.1999 18:00");
    EXPECT_NEAR(d.place.latitude, 55.128452950209166, 1e-9);
    EXPECT_NEAR(d.place.longitude, 17.75856359532858, 1e-9);
    EXPECT_EQ(LatitudeText(d.place.latitude), "55°08’ с. ш.");
    EXPECT_EQ(LongitudeTextOfPlace(d.place.longitude), "17°46’ в. д.");

    TChart engine;
    ComputeChart(36524.25, engine);
    for (int i = 0; i < kBodyCount; ++i) EXPECT_EQ(d.chart[i].Lon, engine[i].Lon) << i;
    TCusps cusps{};
    ASSERT_EQ(ComputeHousesAt(d.place.longitude, d.place.latitude, 36524.25, cusps), HouseStatus::Computed);
    ASSERT_TRUE(d.cusps);
    for (int i = 1; i <= 12; ++i) EXPECT_EQ((*d.cusps)[i], cusps[i]) << i;
    NatalAspectGrid grid;
    FindNatalAspects(engine, grid);
    EXPECT_EQ(d.aspects, grid);
    HouseOverlay houses;
    PlaceInHouses(engine, cusps, houses);
    EXPECT_EQ(d.houses, houses);
}

TEST(Davison, HousesOnlyWithBothTimesAndWithinTheLimit) {
    const PersonRecord woman = Person("Анна", kLondon, 36525.0, true);
    // His place from the atlas without his time: a chart at his noon, no houses.
    const RelationshipChart noTime = DavisonOf(woman, Person("Борис", kMoscow, 36524.9, false));
    EXPECT_FALSE(noTime.cusps);
    EXPECT_NE(noTime.noHouses.find("время рождения мужчины неизвестно"), std::string::npos);
    for (std::int32_t h : noTime.houses) EXPECT_EQ(h, 0);
    // Both far north: the midpoint is beyond 65°.
    const RelationshipChart north =
        DavisonOf(Person("Анна", " 33°05’ВД  68°58’СШ", 36525.0, true), Person("Борис", " 18°57’ВД  69°39’СШ", 36524.5, true));
    EXPECT_FALSE(north.cusps);
    EXPECT_NE(north.noHouses.find("65°"), std::string::npos);
}

// A man entered the old way (his place typed: the fixed coordinates, no time,
// the mark "L") has no place: no Davison chart, a message; the composite stays.
TEST(Davison, RefusesAManWithoutAPlace) {
    const PersonRecord woman = Person("Анна", kMoscow, 36525.0, true);
    const PersonRecord typed = Person("Виктор      ", Cp1251ToUtf8(MenCoordText()).c_str(), 36524.96, false, "L");
    EXPECT_FALSE(HasBirthPlace(typed));
    EXPECT_TRUE(HasBirthPlace(woman));
    try {
        DavisonOf(woman, typed);
        FAIL() << "no refusal";
    } catch (const Error& e) {
        const std::string m = e.what();
        EXPECT_EQ(m.rfind("Карта Давидсона не построена", 0), 0u) << m;
        EXPECT_NE(m.find("«Виктор»"), std::string::npos) << m;
        EXPECT_NE(m.find("нет места рождения"), std::string::npos) << m;
    }
    const RelationshipCharts both = RelationshipChartsOf(woman, typed);
    EXPECT_FALSE(both.davison);
    EXPECT_NE(both.davisonRefusal.find("нет места рождения"), std::string::npos);
    EXPECT_FALSE(both.composite.cusps);  // he has no houses either
    EXPECT_NE(both.composite.noHouses.find("мужчины"), std::string::npos);
    // The same coordinates chosen from the atlas (his own zone, mark "Z") are a place.
    EXPECT_TRUE(HasBirthPlace(Person("Виктор", Cp1251ToUtf8(MenCoordText()).c_str(), 36524.96, false, "Z")));
    // A coordinate text without hemisphere marks names no place.
    EXPECT_FALSE(HasBirthPlace(Person("Анна", "                   ", 36525.0, true)));
    // Antipodal places.
    EXPECT_THROW(DavisonOf(Person("Анна", " 30°00’ВД  40°00’СШ", 36525.0, true),
                           Person("Борис", "150°00’ЗД  40°00’ЮШ", 36524.5, true)),
                 Error);
}

// The composite has houses only when both have them, and says whose are missing.
TEST(Relationship, CompositeHousesNeedBothPeoplesHouses) {
    const PersonRecord man = Person("Борис", kLondon, 26494.0625, true);
    EXPECT_TRUE(RelationshipChartsOf(Person("Анна", kMoscow, 27548.775, true), man).composite.cusps);
    const RelationshipCharts noTime = RelationshipChartsOf(Person("Анна", kMoscow, 27548.775, false), man);
    EXPECT_FALSE(noTime.composite.cusps);
    EXPECT_NE(noTime.composite.noHouses.find("женщины"), std::string::npos);
    const RelationshipCharts north =
        RelationshipChartsOf(Person("Анна", kMoscow, 27548.775, true), Person("Борис", " 18°57’ВД  69°39’СШ", 26494.0625, true));
    EXPECT_FALSE(north.composite.cusps);
    EXPECT_NE(north.composite.noHouses.find("мужчина родился дальше 65°"), std::string::npos);
}

TEST(Relationship, CalendarOfADayNumberRoundsToTheMinute) {
    EXPECT_EQ(MomentText(0), "31.12.1899 12:00");
    EXPECT_EQ(MomentText(36524.25 + 29.9 / 86400), "31.12.1999 18:00");
    EXPECT_EQ(MomentText(36524.75), "01.01.2000 06:00");
    EXPECT_EQ(MomentText(36525.5 - 20.0 / 86400), "02.01.2000 00:00");  // 23:59:40 rounds into the next day
    EXPECT_EQ(MomentText(-109572.5), "01.01.1600 00:00");
    EXPECT_EQ(MomentText(-300), "06.03.1899 12:00");
    EXPECT_EQ(MomentText(std::nan("")), "01.01.1900 00:00");
    EXPECT_EQ(MomentText(1e300), "01.01.1900 00:00");
    EXPECT_EQ(MomentText(DayNumberOf(4, 10, 1582, 6, 0, 0)), "04.10.1582 06:00");  // the last Julian day
    EXPECT_EQ(MomentText(DayNumberOf(15, 10, 1582, 6, 0, 0)), "15.10.1582 06:00");
    EXPECT_EQ(LatitudeText(-0.001), "0°00’ с. ш.");
    EXPECT_EQ(LongitudeTextOfPlace(-74.0), "74°00’ з. д.");
}

}  // namespace
}  // namespace pelorin
