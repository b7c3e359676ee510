#include <gtest/gtest.h>

#include <vector>

#include "analysis/score.h"
#include "base/cp1251.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

TEST(CompatPercent, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(CompatPercentOf(5, -3), 62);   // 62.5
    EXPECT_EQ(CompatPercentOf(7, -1), 88);   // 87.5
    EXPECT_EQ(CompatPercentOf(127, -73), 64);  // 63.5
    EXPECT_EQ(CompatPercentOf(2, -1), 67);   // 66.67
    EXPECT_EQ(CompatPercentOf(1, -2), 33);
    EXPECT_EQ(CompatPercentOf(9, 0), 100);
    EXPECT_EQ(CompatPercentOf(0, -9), 0);
    EXPECT_EQ(CompatPercentOf(0, 0), std::nullopt);  // nothing matched: no percentage
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

// Lookups that record every key asked and answer from a table.
struct Recorder {
    std::vector<std::array<int, 3>> aspects;
    std::vector<std::array<int, 2>> houses;
    ScoreLookups lookups() {
        return {[this](int m, int a, int w) {
                    aspects.push_back({m, a, w});
                    return m == 1 ? 5 : (m == 2 ? 100 : -3);
                },
                [this](int m, int h) {
                    houses.push_back({m, h});
                    return h;
                }};
    }
};

AspectGrid FullGrid(std::uint8_t angle) {
    AspectGrid g;
    for (auto& row : g) row.fill(angle);
    return g;
}

TEST(ScorePair, ManOuterWomanInnerAndTheMansMoonNeverAsked) {
    Recorder rec;
    HouseOverlay overlay{};
    const PairScore s = ScorePair(FullGrid(90), overlay, true, rec.lookups());
    ASSERT_EQ(rec.aspects.size(), 90u);
    int i = 0;
    for (int m : {1, 3, 4, 5, 6, 7, 8, 9, 10})
        for (int w = 1; w <= 10; ++w) {
            EXPECT_EQ(rec.aspects[static_cast<std::size_t>(i)], (std::array<int, 3>{m, 90, w}));
            ++i;
        }
    // Man's body 2 (the Moon) would have weighed 100 each time.
    EXPECT_EQ(s.PlusTotal, 50);
    EXPECT_EQ(s.MinusTotal, -3 * 80);
    EXPECT_TRUE(rec.houses.empty());  // overlay 0 is never looked up
    EXPECT_EQ(s.CompatPercent, CompatPercentOf(50, -240));
}

TEST(ScorePair, OnlyPresentAspectsAndTheCellOfTheWomansRow) {
    Recorder rec;
    AspectGrid g = FullGrid(kNoAspect);
    g[kMoon][kSun] = 120;    // woman's Moon with man's Sun: counts
    g[kSun][kMoon] = 0;      // woman's Sun with man's Moon: never
    g[kPluto][kMars] = 180;
    const PairScore s = ScorePair(g, HouseOverlay{}, false, rec.lookups());
    EXPECT_EQ(rec.aspects, (std::vector<std::array<int, 3>>{{1, 120, 2}, {5, 180, 10}}));
    EXPECT_EQ(s.PlusTotal, 5);
    EXPECT_EQ(s.MinusTotal, -3);
    EXPECT_EQ(s.CompatPercent, 62);
}

TEST(ScorePair, HousePassHouseOuterOnlyWithTheWomansTime) {
    HouseOverlay overlay{};
    overlay[kSun] = 7;
    overlay[kMoon] = 1;     // the man's Moon never
    overlay[kMercury] = 3;
    overlay[kPluto] = 3;
    overlay[kVenus] = 0;
    Recorder without;
    EXPECT_EQ(ScorePair(FullGrid(kNoAspect), overlay, false, without.lookups()).CompatPercent, std::nullopt);
    EXPECT_TRUE(without.houses.empty());
    Recorder with;
    const PairScore s = ScorePair(FullGrid(kNoAspect), overlay, true, with.lookups());
    EXPECT_EQ(with.houses, (std::vector<std::array<int, 2>>{{3, 3}, {10, 3}, {1, 7}}));
    EXPECT_EQ(s.PlusTotal, 13);
    EXPECT_EQ(s.MinusTotal, 0);
    EXPECT_EQ(s.CompatPercent, 100);
}

TEST(ScorePair, WritingAndWeightOnlyLookupsGiveTheSameTotals) {
    auto cp = [](const char* s) { return Utf8ToCp1251(s); };
    const TextBase aspects("data1.dat", {"*   5   0   1 180   0   0   1", "t", cp("солнце"), "@",
                                         "*   0   3   1   0   0   0   2", "t", cp("луна"), "@",
                                         "*   9   0   2   0   0   0   1", "t", "moon", "@"});
    const TextBase houses("data1_d.dat", {"*   0   0   4   0   5   0   0", "t", "none", "@",
                                          "*   2   0   4   0   5   0   0", "t", "venus", "@"});
    AspectGrid g = FullGrid(kNoAspect);
    g[kSun][kSun] = 180;
    g[kMoon][kSun] = 0;
    g[kSun][kMoon] = 0;  // the man's Moon: the entry with weight 9 is never used
    HouseOverlay overlay{};
    overlay[kVenus] = 5;
    test::ScratchDir pair;
    const PairScore a = ScorePair(g, overlay, true, PairReportLookups(aspects, houses, pair.path()));
    const PairScore b = ScorePair(g, overlay, true, ScanLookups(aspects, houses));
    EXPECT_EQ(a.PlusTotal, 7);
    EXPECT_EQ(a.MinusTotal, -3);
    EXPECT_EQ(a.CompatPercent, 70);
    EXPECT_EQ(b.PlusTotal, a.PlusTotal);
    EXPECT_EQ(b.MinusTotal, a.MinusTotal);
    EXPECT_EQ(test::ReadFile(pair.file("Plus.txt")),
              cp("     +5 баллов\r\nсолнце\r\n\r\n     +2 балла\r\nvenus\r\n\r\n"));
    EXPECT_EQ(test::ReadFile(pair.file("Minus.txt")), cp("     -3 балла\r\nлуна\r\n\r\n"));
}

}  // namespace
}  // namespace pelorin
