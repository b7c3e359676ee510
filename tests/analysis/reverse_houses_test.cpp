#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/pair_analysis.h"
#include "analysis/reports.h"
#include "analysis/score.h"
#include "astro/tabulated.h"
#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/person_chart.h"
#include "people/person_entry.h"
#include "support/every_key_bases.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ReadFile;
using test::ScratchDir;

PersonRecord Person(const std::string& name, double moment, bool timeKnown, const char* coords) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Stamp.set("0102030405");
    p.DateText.set("05.06.1975");
    p.TimeText.set(timeKnown ? "09:36" : " --- ");
    p.TimeKnown = timeKnown ? 1 : 0;
    p.Place.set(Utf8ToCp1251("Москва"));
    p.CoordText.set(Utf8ToCp1251(coords));
    p.ShiftFlag.set("Z");
    p.Moment = moment;
    return p;
}

constexpr const char* kMoscow = " 37°37’ВД  55°45’СШ";

// Her bodies in his houses by hand: his cusps every 30° from 100°, her bodies
// where they fall; the database scores her Moon in his 4th and her Saturn in
// his 10th, nothing else; houses outer, her bodies inner, the Moon counted.
TEST(ReverseHouses, HerBodiesInHisHousesByHand) {
    TCusps his;
    for (int i = 1; i <= 12; ++i) his[i] = std::fmod(100.0 + 30.0 * (i - 1), 360.0);
    TChart her{};
    const double lon[10] = {100.0, 195.5, 99.99, 10.0, 69.0, 70.0, 5.0, 340.0, 250.0, 130.0};
    for (int b = 0; b < 10; ++b) her[b].Lon = lon[b];
    HouseOverlay overlay{};
    PlaceInHouses(her, his, overlay);
    // 100 starts house 1; 99.99 ends house 12 (70..100) and 69 house 11; 70
    // begins house 12; 5 and 340 are in house 9 (340..10, through 0°).
    EXPECT_EQ(overlay, (HouseOverlay{1, 4, 12, 10, 11, 12, 9, 9, 6, 2}));

    const TextBase texts("her", {"*   5   0   2   0   4   0   0", "Луна Ж", "уют", "@",  //
                                 "*   0   3   7   0   9   0   0", "Сатурн Ж", "строгость", "@",
                                 "*   2   0   4   0  10   0   0", "Венера Ж", "нежность", "@"});
    const ReverseScore s = ScoreReverse(overlay, ReverseWeightLookup(texts));
    EXPECT_EQ(s.PlusTotal, 7);
    EXPECT_EQ(s.MinusTotal, -3);
    ASSERT_EQ(s.Factors.size(), 3u);
    EXPECT_EQ(s.Factors[0], (ScoreFactor{ScoreFactor::Kind::ReverseHouse, 0, 2, 0, 4, 5}));
    EXPECT_EQ(s.Factors[1], (ScoreFactor{ScoreFactor::Kind::ReverseHouse, 0, 7, 0, 9, -3}));
    EXPECT_EQ(s.Factors[2], (ScoreFactor{ScoreFactor::Kind::ReverseHouse, 0, 4, 0, 10, 2}));
    // Plus 5, minus -3 of the pair with these: 12 / 18 = 66.7 -> 67.
    EXPECT_EQ(PercentWithReverse(5, -3, s), 67);
    EXPECT_EQ(WithHisHousesText(67), "с его домами: 67 %");
}

// The pair analysis of a man with a birth time and a place: his cusps at his
// moment and place, her bodies placed in them, the section of the report and
// the second figure. Without his time nothing of it, and the report is the one
// of a man without houses.
TEST(ReverseHouses, PairAnalysisWithAndWithoutHisHouses) {
    UnloadTabulatedFile();
    const TextDatabases texts = test::EveryKeyBases();
    PeopleState people;
    people.ChosenWoman = Person("Анна", 27549.4, true, kMoscow);
    people.ChosenMan = Person("Борис", 26000.3, true, "  0°08’ЗД  51°31’СШ");
    people.WomanChosen = people.ManChosen = true;

    ScratchDir dir;
    AnalysisState state;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, state, none).ok);
    ASSERT_TRUE(ManHousesKnown(state));
    const PersonChart his = ChartOf(people.ChosenMan);
    ASSERT_TRUE(his.cusps);
    for (int i = 1; i <= 12; ++i) EXPECT_EQ(state.ManCusps[i], (*his.cusps)[i]);
    HouseOverlay expected{};
    PlaceInHouses(state.WomanChart, state.ManCusps, expected);
    EXPECT_EQ(state.ReverseOverlay, expected);
    ASSERT_TRUE(state.Reverse);
    EXPECT_EQ(state.Reverse->Factors.size(), 10u);  // every body of hers has an entry
    EXPECT_EQ(state.PercentWithHisHouses,
              PercentWithReverse(state.PlusTotal, state.MinusTotal, *state.Reverse));
    // The percentage stays the one of his bodies and the aspects.
    EXPECT_EQ(state.Factors.size(), ScorePair(state.AspectGrid, state.HouseOverlay, true,
                                              ScanLookups(texts.AspectTexts, texts.HouseTexts))
                                        .Factors.size());
    const std::string rtf = Cp1251ToUtf8(ReadFile(dir.file("Itogo.rtf")));
    EXPECT_NE(rtf.find("СОВМЕСТИМОСТЬ " + std::to_string(*CompatPercentOf(state.PlusTotal, state.MinusTotal)) +
                       "%\r\n\\par \\pard\\qc\\b0\\f1\\fs20 " + WithHisHousesText(*state.PercentWithHisHouses) +
                       "\r\n"),
              std::string::npos);
    const std::size_t section = rtf.find("  Её планеты в его домах\r\n");
    ASSERT_NE(section, std::string::npos);
    EXPECT_GT(section, rtf.find("Негативные факторы"));
    const ScoreFactor& first = state.Reverse->Factors.front();
    EXPECT_NE(rtf.find("\\par her " + std::to_string(first.womanBody) + " " + std::to_string(first.house) + "\r\n",
                       section),
              std::string::npos);
    const std::string man = Cp1251ToUtf8(ReadFile(dir.file("Itogo_Men.rtf")));
    EXPECT_NE(man.find("\\par " + Cp1251ToUtf8(AngleLine("Асцендент", state.ManCusps[1])) + "\r\n"), std::string::npos);
    EXPECT_NE(man.find("Середина неба: "), std::string::npos);

    // Her birth time unknown: her bodies are still placed in his houses and
    // scored, but without her houses there is no second figure.
    people.ChosenWoman.TimeKnown = 0;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, state, none).ok);
    EXPECT_TRUE(state.Reverse);
    EXPECT_FALSE(state.PercentWithHisHouses);
    EXPECT_EQ(Cp1251ToUtf8(ReadFile(dir.file("Itogo.rtf"))).find("с его домами"), std::string::npos);

    // Born beyond 65° of latitude (Norilsk): no cusps, so none of his houses.
    people.ChosenMan.CoordText.set(Utf8ToCp1251(" 88°12’ВД  69°20’СШ"));
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, state, none).ok);
    EXPECT_EQ(state.ManHouses, HouseStatus::BeyondLatitude);
    EXPECT_FALSE(ManHousesKnown(state));
    EXPECT_FALSE(state.Reverse);
    EXPECT_FALSE(ChartOf(people.ChosenMan).cusps);
    people.ChosenMan.CoordText.set(Utf8ToCp1251("  0°08’ЗД  51°31’СШ"));

    // His time unknown: no houses of his, nothing of them anywhere.
    people.ChosenWoman.TimeKnown = 1;
    people.ChosenMan.TimeKnown = 0;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, state, none).ok);
    EXPECT_FALSE(state.ManHouses);
    EXPECT_FALSE(state.Reverse);
    EXPECT_FALSE(state.PercentWithHisHouses);
    EXPECT_EQ(state.ReverseOverlay, HouseOverlay{});
    EXPECT_EQ(Cp1251ToUtf8(ReadFile(dir.file("Itogo.rtf"))).find("Её планеты"), std::string::npos);
}

// A man entered the old way (typed place, no time): the analysis and both
// reports byte for byte as they were before men could have houses.
TEST(ReverseHouses, TypedPlaceManAnalysedAsBefore) {
    UnloadTabulatedFile();
    ScratchDir dir;
    PersonTable men{TableKind::Men, {}};
    for (int s = 1; s <= kTableSlots; ++s) ClearSlot(men, s);
    SavePersonFile(dir.file("MEN.DAT"), men);
    ManEntry e;
    e.name = Utf8ToCp1251("Иван Петров");
    e.day = 15, e.month = 6, e.year = 1970;
    e.place = Utf8ToCp1251("Россия, Омск");
    const EntryResult stored = StoreMan(e, men, dir.path(), 1700000000);
    ASSERT_EQ(stored.outcome, EntryOutcome::Stored);

    PeopleState people;
    people.ChosenWoman = Person("Анна", 27549.4, true, kMoscow);
    people.ChosenWoman.ShiftFlag.set("");
    people.ChosenWoman.Place.set(Utf8ToCp1251("Москва"));
    people.ChosenMan = men.slot(stored.slot);
    people.WomanChosen = people.ManChosen = true;
    AnalysisState state;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), test::EveryKeyBases()}, state, none).ok);
    EXPECT_EQ(state.PlusTotal, 91);
    EXPECT_EQ(state.MinusTotal, -57);
    EXPECT_EQ(state.HouseOverlay, (HouseOverlay{4, 8, 3, 6, 5, 7, 2, 7, 9, 1}));
    EXPECT_FALSE(state.ManHouses);
    const std::string expected = std::string(PELORIN_SOURCE_DIR) + "/tests/data/old_man/";
    EXPECT_EQ(ReadFile(dir.file("Itogo.rtf")), ReadFile(expected + "Itogo.rtf"));
    EXPECT_EQ(ReadFile(dir.file("Itogo_Men.rtf")), ReadFile(expected + "Itogo_Men.rtf"));
}

// A data directory made before the fifth database: it is taken from the
// shipped data under the caller's lock; without shipped data the others load
// and the pair report says that her planets in his houses were not scored.
TEST(ReverseHouses, OldDataDirectoryTakesTheShippedDatabaseOrGoesWithout) {
    ScratchDir shipped, old;
    for (const DatabaseFile& db : kDatabaseFiles) {
        WriteFileAtomic(shipped.file(db.source), ScrambleBytes(Utf8ToCp1251("*   4   0   1   0   5   0   0\r\nt\r\nx\r\n@\r\n")));
        WriteFileAtomic(shipped.file(db.work), "");
        if (&db == &kDatabaseFiles[kReverseDatabase]) continue;
        WriteFileAtomic(old.file(db.source), ReadFile(shipped.file(db.source)));
        WriteFileAtomic(old.file(db.work), "");
    }
    TextDatabases loaded;
    LoadTextDatabases(old.path(), loaded);  // nothing shipped known
    EXPECT_NE(loaded.ReverseMissing.find("data1_r.dat"), std::string::npos);
    EXPECT_EQ(loaded.ReverseHouseTexts.lineCount(), 0);
    EXPECT_EQ(HouseWeight(loaded.HouseTexts, 1, 5), 4);
    EXPECT_FALSE(FileReadable(old.file("data1_r.dat")));

    PeopleState people;
    people.ChosenWoman = Person("Анна", 27549.4, true, kMoscow);
    people.ChosenMan = Person("Борис", 26000.3, true, kMoscow);
    people.WomanChosen = people.ManChosen = true;
    AnalysisState state;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(people, {old.path(), loaded}, state, none).ok);
    EXPECT_TRUE(ManHousesKnown(state));
    EXPECT_FALSE(state.Reverse);
    EXPECT_FALSE(state.PercentWithHisHouses);
    EXPECT_NE(Cp1251ToUtf8(ReadFile(old.file("Itogo.rtf"))).find(loaded.ReverseMissing), std::string::npos);

    LoadTextDatabases(old.path(), loaded, shipped.path());
    EXPECT_TRUE(loaded.ReverseMissing.empty());
    EXPECT_EQ(ReadFile(old.file("data1_r.dat")), ReadFile(shipped.file("data1_r.dat")));
    EXPECT_EQ(ReadFile(old.file("data2_r.dat")), "");
    EXPECT_EQ(HouseWeight(loaded.ReverseHouseTexts, 1, 5), 4);
}

// The scan ranks by the percentage and carries the second figure where both
// have houses, as the pair analysis gives it.
TEST(ReverseHouses, ScanCarriesTheSecondFigureWhereBothHaveHouses) {
    UnloadTabulatedFile();
    const TextDatabases texts = test::EveryKeyBases();
    PeopleState people;
    for (int s = 1; s <= kTableSlots; ++s) ClearSlot(people.MenTable, s), ClearSlot(people.WomenTable, s);
    people.ChosenWoman = Person("Анна", 27549.4, true, kMoscow);
    people.MenTable.slot(1) = Person("Борис", 26000.3, true, kMoscow);
    people.MenTable.slot(2) = Person("Глеб", 26000.3, false, kMoscow);
    people.MenTable.slot(1).Stamp.set("0000000001");
    people.MenTable.slot(2).Stamp.set("0000000002");
    ScratchDir dir;
    AnalysisState state;
    ScanAllMen(people, {dir.path(), texts}, state);
    ASSERT_TRUE(state.ScanResults[0].PercentWithHisHouses);
    EXPECT_FALSE(state.ScanResults[1].PercentWithHisHouses);
    // Born at the same moment: the same percentage, the second figure his own.
    EXPECT_EQ(state.ScanResults[0].CompatPercent, state.ScanResults[1].CompatPercent);

    // The same pair through the pair analysis gives the same second figure.
    people.ChosenMan = people.MenTable.slot(1);
    people.WomanChosen = people.ManChosen = true;
    AnalysisState pair;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, pair, none).ok);
    EXPECT_EQ(pair.PercentWithHisHouses, state.ScanResults[0].PercentWithHisHouses);
}

}  // namespace
}  // namespace pelorin
