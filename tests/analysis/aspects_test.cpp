#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/aspects.h"

namespace pelorin {
namespace {

TChart ChartAt(std::initializer_list<double> lons) {
    TChart c;
    int i = 0;
    for (double l : lons) c[i++].Lon = l;
    return c;
}

TEST(MatchAspect, FoldsTheLongArcAndCountsTheOrbItself) {
    EXPECT_EQ(MatchAspect(180, 6, 196, 10), 180);   // 186 -> 174, exactly 6 from 180
    EXPECT_EQ(MatchAspect(180, 6, 10, 196), 180);   // either order
    EXPECT_EQ(MatchAspect(180, 5.999, 196, 10), kNoAspect);
    EXPECT_EQ(MatchAspect(90, 4, 94.5, 0), kNoAspect);  // 4.5 from the square
    EXPECT_EQ(MatchAspect(90, 4, 94, 0), 90);
    EXPECT_EQ(MatchAspect(0, 6, 359, 1), 0);  // 358 -> 2
    EXPECT_EQ(MatchAspect(0, 6, 1, 359), 0);
    EXPECT_EQ(MatchAspect(180, 0, 180, 0), 180);  // exactly 180 is not folded
    EXPECT_EQ(MatchAspect(60, 4, 0, 300), 60);
    EXPECT_EQ(MatchAspect(120, 8, std::nan(""), 0), kNoAspect);
}

TEST(FindMutualAspects, OrbOfTheLargerBodyAndRowsAreTheWoman) {
    // Woman: Sun 10; man: Moon 196 -> the Sun's and Moon's 6° orb; opposition.
    TChart woman = ChartAt({10, 300, 0, 200, 200, 200, 200, 200, 200, 200});
    TChart man = ChartAt({100, 196, 100, 94.5, 100, 100, 100, 100, 100, 100});
    AspectGrid g;
    FindMutualAspects(woman, man, g);
    EXPECT_EQ(g[kSun][kMoon], 180);
    // Woman's Mercury 0, man's Venus 94.5: both 4°, no aspect.
    EXPECT_EQ(g[kMercury][kVenus], kNoAspect);
    // Woman's Mercury 0 with man's Sun at 100: 100 is 10 off the square; none.
    EXPECT_EQ(g[kMercury][kSun], kNoAspect);
    // Woman's Moon 300 with man's Sun 100: arc 200 -> 160, 20 off: none.
    EXPECT_EQ(g[kMoon][kSun], kNoAspect);
    // Woman's Venus 200 with man's Moon 196: conjunction within the Moon's 6°.
    EXPECT_EQ(g[kVenus][kMoon], 0);
    // Woman's Venus 200 with man's Venus 94.5: 105.5, 15.5 from the square and
    // 14.5 from the trine: none.
    EXPECT_EQ(g[kVenus][kVenus], kNoAspect);
    // Row/column: woman's Mars 200 vs man's Sun 100 -> 100, none; woman's Sun 10 vs
    // man's Mercury 100 -> 90, square.
    EXPECT_EQ(g[kSun][kMercury], 90);
    EXPECT_EQ(g[kMercury][kSun], kNoAspect);
}

TEST(FindMutualAspects, FirstAngleInTableOrderWins) {
    // With the widest 6° orb no two angles can overlap, so the first match is the
    // only one; a 62° arc between Sun and Sun is a sextile, not a conjunction.
    TChart woman = ChartAt({0});
    TChart man = ChartAt({62});
    AspectGrid g;
    FindMutualAspects(woman, man, g);
    EXPECT_EQ(g[kSun][kSun], 60);
}

TEST(FindNatalAspects, DiagonalIsConjunctionAndTheGridIsSymmetric) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> lon(0, 360);
    for (int trial = 0; trial < 200; ++trial) {
        TChart man;
        for (int i = 0; i < kBodyCount; ++i) man[i].Lon = lon(rng);
        NatalAspectGrid g;
        FindNatalAspects(man, g);
        for (int i = 0; i < kBodyCount; ++i) {
            EXPECT_EQ(g[i][i], 0);
            for (int j = 0; j < kBodyCount; ++j) EXPECT_EQ(g[i][j], g[j][i]);
        }
    }
}

TEST(FindNatalAspects, UsesTheOrbOfEachAspect) {
    // Orbs 10, 6, 7, 8, 9 for 0, 60, 90, 120, 180.
    TChart man = ChartAt({0, 10, 66, 97, 128, 189, 70.5});
    NatalAspectGrid g;
    FindNatalAspects(man, g);
    EXPECT_EQ(g[0][1], 0);
    EXPECT_EQ(g[0][2], 60);
    EXPECT_EQ(g[0][3], 90);
    EXPECT_EQ(g[0][4], 120);
    EXPECT_EQ(g[0][5], 180);
    EXPECT_EQ(g[0][6], kNoAspect);  // 70.5: 10.5 off the sextile, 19.5 off the square
    // Bodies 7..9 stand at 0 with the Sun.
    EXPECT_EQ(g[0][9], 0);
}

TEST(PlaceInHouses, CuspBelongsToTheHouseItOpens) {
    TCusps cusps;
    for (int i = 1; i <= 12; ++i) cusps[i] = 30.0 * (i - 1) + 15;  // 15, 45, ... 345
    TChart man = ChartAt({15, 44.999, 45, 344.999, 345, 5, 359.99, 14.999, 0, 180});
    HouseOverlay o;
    PlaceInHouses(man, cusps, o);
    EXPECT_EQ(o[0], 1);
    EXPECT_EQ(o[1], 1);
    EXPECT_EQ(o[2], 2);
    EXPECT_EQ(o[3], 11);
    EXPECT_EQ(o[4], 12);
    EXPECT_EQ(o[5], 12);  // house 12 runs through 0° Aries
    EXPECT_EQ(o[6], 12);
    EXPECT_EQ(o[7], 12);
    EXPECT_EQ(o[8], 12);
    EXPECT_EQ(o[9], 6);
}

TEST(PlaceInHouses, HouseAcrossZeroAries) {
    TCusps cusps;
    const double c[] = {20, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320, 340};
    for (int i = 1; i <= 12; ++i) cusps[i] = c[i - 1];
    TChart man = ChartAt({5, 340, 19.9, 20});
    HouseOverlay o;
    PlaceInHouses(man, cusps, o);
    EXPECT_EQ(o[0], 12);
    EXPECT_EQ(o[1], 12);
    EXPECT_EQ(o[2], 12);
    EXPECT_EQ(o[3], 1);
    // A house other than the twelfth across 0°: cusp 3 at 350, cusp 4 at 10.
    const double d[] = {290, 320, 350, 10, 40, 70, 110, 140, 170, 200, 230, 260};
    for (int i = 1; i <= 12; ++i) cusps[i] = d[i - 1];
    man = ChartAt({355, 5, 10, 349.9});
    PlaceInHouses(man, cusps, o);
    EXPECT_EQ(o[0], 3);
    EXPECT_EQ(o[1], 3);
    EXPECT_EQ(o[2], 4);
    EXPECT_EQ(o[3], 2);
}

TEST(PlaceInHouses, EqualCuspsMakeAnEmptyHouseAndZeroCuspsPlaceNothing) {
    TCusps cusps;
    const double c[] = {0, 30, 60, 60, 120, 150, 180, 210, 240, 270, 300, 330};
    for (int i = 1; i <= 12; ++i) cusps[i] = c[i - 1];
    TChart man = ChartAt({60, 59.9, 90});
    HouseOverlay o;
    PlaceInHouses(man, cusps, o);
    EXPECT_EQ(o[0], 4);  // house 3 (60..60) is empty; 60 opens house 4
    EXPECT_EQ(o[1], 2);
    EXPECT_EQ(o[2], 4);

    TCusps zero;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> lon(0, 360);
    for (int i = 0; i < kBodyCount; ++i) man[i].Lon = lon(rng);
    man[0].Lon = 0;
    PlaceInHouses(man, zero, o);
    for (int v : o) EXPECT_EQ(v, 0);
}

TEST(PlaceInHouses, ALaterHouseOverwritesAnEarlierOne) {
    // Badly ordered cusps: house 1 (10..100) and house 2 (50..90) both hold 60;
    // the later test wins.
    TCusps cusps;
    const double c[] = {10, 50, 90, 120, 150, 180, 210, 240, 270, 300, 330, 350};
    for (int i = 1; i <= 12; ++i) cusps[i] = c[i - 1];
    cusps[2] = 100;
    cusps[3] = 50;
    cusps[4] = 90;
    // house 1: 10..100, house 2: 100 -> 50 wraps (100..360 and <50), house 3: 50..90.
    TChart man = ChartAt({60, 20});
    HouseOverlay o;
    PlaceInHouses(man, cusps, o);
    EXPECT_EQ(o[0], 3);  // in house 1 and house 3
    EXPECT_EQ(o[1], 2);  // in house 1 and (through the wrap) house 2
}

}  // namespace
}  // namespace pelorin
