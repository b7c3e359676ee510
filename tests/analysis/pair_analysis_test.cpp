#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/reports.h"
#include "analysis/score.h"
#include "analysis/text_pack.h"
#include "analysis/pair_analysis.h"
#include "base/cp1251.h"
#include "astro/chart.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "support/report_data.h"
#include "support/test_support.h"
#include "people/person_chart.h"

namespace pelorin {
namespace {

using test::ReadFile;
using test::ScratchDir;

using test::kReportData;

TextBase Packed(EntryKind kind, const std::string& file) { return test::PackedReportBase(kind, file); }

TextDatabases ReportBases() {
    TextDatabases t;
    t.AspectTexts = Packed(EntryKind::Aspect, "aspects.txt");
    t.HouseTexts = Packed(EntryKind::House, "houses.txt");
    t.NatalAspectTexts = Packed(EntryKind::Natal, "natal.txt");
    t.SignTexts = Packed(EntryKind::Sign, "signs.txt");
    return t;
}

TextBase Raw(const std::string& name, const std::vector<const char*>& utf8Lines) {
    std::vector<std::string> lines;
    for (const char* l : utf8Lines) lines.push_back(Utf8ToCp1251(l));
    return TextBase(name, lines);
}

constexpr double kWomanMoment = 27549.4;  // 5 June 1975

PersonRecord Person(const std::string& name, double moment, bool timeKnown = true) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Stamp.set("0102030405");
    p.DateText.set("05.06.1975");
    p.TimeText.set(timeKnown ? "09:36" : " --- ");
    p.TimeKnown = timeKnown ? 1 : 0;
    p.Place.set(Utf8ToCp1251("Москва, Российская Федерация, длинное название"));
    p.Comment.set(std::string(255, 'c'));
    p.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    p.Moment = moment;
    return p;
}

PeopleState Chosen(bool womanTimeKnown = true) {
    PeopleState p;
    for (int s = 1; s <= kTableSlots; ++s) ClearSlot(p.MenTable, s);
    p.ChosenWoman = Person("Анна", kWomanMoment, womanTimeKnown);
    // A man without his birth time: no houses of his (reverse_houses_test.cpp has those).
    p.ChosenMan = Person("Борис", kWomanMoment + 1000.3, false);
    p.WomanChosen = p.ManChosen = true;
    return p;
}

// Records the observer calls in order, with what was on disk at each.
struct Recorder : PairAnalysisObserver {
    std::vector<std::string> calls;
    std::string dataDir;
    const char* throwAt = nullptr;
    void Note(const std::string& c) {
        calls.push_back(c);
        if (throwAt && c == throwAt) throw Error("Окно не смогло загрузить отчёт.");
    }
    void ShowPage(MainPage page) override { Note("page " + std::to_string(static_cast<int>(page))); }
    void ClearCompatibility() override { Note("clear"); }
    void ManReportWritten(const std::string& file) override {
        EXPECT_EQ(file, JoinPath(dataDir, "Itogo_Men.rtf"));
        EXPECT_TRUE(FileReadable(file));
        EXPECT_FALSE(FileReadable(JoinPath(dataDir, "Itogo.rtf")));  // not yet written
        Note("man report");
    }
    void ChartReady(const AnalysisState& s) override {
        EXPECT_NE(s.WomanCusps[1], 0.0);
        EXPECT_NE(s.ManChart[kSun].Lon, 0.0);
        Note("chart");
    }
    void PairReportWritten(const std::string& file, const AnalysisState& s) override {
        EXPECT_EQ(file, JoinPath(dataDir, "Itogo.rtf"));
        EXPECT_TRUE(FileReadable(file));
        EXPECT_FALSE(s.PairDone);
        Note("pair report");
    }
    void Done() override { Note("done"); }
};

TEST(PairAnalysis, DoesNothingWithoutBothPeople) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    for (int which = 0; which < 2; ++which) {
        PeopleState people = Chosen();
        (which ? people.WomanChosen : people.ManChosen) = false;
        AnalysisState state;
        state.PairDone = true;
        Recorder rec;
        const AnalysisResult r = RunPairAnalysis(people, {dir.path(), texts}, state, rec);
        EXPECT_FALSE(r.ran);
        EXPECT_TRUE(rec.calls.empty());
        EXPECT_TRUE(state.PairDone);
        EXPECT_EQ(state.WomanChart[kSun].Lon, 0.0);
    }
    EXPECT_FALSE(FileReadable(dir.file("Itogo.rtf")));
}

TEST(PairAnalysis, StepsInOrderAndTheStateOfThePair) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    const PeopleState people = Chosen();
    AnalysisState state;
    state.ScanDone = true;
    Recorder rec;
    rec.dataDir = dir.path();
    const AnalysisResult r = RunPairAnalysis(people, {dir.path(), texts}, state, rec);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"page 3", "clear", "page 6", "page 5", "man report", "chart",
                                                   "page 5", "page 4", "pair report", "done"}));
    EXPECT_TRUE(state.PairDone);
    EXPECT_FALSE(state.ScanDone);
    EXPECT_EQ(state.WomanHouses, HouseStatus::Computed);

    // The state is what the routines give for these people.
    TChart w, m;
    ComputeChart(people.ChosenWoman, w);
    ComputeChart(people.ChosenMan, m);
    AspectGrid grid;
    FindMutualAspects(w, m, grid);
    EXPECT_EQ(state.AspectGrid, grid);
    NatalAspectGrid natal;
    FindNatalAspects(m, natal);
    EXPECT_EQ(state.NatalAspectGrid, natal);
    HouseOverlay overlay;
    PlaceInHouses(m, state.WomanCusps, overlay);
    EXPECT_EQ(state.HouseOverlay, overlay);
    ScratchDir other;
    const PairScore s = WritePairReport({people.ChosenWoman, people.ChosenMan, grid, overlay, texts.AspectTexts,
                                         texts.HouseTexts, other.path()});
    EXPECT_EQ(state.PlusTotal, s.PlusTotal);
    EXPECT_EQ(state.MinusTotal, s.MinusTotal);
    EXPECT_EQ(ReadFile(dir.file("Itogo.rtf")), ReadFile(other.file("Itogo.rtf")));
}

TEST(PairAnalysis, TwoRunsGiveIdenticalFilesAndState) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    const PeopleState people = Chosen();
    AnalysisState first, second;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, first, none).ok);
    std::vector<std::string> files;
    for (const char* f : {"Itogo.rtf", "Itogo_Men.rtf", "Plus.txt", "Minus.txt", "Plus_Men.txt", "Minus_Men.txt"})
        files.push_back(ReadFile(dir.file(f)));
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, second, none).ok);
    int i = 0;
    for (const char* f : {"Itogo.rtf", "Itogo_Men.rtf", "Plus.txt", "Minus.txt", "Plus_Men.txt", "Minus_Men.txt"})
        EXPECT_EQ(ReadFile(dir.file(f)), files[static_cast<std::size_t>(i++)]) << f;
    EXPECT_EQ(first.AspectGrid, second.AspectGrid);
    EXPECT_EQ(first.PlusTotal, second.PlusTotal);
}

TEST(PairAnalysis, WomanWithoutBirthTimeStillGetsHousesButNoHouseScore) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    // A house base that places every body of the man: +1 for any house.
    TextDatabases houses = texts;
    std::vector<const char*> lines;
    static const std::vector<std::string> headers = [] {
        std::vector<std::string> h;
        for (int b = 1; b <= 10; ++b)
            for (int house = 1; house <= 12; ++house) {
                char buf[40];
                std::snprintf(buf, sizeof buf, "* %3d %3d %3d %3d %3d %3d %3d", 1, 0, b, 0, house, 0, 0);
                h.push_back(buf);
            }
        return h;
    }();
    for (const std::string& h : headers) {
        lines.push_back(h.c_str());
        lines.push_back("-");
        lines.push_back("дом");
        lines.push_back("@");
    }
    houses.HouseTexts = Raw("data1_d.dat", lines);
    AnalysisState with, without;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(Chosen(true), {dir.path(), houses}, with, none).ok);
    ASSERT_TRUE(RunPairAnalysis(Chosen(false), {dir.path(), houses}, without, none).ok);
    EXPECT_EQ(without.WomanHouses, HouseStatus::Computed);
    EXPECT_EQ(without.WomanCusps.cusp, with.WomanCusps.cusp);
    EXPECT_EQ(without.HouseOverlay, with.HouseOverlay);
    EXPECT_EQ(with.PlusTotal - without.PlusTotal, 9);  // nine bodies without the Moon, one house each
    EXPECT_EQ(ReadFile(dir.file("Itogo.rtf")).find(Utf8ToCp1251("\\par дом")), std::string::npos);
}

TEST(PairAnalysis, AnErrorEndsTheAnalysisAtItsStep) {
    ScratchDir dir;
    TextDatabases texts = ReportBases();
    const PeopleState people = Chosen();
    {
        // A sign base with a header that is not a number: the man's report fails.
        TextDatabases bad = texts;
        bad.SignTexts = Raw("pla1.dat", {"*   0   x   1   0   0   0   0", "-", "@"});
        AnalysisState state;
        state.PairDone = true;  // an earlier pair
        Recorder rec;
        rec.dataDir = dir.path();
        const AnalysisResult r = RunPairAnalysis(people, {dir.path(), bad}, state, rec);
        EXPECT_TRUE(r.ran);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.failedStep, PairStep::ManReport);
        EXPECT_NE(r.message.find("pla1.dat"), std::string::npos);
        EXPECT_FALSE(state.PairDone);                  // the state is no longer that pair's
        EXPECT_NE(state.NatalAspectGrid[0][0], 255);  // the steps done keep their results
        EXPECT_EQ(rec.calls, (std::vector<std::string>{"page 3", "clear", "page 6"}));
    }
    {
        // The window cannot load the man's report.
        AnalysisState state;
        Recorder rec;
        rec.dataDir = dir.path();
        rec.throwAt = "man report";
        std::remove(dir.file("Itogo.rtf").c_str());
        const AnalysisResult r = RunPairAnalysis(people, {dir.path(), texts}, state, rec);
        EXPECT_EQ(r.failedStep, PairStep::ShowManReport);
        EXPECT_EQ(r.message, "Окно не смогло загрузить отчёт.");
        EXPECT_FALSE(FileReadable(dir.file("Itogo.rtf")));
    }
    {
        // A coordinate text that is not a number: the houses fail.
        PeopleState odd = people;
        odd.ChosenWoman.CoordText.set(Utf8ToCp1251(" 3x°37’ВД  55°45’СШ"));
        AnalysisState state;
        PairAnalysisObserver none;
        const AnalysisResult r = RunPairAnalysis(odd, {dir.path(), texts}, state, none);
        EXPECT_EQ(r.failedStep, PairStep::Houses);
        EXPECT_FALSE(state.WomanHouses.has_value());
    }
}

// ---- Scan ---------------------------------------------------------------------

// A base in which only the Sun-Sun aspect weighs: conjunction +3, opposition -3.
// A man born with the woman scores 100, half a year later 0, a quarter year
// later nothing at all.
TextDatabases SunBases() {
    TextDatabases t;
    t.AspectTexts = Raw("data1.dat", {"*   3   0   1   0   0   0   1", "-", "@", "*   0   3   1 180   0   0   1", "-", "@"});
    return t;
}

constexpr double kSame = kWomanMoment + 0.2, kHalfYear = kWomanMoment + 182.6, kQuarter = kWomanMoment + 91.3;

void PutMan(PeopleState& p, int slot, const std::string& name, double moment) {
    PersonRecord r = Person(name, moment);
    r.Stamp.set("10000000" + std::to_string(10 + slot));
    p.MenTable.slot(slot) = r;
}

// The printed chart page and ranking name the people they were computed for,
// not whoever is chosen afterwards.
TEST(PairAnalysis, ThePagesKeepThePeopleTheyWereMadeFor) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    PeopleState people = Chosen();
    const PersonRecord woman = people.ChosenWoman, man = people.ChosenMan;
    AnalysisState state;
    PairAnalysisObserver none;
    ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, state, none).ok);
    people.ChosenWoman.Name.set(Utf8ToCp1251("Другая"));
    people.ChosenMan.Name.set(Utf8ToCp1251("Другой"));
    EXPECT_EQ(std::memcmp(&state.PairWoman, &woman, sizeof woman), 0);
    EXPECT_EQ(std::memcmp(&state.PairMan, &man, sizeof man), 0);

    people = Chosen();
    ScanObserver quiet;
    ASSERT_TRUE(RunScan(people, {dir.path(), texts}, state, quiet).ok);
    people.ChosenWoman.Name.set(Utf8ToCp1251("Другая"));
    EXPECT_EQ(state.ScanPerson.Name.str(), woman.Name.str());
    people = Chosen();
    ASSERT_TRUE(RunWomenScan(people, {dir.path(), texts}, state, quiet).ok);
    EXPECT_EQ(state.ScanPerson.Name.str(), man.Name.str());
}

TEST(Scan, FreeSlotsSkippedEntriesContiguousRankedWithSlotOrder) {
    ScratchDir dir;
    const TextDatabases texts = SunBases();
    PeopleState people = Chosen();
    PutMan(people, 2, "Квартал", kQuarter);
    PutMan(people, 4, "Полгода1", kHalfYear);
    PutMan(people, 5, "Ровня1", kSame);
    PutMan(people, 9, "Полгода2", kHalfYear);
    PutMan(people, 30, "Ровня2", kSame);
    PutMan(people, 99, "Ровня3", kSame);
    people.MenTable.slot(100) = Person("Слот100", kSame);  // slot 100 never takes part

    AnalysisState state;
    state.PairDone = true;
    state.WomanChart[kSun].Lon = 123;  // the scan leaves the woman's chart alone
    ScanObserver none;
    const AnalysisResult r = RunScan(people, {dir.path(), texts}, state, none);
    ASSERT_TRUE(r.ok) << r.message;

    const std::vector<std::string> scanOrder{"Квартал", "Полгода1", "Ровня1", "Полгода2", "Ровня2", "Ровня3"};
    for (std::size_t i = 0; i < scanOrder.size(); ++i)
        EXPECT_EQ(state.ScanResults[i].ManName, PadRight(Utf8ToCp1251(scanOrder[i]), 20)) << i;
    EXPECT_TRUE(IsUnusedEntry(state.ScanResults[6]));

    const std::vector<std::string> ranked{"Ровня1", "Ровня2", "Ровня3", "Полгода1", "Полгода2", "Квартал"};
    for (std::size_t i = 0; i < ranked.size(); ++i)
        EXPECT_EQ(state.RankedResults[i].ManName, PadRight(Utf8ToCp1251(ranked[i]), 20)) << i;
    for (std::size_t i = ranked.size(); i < kScanEntries; ++i) EXPECT_TRUE(IsUnusedEntry(state.RankedResults[i]));

    const ScanEntry& top = state.RankedResults[0];
    EXPECT_TRUE(top.PercentDefined);
    EXPECT_EQ(top.CompatPercent, 100);
    EXPECT_EQ(top.PlusTotal, 3);
    EXPECT_EQ(top.ManPlace, Utf8ToCp1251("Москва, Российская Федера"));
    EXPECT_EQ(top.ManComment, std::string(250, 'c'));
    EXPECT_EQ(top.ManDate, "05.06.1975");
    EXPECT_EQ(state.RankedResults[3].CompatPercent, 0);
    EXPECT_TRUE(state.RankedResults[3].PercentDefined);
    EXPECT_EQ(state.RankedResults[3].MinusTotal, -3);
    EXPECT_FALSE(state.RankedResults[5].PercentDefined);  // nothing matched: after 0 %

    // The last man scanned stays chosen (the flag cleared), his chart in the state.
    EXPECT_FALSE(people.ManChosen);
    EXPECT_EQ(people.ChosenMan.Name.str(), PadRight(Utf8ToCp1251("Ровня3"), 20));
    TChart last;
    ComputeChart(people.ChosenMan, last);
    EXPECT_EQ(state.ManChart[kSun].Lon, last[kSun].Lon);
    EXPECT_EQ(state.WomanChart[kSun].Lon, 123);
    EXPECT_EQ(state.WomanHouses, HouseStatus::Computed);
    EXPECT_FALSE(state.PairDone);
    EXPECT_TRUE(state.ScanDone);
    EXPECT_EQ(state.ProgressCounter, 0);
}

TEST(Scan, ShorterScanLeavesNothingOfTheLongerOne) {
    ScratchDir dir;
    const TextDatabases texts = SunBases();
    PeopleState people = Chosen();
    for (int s = 1; s <= 5; ++s) PutMan(people, s, "Первый" + std::to_string(s), kSame);
    AnalysisState state;
    ScanAllMen(people, {dir.path(), texts}, state);
    for (int s = 1; s <= 5; ++s) ClearSlot(people.MenTable, s);
    PutMan(people, 7, "Один", kHalfYear);  // 0 %
    ScanAllMen(people, {dir.path(), texts}, state);
    RankScan(state);
    EXPECT_EQ(state.RankedResults[0].ManName, PadRight(Utf8ToCp1251("Один"), 20));
    for (std::size_t i = 1; i < kScanEntries; ++i) {
        const ScanEntry& e = state.ScanResults[i];
        EXPECT_TRUE(IsUnusedEntry(e)) << i;
        EXPECT_EQ(e.PlusTotal, 0);
        EXPECT_FALSE(e.PercentDefined);
        EXPECT_TRUE(e.ManDate.empty());
        EXPECT_TRUE(IsUnusedEntry(state.RankedResults[i])) << i;
    }
}

TEST(Scan, RankKeepsScanOrderForEqualKeysAndPutsUnusedLast) {
    AnalysisState state;
    auto entry = [](const char* name, std::optional<int> percent) {
        ScanEntry e;
        e.ManName = name;
        e.PercentDefined = percent.has_value();
        e.CompatPercent = percent.value_or(0);
        return e;
    };
    state.ScanResults[0] = entry("a", std::nullopt);
    state.ScanResults[1] = entry("b", 0);
    state.ScanResults[2] = entry("c", 50);
    state.ScanResults[3] = entry("d", std::nullopt);
    state.ScanResults[4] = entry("e", 50);
    state.ScanResults[5] = entry("f", 0);
    state.ScanResults[6] = entry("g", 100);
    // An unused entry in the middle (it cannot happen, but it must not rank ahead).
    state.ScanResults[8] = entry("h", 60);
    state.ScanResults[7].CompatPercent = 99;
    RankScan(state);
    std::string order;
    for (int i = 0; i < 9; ++i) order += IsUnusedEntry(state.RankedResults[static_cast<std::size_t>(i)])
                                             ? '_'
                                             : state.RankedResults[static_cast<std::size_t>(i)].ManName[0];
    EXPECT_EQ(order, "ghcebfad_");
    EXPECT_EQ(RankKey(entry("x", 0)), 0);
    EXPECT_LT(RankKey(entry("x", std::nullopt)), 0);
    EXPECT_LT(RankKey(ScanEntry{}), RankKey(entry("x", std::nullopt)));

    // All 100 entries in rising order: the last one needs every one of the 99
    // passes to reach the front, and the comparisons run up to (99, 100).
    for (int i = 0; i < kScanEntries; ++i)
        state.ScanResults[static_cast<std::size_t>(i)] = entry("m", i);
    RankScan(state);
    for (int i = 0; i < kScanEntries; ++i)
        EXPECT_EQ(state.RankedResults[static_cast<std::size_t>(i)].CompatPercent, kScanEntries - 1 - i);
}

TEST(Scan, CounterAndMessagesPerMan) {
    ScratchDir dir;
    const TextDatabases texts = SunBases();
    PeopleState people = Chosen();
    for (int s = 1; s <= kUsableSlots; ++s) PutMan(people, s, "М" + std::to_string(s), kWomanMoment + s * 3.7);
    AnalysisState state;
    int calls = 0;
    ScanAllMen(people, {dir.path(), texts}, state, [&] { ++calls; });
    EXPECT_EQ(calls, 2 * 99);
    EXPECT_EQ(state.ProgressCounter, 99);  // 99 men: no wrap
    EXPECT_FALSE(IsUnusedEntry(state.ScanResults[98]));
    EXPECT_TRUE(IsUnusedEntry(state.ScanResults[99]));
    state.ProgressCounter = 50;
    ScanAllMen(people, {dir.path(), texts}, state);
    EXPECT_EQ(state.ProgressCounter, 49);  // past 100 it starts again at 1
}

// On the shipped databases: every man's scan percentage is the percentage of his
// pair analysis, and the scan writes no report text.
TEST(Scan, EveryMansPercentageIsThatOfHisPairAnalysis) {
    namespace fs = std::filesystem;
    ScratchDir dir;
    for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data"))
        if (f.path().extension() == ".dat") fs::copy_file(f.path(), dir.file(f.path().filename().string()));
    TextDatabases texts;
    LoadTextDatabases(dir.path(), texts);
    PeopleState people = Chosen();
    for (int s = 1; s <= 12; ++s) PutMan(people, s, "М" + std::to_string(s), kWomanMoment + s * 811.7);
    AnalysisState state;
    ScanObserver none;
    ASSERT_TRUE(RunScan(people, {dir.path(), texts}, state, none).ok);
    for (const char* f : {"Plus.txt", "Minus.txt"}) EXPECT_FALSE(FileReadable(dir.file(f))) << f;
    for (int s = 1; s <= 12; ++s) {
        people.ChosenMan = people.MenTable.slot(s);
        people.ManChosen = true;
        AnalysisState pair;
        PairAnalysisObserver quiet;
        ASSERT_TRUE(RunPairAnalysis(people, {dir.path(), texts}, pair, quiet).ok);
        const ScanEntry& e = state.ScanResults[static_cast<std::size_t>(s - 1)];
        EXPECT_EQ(e.PlusTotal, pair.PlusTotal) << s;
        EXPECT_EQ(e.MinusTotal, pair.MinusTotal) << s;
        const std::optional<std::int32_t> percent = CompatPercentOf(pair.PlusTotal, pair.MinusTotal);
        EXPECT_EQ(e.PercentDefined, percent.has_value()) << s;
        EXPECT_EQ(e.CompatPercent, percent.value_or(0)) << s;
    }
}

TEST(Scan, AnErrorStopsAtTheCurrentMan) {
    ScratchDir dir;
    PeopleState people = Chosen();
    PutMan(people, 1, "Ровня", kSame);
    PutMan(people, 2, "Квартал", kQuarter);
    // A house entry that only the second man's Sun meets, with a weight that
    // cannot be written: the scan's house pass fails at him.
    TCusps cusps;
    ComputeHouses(people.ChosenWoman, cusps);
    HouseOverlay first, second;
    TChart chart;
    ComputeChart(people.MenTable.slot(1), chart);
    PlaceInHouses(chart, cusps, first);
    ComputeChart(people.MenTable.slot(2), chart);
    PlaceInHouses(chart, cusps, second);
    ASSERT_NE(first[kSun], second[kSun]);
    char header[40];
    std::snprintf(header, sizeof header, "*  12   0   1   0 %3d   0   0", static_cast<int>(second[kSun]));
    TextDatabases texts = SunBases();
    texts.HouseTexts = Raw("data1_d.dat", {header, "-", "текст", "@"});

    AnalysisState state;
    state.ScanDone = true;
    state.RankedResults[0].ManName = "earlier";
    ScanObserver none;
    const AnalysisResult r = RunScan(people, {dir.path(), texts}, state, none);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("data1_d.dat"), std::string::npos);
    EXPECT_EQ(state.ScanResults[0].ManName, PadRight(Utf8ToCp1251("Ровня"), 20));
    EXPECT_TRUE(IsUnusedEntry(state.ScanResults[1]));
    EXPECT_EQ(state.RankedResults[0].ManName, "earlier");  // not ranked
    EXPECT_FALSE(state.ScanDone);
    EXPECT_FALSE(state.PairDone);
}

// One damaged man does not stop the ranking: the others are ranked, he is
// named with the reason, and the scan succeeds. The woman's own damage still
// stops it.
TEST(Scan, ADamagedManIsLeftOutAndNamedWhileTheOthersAreRanked) {
    ScratchDir dir;
    PeopleState people = Chosen();
    PutMan(people, 1, "Ровня", kSame);
    PutMan(people, 2, "Повреждён", std::nan(""));
    PutMan(people, 3, "Полгода", kHalfYear);
    const TextDatabases texts = SunBases();
    AnalysisState state;
    state.ScanSkipped.push_back({"earlier", "", "", ""});
    ScanObserver none;
    const AnalysisResult r = RunScan(people, {dir.path(), texts}, state, none);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(state.ScanDone);
    EXPECT_EQ(state.RankedResults[0].ManName, PadRight(Utf8ToCp1251("Ровня"), 20));
    EXPECT_EQ(state.RankedResults[1].ManName, PadRight(Utf8ToCp1251("Полгода"), 20));
    EXPECT_TRUE(IsUnusedEntry(state.RankedResults[2]));
    ASSERT_EQ(state.ScanSkipped.size(), 1u);
    EXPECT_EQ(state.ScanSkipped[0].Name, PadRight(Utf8ToCp1251("Повреждён"), 20));
    EXPECT_NE(state.ScanSkipped[0].Reason.find("момент рождения"), std::string::npos) << state.ScanSkipped[0].Reason;

    people.ChosenWoman.Moment = std::nan("");
    const AnalysisResult refused = RunScan(people, {dir.path(), texts}, state, none);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("«Анна»"), std::string::npos) << refused.message;
    EXPECT_NE(refused.message.find(JoinPath(dir.path(), "FEMIN.DAT")), std::string::npos) << refused.message;
    EXPECT_FALSE(state.ScanDone);
}

TEST(PairAnalysis, ADamagedMomentIsRefusedNamingThePersonAndTheFile) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    for (const double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e155, kFirstServedMoment, kLastServedMoment}) {
        for (const bool woman : {true, false}) {
            PeopleState people = Chosen();
            (woman ? people.ChosenWoman : people.ChosenMan).Moment = bad;
            AnalysisState state;
            PairAnalysisObserver none;
            const AnalysisResult r = RunPairAnalysis(people, {dir.path(), texts}, state, none);
            EXPECT_FALSE(r.ok) << bad;
            EXPECT_EQ(r.failedStep, PairStep::Charts);
            EXPECT_NE(r.message.find(woman ? "«Анна»" : "«Борис»"), std::string::npos) << r.message;
            EXPECT_NE(r.message.find(JoinPath(dir.path(), woman ? "FEMIN.DAT" : "MEN.DAT")), std::string::npos);
            EXPECT_FALSE(FileReadable(dir.file("Itogo.rtf")));
        }
    }
    PeopleState edge = Chosen();
    edge.ChosenWoman.Moment = kFirstServedMoment + 0.5;
    edge.ChosenMan.Moment = kLastServedMoment - 0.5;
    AnalysisState state;
    PairAnalysisObserver none;
    EXPECT_TRUE(RunPairAnalysis(edge, {dir.path(), texts}, state, none).ok);
}

// ---- Scan of all women --------------------------------------------------------

// A woman whose moment or coordinates do not read is left out of the ranking of
// women and named; the others are ranked.
TEST(WomenScan, DamagedWomenAreLeftOutAndNamed) {
    ScratchDir dir;
    PeopleState people = Chosen();
    for (int s = 1; s <= kTableSlots; ++s) ClearSlot(people.WomenTable, s);
    people.WomenTable.slot(2) = Person("Целая", kWomanMoment);
    people.WomenTable.slot(3) = Person("Повреждена", std::nan(""));
    people.WomenTable.slot(4) = Person("Сдвинута", kWomanMoment);
    people.WomenTable.slot(4).CoordText.set(Utf8ToCp1251("xx°xx’ЗД  zz°zz’СШ"));
    AnalysisState state;
    ScanObserver none;
    const AnalysisResult r = RunWomenScan(people, {dir.path(), SunBases()}, state, none);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(state.ScanDone);
    EXPECT_EQ(state.ScanResults[0].ManName, PadRight(Utf8ToCp1251("Целая"), 20));
    EXPECT_TRUE(IsUnusedEntry(state.ScanResults[1]));
    ASSERT_EQ(state.ScanSkipped.size(), 2u);
    EXPECT_EQ(state.ScanSkipped[0].Name, PadRight(Utf8ToCp1251("Повреждена"), 20));
    EXPECT_EQ(state.ScanSkipped[1].Name, PadRight(Utf8ToCp1251("Сдвинута"), 20));
    EXPECT_NE(state.ScanSkipped[1].Reason.find("координаты"), std::string::npos) << state.ScanSkipped[1].Reason;
}

// Coordinates shifted by one position (their letters out of place as well) are
// not 0°, 0°: the analysis of that woman stops, naming her and her file.
TEST(PairAnalysis, CoordinatesThatDoNotReadStopItNamingTheWomanAndTheFile) {
    ScratchDir dir;
    PeopleState people = Chosen();
    people.ChosenWoman.CoordText.set(Utf8ToCp1251("xx°xx’ЗД  zz°zz’СШ"));
    AnalysisState state;
    PairAnalysisObserver none;
    const AnalysisResult r = RunPairAnalysis(people, {dir.path(), ReportBases()}, state, none);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, PairStep::Houses);
    EXPECT_NE(r.message.find("«Анна»"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(JoinPath(dir.path(), "FEMIN.DAT")), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("не число"), std::string::npos) << r.message;
    EXPECT_FALSE(FileReadable(dir.file("Itogo.rtf")));
}

TEST(WomenScan, EveryPercentageIsThatOfThePairAnalysisAndTheFactorsMakeTheTotals) {
    ScratchDir dir;
    const TextDatabases texts = ReportBases();
    PeopleState people = Chosen();
    for (int s = 1; s <= kTableSlots; ++s) ClearSlot(people.WomenTable, s);
    const int slots[] = {2, 5, 6, 40, 99};
    for (int i = 0; i < 5; ++i)
        people.WomenTable.slot(slots[i]) =
            Person("Женщина" + std::to_string(i), kWomanMoment + 311.7 * i - 4000.2, /*timeKnown=*/i % 2 == 0);
    PeopleState noMan = people;
    noMan.ManChosen = false;
    AnalysisState state;
    ScanObserver none;
    EXPECT_FALSE(RunWomenScan(noMan, {dir.path(), texts}, state, none).ran);

    const AnalysisResult r = RunWomenScan(people, {dir.path(), texts}, state, none);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(state.ScanDone && state.ScanOfWomen);
    EXPECT_FALSE(FileReadable(dir.file("Plus.txt")));  // the scan writes nothing
    int withFactors = 0;
    for (int i = 0; i < 5; ++i) {
        const ScanEntry& e = state.ScanResults[static_cast<std::size_t>(i)];
        PeopleState pair = people;
        pair.ChosenWoman = people.WomenTable.slot(slots[i]);
        ASSERT_EQ(e.ManName, pair.ChosenWoman.Name.str());
        AnalysisState one;
        PairAnalysisObserver quiet;
        ASSERT_TRUE(RunPairAnalysis(pair, {dir.path(), texts}, one, quiet).ok);
        EXPECT_EQ(e.PlusTotal, one.PlusTotal) << i;
        EXPECT_EQ(e.MinusTotal, one.MinusTotal) << i;
        EXPECT_EQ(e.CompatPercent, CompatPercentOf(one.PlusTotal, one.MinusTotal).value_or(0)) << i;
        int plus = 0, minus = 0;
        for (const ScoreFactor& f : one.Factors) (f.weight > 0 ? plus : minus) += f.weight;
        EXPECT_EQ(plus, one.PlusTotal) << i;
        EXPECT_EQ(minus, one.MinusTotal) << i;
        if (!one.Factors.empty()) ++withFactors;
    }
    EXPECT_GE(withFactors, 2);  // the comparison is not one of empty scores
    EXPECT_TRUE(IsUnusedEntry(state.ScanResults[5]));
}

}  // namespace
}  // namespace pelorin
