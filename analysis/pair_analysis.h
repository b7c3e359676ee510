#pragma once
// The analysis of the program: a pair analysis ("Анализ пары") and the scan of
// all men against the chosen woman ("Анализ всех"), on the one analysis state of
// the run. The routines are the window's commands without the drawing: the
// window follows them through an observer and draws, loads and shows pages at
// the points the observer is called.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <vector>

#include "analysis/aspects.h"
#include "analysis/score.h"
#include "analysis/text_base.h"
#include "analysis/main_pages.h"
#include "analysis/relationship_charts.h"
#include "astro/chart_types.h"
#include "astro/houses.h"
#include "people/person_record.h"

namespace pelorin {

// One man's result in a scan of all men; in a scan of all women (one man against
// every woman) the same fields hold the woman's name, date, place and comment.
// Texts are Windows-1251.
struct ScanEntry {
    std::string ManName = " ";  // his Name; a single blank marks an unused entry
    std::string ManDate;        // his DateText (10 characters at most)
    std::string ManPlace;       // the first 25 characters of his Place
    std::int32_t PlusTotal = 0;
    std::int32_t MinusTotal = 0;
    // The percentage; meaningful only with PercentDefined. Without it no entry
    // of the databases matched (both totals 0): the man has no percentage, is
    // shown as such and ranks after every man who has one.
    std::int32_t CompatPercent = 0;
    bool PercentDefined = false;
    std::string ManComment;  // the first 250 characters of his Comment
    // The second figure, "с его домами", where both have houses: the totals with
    // her bodies in his houses added. The ranking does not order by it.
    std::optional<std::int32_t> PercentWithHisHouses;
};

// A person a scan could not compute (a damaged record): left out of the
// ranking and named under it with the reason.
struct SkippedPerson {
    std::string Name;    // Windows-1251, as stored (padded)
    std::string Date;    // DateText, Windows-1251
    std::string Place;   // the first 25 characters of Place, Windows-1251
    std::string Reason;  // UTF-8, as RecordProblem words it
};

inline constexpr int kScanEntries = 100;
using ScanTable = std::array<ScanEntry, kScanEntries>;  // entry n is element n - 1

// Whether the entry is unused (its name a single blank); the list ends there.
bool IsUnusedEntry(const ScanEntry& e);

// A grid without aspects: every cell 255.
inline AspectGrid EmptyAspectGrid() {
    AspectGrid g;
    ClearAspectGrid(g);
    return g;
}

// Everything an analysis computes, for the whole run. Each analysis overwrites
// it; the drawings, the reports and the printing only read it.
struct AnalysisState {
    TChart WomanChart{};
    TChart ManChart{};
    TCusps WomanCusps{};
    // How the woman's houses came out; nothing before the first computation.
    std::optional<HouseStatus> WomanHouses;
    pelorin::AspectGrid AspectGrid = EmptyAspectGrid();
    pelorin::HouseOverlay HouseOverlay{};
    pelorin::NatalAspectGrid NatalAspectGrid = EmptyAspectGrid();
    std::int32_t PlusTotal = 0;
    std::int32_t MinusTotal = 0;
    // The weighted facts of the last pair analysis, in the order of its report.
    std::vector<ScoreFactor> Factors;
    // The man's houses where he has them (HasHouses): his cusps (all 0 when
    // not computed) and how they came out, nothing when he has none.
    TCusps ManCusps{};
    std::optional<HouseStatus> ManHouses;
    // Her bodies in his houses (his house 1..12, 0 for none; all 0 without his
    // houses), their score where his houses are known, and the second figure
    // where both have houses.
    pelorin::HouseOverlay ReverseOverlay{};
    std::optional<ReverseScore> Reverse;
    std::optional<std::int32_t> PercentWithHisHouses;
    // The pair's composite and Davison charts (the page "Композит"): nothing
    // before a pair analysis has computed them and after a scan.
    std::optional<RelationshipCharts> Relationship;
    // The people the last pair analysis and the last scan were made for: their
    // printed pages name them, whoever has been chosen since.
    PersonRecord PairWoman{};
    PersonRecord PairMan{};
    PersonRecord ScanPerson{};
    ScanTable ScanResults{};    // slot order of the men scanned
    ScanTable RankedResults{};  // the same, highest percentage first
    std::vector<SkippedPerson> ScanSkipped;  // of the last scan, in slot order
    int ProgressCounter = 0;    // 0..100, shown by the gauge
    bool PairDone = false;
    bool ScanDone = false;
    // What the scan tables rank: false the men for ChosenWoman, true the women
    // for ChosenMan.
    bool ScanOfWomen = false;
};

// Whether the state's man has his houses (computed within the latitude limit).
bool ManHousesKnown(const AnalysisState& state);

// What an analysis reads besides the people: the data directory (the report
// files are written there) and the databases.
struct AnalysisData {
    const std::string& dataDir;
    const TextDatabases& texts;
};

// ---- Pair analysis -------------------------------------------------------

enum class PairStep {
    None = 0,
    CheckChosen = 1,
    ClearCompatibility = 2,
    ClearGrid = 3,
    Charts = 4,
    MutualAspects = 5,
    Houses = 6,
    Overlay = 7,
    NatalAspects = 8,
    ManReport = 9,
    ShowManReport = 10,
    DrawChart = 11,
    ShowManAgain = 12,
    PairReport = 13,
    ShowPairReport = 14,
    Flags = 15,
};

// The window's side of a pair analysis, in the order of the calls. A callback
// that fails throws (Error); the analysis then ends at that step.
class PairAnalysisObserver {
public:
    virtual ~PairAnalysisObserver() = default;
    // A page comes to the front.
    virtual void ShowPage(MainPage /*page*/) {}
    // Step 2, with "Совместимость" in front: the ranking area cleared and the
    // empty scale drawn in the diagram strip.
    virtual void ClearCompatibility() {}
    // Step 10, with "Мужчина" in front: load `rtfFile` ("Itogo_Men.rtf").
    virtual void ManReportWritten(const std::string& /*rtfFile*/) {}
    // Step 11: both charts, the woman's cusps and the grid are ready for the bi-wheel.
    virtual void ChartReady(const AnalysisState& /*state*/) {}
    // Step 14, with "Пара" in front: load `rtfFile` ("Itogo.rtf") and draw the
    // compatibility diagram from the new totals.
    virtual void PairReportWritten(const std::string& /*rtfFile*/, const AnalysisState& /*state*/) {}
    // Step 15: PairDone set, ScanDone cleared.
    virtual void Done() {}
};

struct AnalysisResult {
    bool ran = false;  // false: nothing was done (no woman or no man chosen)
    bool ok = false;
    PairStep failedStep = PairStep::None;  // for the pair analysis
    std::string message;                   // UTF-8, for the message box
};

// "Анализ пары" for ChosenWoman and ChosenMan. Does nothing unless both are
// chosen. An error ends it at the step that met it with the message; the steps
// done keep their results. PairDone is cleared as soon as the state begins to
// change and set only at the end, so that a failed analysis never leaves a
// mixture of two pairs marked as printable. The analysis holds the data
// directory's lock throughout; when another process keeps it, nothing is done
// and the failure (at CheckChosen) says so.
AnalysisResult RunPairAnalysis(const PeopleState& people, const AnalysisData& data, AnalysisState& state,
                               PairAnalysisObserver& observer);

// ---- Scan of all men -----------------------------------------------------

// Lets the window run its pending messages (and so move the gauge).
using LetMessagesRun = std::function<void()>;

// Resets all 100 entries of ScanResults whole, computes the woman's chart (a
// local copy) and her cusps (into the state), then for every used slot 1..99 of
// MenTable in order: ChosenMan, his chart, the grid, the overlay and the score
// (weights only: the scan writes no file),
// entry n filled from the first, the counter advanced (after 100 it is 1
// again), messages let run before and after. A man whose record cannot be
// computed (RecordProblem) is left out and named in ScanSkipped; the woman's
// own damaged record, and every other error, stops the scan.
void ScanAllMen(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                const LetMessagesRun& letMessagesRun = {});

// The percentage a ranking orders by: the percentage, below every percentage a
// man without one, below him an unused entry.
int RankKey(const ScanEntry& e);

// RankedResults = ScanResults sorted by RankKey, highest first; equal keys keep
// their scan (slot) order.
void RankScan(AnalysisState& state);

// The window's side of "Анализ всех".
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    // Step 1: the hourglass, the label "Мужчина: Сканируем всех".
    virtual void Started() {}
    // Steps 2 and 3: "Совместимость" in front with the scale and an empty ranking
    // area, the chart image blanked, the two reports emptied.
    virtual void ClearPages() {}
    virtual void LetMessagesRun() {}
    // Steps 6 and 7: the ranking drawn from RankedResults, the default cursor,
    // "  Печать" enabled.
    virtual void RankingReady(const AnalysisState& /*state*/) {}
};

// "Анализ всех" for ChosenWoman (whatever it holds; no flag is tested). Clears
// ManChosen; on success ends with PairDone cleared and ScanDone set. A failed
// scan leaves the entries filled so far and neither flag set. Runs under the data
// directory's lock; when another process keeps it, nothing changes.
AnalysisResult RunScan(PeopleState& people, const AnalysisData& data, AnalysisState& state, ScanObserver& observer);

// ---- Scan of all women --------------------------------------------------

// ChosenMan against every used slot 1..99 of WomenTable, in order, exactly as
// a pair analysis scores a pair: her chart, her cusps (into the state), the
// grid, the overlay, the score with the house pass only when her birth time is
// known; weights only, nothing is written. Entry n of ScanResults holds woman n.
// The man's chart goes to the state, ChosenWoman is left alone; the counter, the
// messages and the women left out (ScanSkipped: her moment or her coordinates
// do not read) as in ScanAllMen.
void ScanAllWomen(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                  const LetMessagesRun& letMessagesRun = {});

// "Все женщины" for ChosenMan; nothing is done unless a man is chosen. The
// observer is called as for "Анализ всех". On success PairDone is cleared and
// ScanDone and ScanOfWomen set; a failed scan sets neither flag. Under the data
// directory's lock.
AnalysisResult RunWomenScan(PeopleState& people, const AnalysisData& data, AnalysisState& state,
                            ScanObserver& observer);

}  // namespace pelorin
