#include "analysis/pair_analysis.h"

#include <exception>
#include <utility>

#include "analysis/reports.h"
#include "analysis/score.h"
#include "astro/chart.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/person_chart.h"

namespace pelorin {

bool IsUnusedEntry(const ScanEntry& e) { return e.ManName == " "; }

bool ManHousesKnown(const AnalysisState& state) { return state.ManHouses == HouseStatus::Computed; }

namespace {

// The man's houses into the state: his cusps where he has houses, else none.
void ComputeManHouses(const PersonRecord& man, AnalysisState& state) {
    state.ManHouses.reset();
    state.ManCusps = TCusps{};
    if (HasHouses(man)) state.ManHouses = ComputeHouses(man, state.ManCusps);
}

// Her bodies in his houses: the overlay (all 0 without his houses); the score
// is reset for whoever scores it.
void PlaceHerInHisHouses(const TChart& woman, AnalysisState& state) {
    state.ReverseOverlay = HouseOverlay{};
    state.Reverse.reset();
    if (!ManHousesKnown(state)) return;
    PlaceInHouses(woman, state.ManCusps, state.ReverseOverlay);
}

// Both have houses: her birth time known and her cusps computed, his houses known.
bool BothHaveHouses(const PersonRecord& woman, const AnalysisState& state) {
    return woman.TimeKnown != 0 && state.WomanHouses == HouseStatus::Computed && ManHousesKnown(state);
}

}  // namespace

AnalysisResult RunPairAnalysis(const PeopleState& people, const AnalysisData& data, AnalysisState& state,
                               PairAnalysisObserver& observer) {
    AnalysisResult result;
    if (!people.WomanChosen || !people.ManChosen) return result;
    result.ran = true;
    // The work files and the report files of the data directory are shared by
    // every copy of the program: the whole analysis, the reports read back
    // included, runs under the directory's lock.
    std::optional<DirLock> lock;
    try {
        lock.emplace(data.dataDir);
    } catch (const std::exception& e) {
        result.failedStep = PairStep::CheckChosen;
        result.message = e.what();
        return result;
    }
    PairStep step = PairStep::ClearCompatibility;
    try {
        // From here on the state describes a pair in the making.
        state.PairDone = false;
        state.PairWoman = people.ChosenWoman;
        state.PairMan = people.ChosenMan;
        observer.ShowPage(MainPage::Compatibility);
        observer.ClearCompatibility();

        step = PairStep::ClearGrid;
        ClearAspectGrid(state.AspectGrid);
        state.Relationship.reset();
        observer.ShowPage(MainPage::Chart);

        step = PairStep::Charts;
        RequireServedMoment(people.ChosenWoman, JoinPath(data.dataDir, "FEMIN.DAT"));
        RequireServedMoment(people.ChosenMan, JoinPath(data.dataDir, "MEN.DAT"));
        ComputeChart(people.ChosenWoman, state.WomanChart);
        ComputeChart(people.ChosenMan, state.ManChart);

        step = PairStep::MutualAspects;
        FindMutualAspects(state.WomanChart, state.ManChart, state.AspectGrid);

        step = PairStep::Houses;
        state.WomanHouses.reset();
        // Coordinates that do not read are her record's damage, named as such;
        // nothing of an earlier woman's houses stays.
        if (const std::string why = RecordProblem(people.ChosenWoman, true); !why.empty()) {
            state.WomanCusps = TCusps{};
            throw Error(DamagedRecordMessage(people.ChosenWoman, JoinPath(data.dataDir, "FEMIN.DAT"), why));
        }
        state.WomanHouses = ComputeHouses(people.ChosenWoman, state.WomanCusps);
        ComputeManHouses(people.ChosenMan, state);

        step = PairStep::Overlay;
        PlaceInHouses(state.ManChart, state.WomanCusps, state.HouseOverlay);
        PlaceHerInHisHouses(state.WomanChart, state);
        // The composite and Davison charts of the pair, ready for the chart pages.
        state.Relationship = RelationshipChartsOf(people.ChosenWoman, people.ChosenMan);

        step = PairStep::NatalAspects;
        FindNatalAspects(state.ManChart, state.NatalAspectGrid);

        step = PairStep::ManReport;
        state.PlusTotal = 0;
        state.MinusTotal = 0;
        state.Factors.clear();
        state.PercentWithHisHouses.reset();
        WriteManReport({people.ChosenMan, state.ManChart, state.NatalAspectGrid, data.texts.NatalAspectTexts,
                        data.texts.SignTexts, data.dataDir},
                       ManHousesKnown(state) ? &state.ManCusps : nullptr);

        step = PairStep::ShowManReport;
        observer.ShowPage(MainPage::Man);
        observer.ManReportWritten(JoinPath(data.dataDir, kManReportFile));

        step = PairStep::DrawChart;
        observer.ChartReady(state);

        step = PairStep::ShowManAgain;
        observer.ShowPage(MainPage::Man);

        step = PairStep::PairReport;
        const ReverseReportInput reverse{state.ReverseOverlay, data.texts.ReverseHouseTexts,
                                         BothHaveHouses(people.ChosenWoman, state), data.texts.ReverseMissing};
        const PairScore score = WritePairReport({people.ChosenWoman, people.ChosenMan, state.AspectGrid,
                                                 state.HouseOverlay, data.texts.AspectTexts,
                                                 data.texts.HouseTexts, data.dataDir},
                                                ManHousesKnown(state) ? &reverse : nullptr);
        state.PlusTotal = score.PlusTotal;
        state.MinusTotal = score.MinusTotal;
        state.Factors = score.Factors;
        state.Reverse = score.Reverse;
        state.PercentWithHisHouses = score.PercentWithHisHouses;

        step = PairStep::ShowPairReport;
        observer.ShowPage(MainPage::Pair);
        observer.PairReportWritten(JoinPath(data.dataDir, kPairReportFile), state);

        step = PairStep::Flags;
        state.PairDone = true;
        state.ScanDone = false;
        observer.Done();
    } catch (const std::exception& e) {
        result.failedStep = step;
        result.message = e.what();
        return result;
    }
    result.ok = true;
    return result;
}

namespace {

// Her bodies in his houses for a scan: the weight-only score and the second
// figure where both have houses (and the database is there).
std::optional<std::int32_t> ScanSecondFigure(const PersonRecord& woman, const TChart& womanChart,
                                             const PairScore& score, const AnalysisData& data,
                                             AnalysisState& state) {
    PlaceHerInHisHouses(womanChart, state);
    if (!BothHaveHouses(woman, state) || !data.texts.ReverseMissing.empty()) return std::nullopt;
    state.Reverse = ScoreReverse(state.ReverseOverlay, ReverseWeightLookup(data.texts.ReverseHouseTexts));
    return PercentWithReverse(score.PlusTotal, score.MinusTotal, *state.Reverse);
}

void FillEntry(ScanEntry& e, const PersonRecord& man, const PairScore& score) {
    e.ManName = man.Name.str();
    e.ManDate = man.DateText.str();
    e.ManPlace = CutTo(man.Place.view(), 25);
    e.ManComment = CutTo(man.Comment.view(), 250);
    e.PlusTotal = score.PlusTotal;
    e.MinusTotal = score.MinusTotal;
    e.PercentDefined = score.CompatPercent.has_value();
    e.CompatPercent = score.CompatPercent.value_or(0);
}

void Run(const LetMessagesRun& f) {
    if (f) f();
}

// Whether the person can be computed; when not, named in the scan's list of
// those left out.
bool Computable(const PersonRecord& person, bool withPlace, AnalysisState& state) {
    std::string why = RecordProblem(person, withPlace);
    if (why.empty()) return true;
    state.ScanSkipped.push_back({person.Name.str(), person.DateText.str(), CutTo(person.Place.view(), 25), why});
    return false;
}

}  // namespace

void ScanAllMen(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                const LetMessagesRun& letMessagesRun) {
    // Whole entries, so that nothing of an earlier, longer scan stays behind.
    state.ScanResults.fill(ScanEntry{});
    state.ScanSkipped.clear();

    RequireComputableRecord(people.ChosenWoman, true, JoinPath(data.dataDir, "FEMIN.DAT"));
    TChart woman;
    ComputeChart(people.ChosenWoman, woman);
    state.WomanHouses.reset();
    state.WomanHouses = ComputeHouses(people.ChosenWoman, state.WomanCusps);

    const ScoreLookups lookups = ScanLookups(data.texts.AspectTexts, data.texts.HouseTexts);
    const bool timeKnown = people.ChosenWoman.TimeKnown != 0;
    std::size_t n = 0;
    for (int s = 1; s <= kUsableSlots; ++s) {
        const PersonRecord& slot = people.MenTable.slot(s);
        if (IsFreeSlot(slot) || !Computable(slot, false, state)) continue;
        people.ChosenMan = slot;
        ComputeChart(people.ChosenMan, state.ManChart);
        ClearAspectGrid(state.AspectGrid);
        FindMutualAspects(woman, state.ManChart, state.AspectGrid);
        PlaceInHouses(state.ManChart, state.WomanCusps, state.HouseOverlay);
        const PairScore score = ScorePair(state.AspectGrid, state.HouseOverlay, timeKnown, lookups);
        ComputeManHouses(people.ChosenMan, state);
        FillEntry(state.ScanResults[n], people.ChosenMan, score);
        state.ScanResults[n++].PercentWithHisHouses =
            ScanSecondFigure(people.ChosenWoman, woman, score, data, state);

        Run(letMessagesRun);
        if (++state.ProgressCounter > 100) state.ProgressCounter = 1;
        Run(letMessagesRun);
    }
}

int RankKey(const ScanEntry& e) {
    if (IsUnusedEntry(e)) return -2;
    return e.PercentDefined ? e.CompatPercent : -1;
}

void RankScan(AnalysisState& state) {
    ScanTable& r = state.RankedResults;
    r = state.ScanResults;
    // Neighbours swap only when the first is strictly lower: equal keys keep
    // their scan order.
    for (int pass = 0; pass < kScanEntries - 1; ++pass)
        for (std::size_t i = 0; i + 1 < r.size(); ++i)
            if (RankKey(r[i]) < RankKey(r[i + 1])) std::swap(r[i], r[i + 1]);
}

void ScanAllWomen(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                  const LetMessagesRun& letMessagesRun) {
    state.ScanResults.fill(ScanEntry{});
    state.ScanSkipped.clear();
    RequireServedMoment(people.ChosenMan, JoinPath(data.dataDir, "MEN.DAT"));
    ComputeChart(people.ChosenMan, state.ManChart);
    ComputeManHouses(people.ChosenMan, state);

    const ScoreLookups lookups = ScanLookups(data.texts.AspectTexts, data.texts.HouseTexts);
    std::size_t n = 0;
    for (int s = 1; s <= kUsableSlots; ++s) {
        const PersonRecord& woman = people.WomenTable.slot(s);
        if (IsFreeSlot(woman) || !Computable(woman, true, state)) continue;
        TChart chart;
        ComputeChart(woman, chart);
        ClearAspectGrid(state.AspectGrid);
        FindMutualAspects(chart, state.ManChart, state.AspectGrid);
        state.WomanHouses.reset();
        state.WomanHouses = ComputeHouses(woman, state.WomanCusps);
        PlaceInHouses(state.ManChart, state.WomanCusps, state.HouseOverlay);
        const PairScore score = ScorePair(state.AspectGrid, state.HouseOverlay, woman.TimeKnown != 0, lookups);
        FillEntry(state.ScanResults[n], woman, score);
        state.ScanResults[n++].PercentWithHisHouses = ScanSecondFigure(woman, chart, score, data, state);

        Run(letMessagesRun);
        if (++state.ProgressCounter > 100) state.ProgressCounter = 1;
        Run(letMessagesRun);
    }
}

namespace {

// The two rankings as commands: the lock held throughout, the flags and the
// progress as the window follows them, the ranking drawn when the scan ends.
// The scan of all men leaves no man chosen; the scan of all women keeps both
// people as they were.
AnalysisResult RunRanking(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                          ScanObserver& observer, bool ofWomen) {
    AnalysisResult result;
    result.ran = true;
    try {
        const DirLock lock(data.dataDir);
        // The scan overwrites the pair's charts, grid and overlay and the
        // ranking: neither stays printable unless the scan ends.
        state.PairDone = false;
        state.ScanDone = false;
        state.Relationship.reset();
        state.ScanPerson = ofWomen ? people.ChosenMan : people.ChosenWoman;
        observer.Started();
        observer.LetMessagesRun();
        if (!ofWomen) {
            people.ManChosen = false;
            observer.LetMessagesRun();
        }
        state.ProgressCounter = 0;
        observer.LetMessagesRun();

        ClearAspectGrid(state.AspectGrid);
        observer.ClearPages();

        const LetMessagesRun letMessagesRun = [&observer] { observer.LetMessagesRun(); };
        if (ofWomen) ScanAllWomen(people, data, state, letMessagesRun);
        else ScanAllMen(people, data, state, letMessagesRun);
        RankScan(state);
        state.ScanOfWomen = ofWomen;

        observer.RankingReady(state);
        observer.LetMessagesRun();
        state.ProgressCounter = 0;
        observer.LetMessagesRun();

        state.PairDone = false;
        state.ScanDone = true;
    } catch (const std::exception& e) {
        result.message = e.what();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace

AnalysisResult RunScan(PeopleState& people, const AnalysisData& data, AnalysisState& state, ScanObserver& observer) {
    return RunRanking(people, data, state, observer, false);
}

AnalysisResult RunWomenScan(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                            ScanObserver& observer) {
    if (!people.ManChosen) return {};
    return RunRanking(people, data, state, observer, true);
}

}  // namespace pelorin
