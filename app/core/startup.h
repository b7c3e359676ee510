#pragma once
// The start-up sequence of the main window, apart from the window itself: read
// "main.dat", load the tabulated bodies, the two person files and the four text
// databases, and put the window into its initial state through `StartupView`.
// An error ends the sequence at the step that met it; what the earlier steps
// loaded stays loaded and the later steps do not run. The loading holds the data
// directory's lock. Only a sequence that went through marks the two tables as
// loaded (`WomenLoaded`, `MenLoaded`): after a failed one no command writes people.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/text_base.h"
#include "analysis/pair_analysis.h"
#include "people/config.h"
#include "people/person_record.h"

namespace pelorin {

// What start-up loads and resets, beside the analysis state (the charts, the
// grids, the totals, the scan tables, ProgressCounter, PairDone and ScanDone).
struct AppState : AnalysisState {
    Config config;          // SystemDir, DataDir
    PeopleState people;     // tables, counts, chosen people
    TextDatabases databases;  // AspectTexts, HouseTexts, NatalAspectTexts, SignTexts, ReverseHouseTexts
    // The data directory the program ships (first start copies it), where a
    // data directory made by an earlier version takes a database it lacks;
    // empty when not known.
    std::string ShippedDataDir;
    // Problems that start-up met but went on past (a missing "Fond.in"), for the
    // window to show once start-up is over.
    std::vector<std::string> StartupWarnings;
};

enum class StartupStep {
    None = 0,
    ReadConfig = 1,
    LoadTabulated = 2,
    SetDecimalSeparator = 3,
    LoadWomen = 4,
    LoadMen = 5,
    ClearFlags = 6,
    DisableCommands = 7,
    ClearAspectGrid = 8,
    PrepareSurfaces = 9,
    LoadDatabases = 10,
};

// The window's side of start-up. Texts are Windows-1251 list lines and UTF-8
// captions, converted by the window.
class StartupView {
public:
    virtual ~StartupView() = default;
    // Replaces the women's (men's) list by these lines in this order, selects the
    // first one when there is one, and sets the caption above the list.
    virtual void ShowWomenList(const std::vector<std::string>& lines, const std::string& caption) = 0;
    virtual void ShowMenList(const std::vector<std::string>& lines, const std::string& caption) = 0;
    virtual void SetDefaultCursor() = 0;
    // "Анализ пары", "Анализ всех" and "  Печать".
    virtual void DisableAnalysisCommands() = 0;
    virtual void PrepareDrawingSurfaces() = 0;
};

// Loaders whose logic lives in other parts of the program. An empty hook is a step
// not wired in yet and is passed over. A hook reports a failure by throwing Error.
struct StartupHooks {
    std::function<void(const std::string& fondInPath)> loadTabulated;   // DataDir + "Fond.in"
    std::function<void(const std::string& dataDir)> loadDatabases;      // the four databases
};

struct StartupResult {
    bool ok = true;
    StartupStep failedStep = StartupStep::None;
    std::string message;  // UTF-8, for the message box
};

// "Список женщин.  Всего: N человек" and the men's counterpart.
std::string WomenCaption(int count);
std::string MenCaption(int count);

// The program's own loaders: "Fond.in" through `LoadPlutoFile` (a missing file
// is not fatal: start-up goes on with Pluto at its zero position, and a warning
// saying so is left in `state.StartupWarnings`; a damaged or unreadable one stops
// the start-up), and the databases into `state.databases` (a data directory
// without the database of her planets in his houses takes it from
// `state.ShippedDataDir`; when it cannot, start-up goes on without it and a
// warning says so).
StartupHooks DefaultStartupHooks(AppState& state);

StartupResult RunStartup(const std::string& configPath, AppState& state, StartupView& view,
                         const StartupHooks& hooks);

}  // namespace pelorin
