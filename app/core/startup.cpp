#include "app/core/startup.h"

#include <cerrno>
#include <clocale>
#include <exception>
#include <locale>

#include "astro/tabulated.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"

namespace pelorin {

std::string WomenCaption(int count) {
    return "Список женщин.  Всего: " + std::to_string(count) + " человек";
}

std::string MenCaption(int count) {
    return "Список мужчин.  Всего: " + std::to_string(count) + " человек";
}

namespace {

// Numbers are written and read with "." whatever the user's locale says; the
// toolkit may have set the C library's locale from the environment.
void UseDotDecimalSeparator() {
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(std::locale::classic());
}

// The file a failed step was loading, as the refusals of the person pages name it.
std::string FileOfStep(StartupStep step, const std::string& configPath, const TextDatabases& databases) {
    switch (step) {
        case StartupStep::ReadConfig: return configPath;
        case StartupStep::LoadTabulated: return "Fond.in";
        case StartupStep::LoadWomen: return PersonFileName(TableKind::Women);
        case StartupStep::LoadMen: return PersonFileName(TableKind::Men);
        case StartupStep::LoadDatabases: {
            // They load in order: the first one left unloaded is the one that failed.
            const TextBase* bases[] = {&databases.AspectTexts, &databases.HouseTexts, &databases.NatalAspectTexts,
                                       &databases.SignTexts};
            for (std::size_t i = 0; i < kDatabaseFiles.size(); ++i)
                if (bases[i]->name().empty()) return kDatabaseFiles[i].source;
            return {};
        }
        default: return {};
    }
}

int LoadList(const std::string& fileName, PersonTable& table, std::vector<std::string>& lines) {
    LoadPersonFile(fileName, table);
    lines = SortedListLines(table);
    return static_cast<int>(lines.size());
}

}  // namespace

StartupHooks DefaultStartupHooks(AppState& state) {
    StartupHooks hooks;
    hooks.loadTabulated = [&state](const std::string& path) {
        std::string message;
        const int rc = LoadPlutoFile(path, &message);
        if (rc == 0) return;
        if (message.empty()) message = "Не удаётся прочитать файл «" + path + "».";
        // A file that is there but does not read would give a wrong Pluto in
        // every chart: the start-up stops. Only a missing one is passed over.
        if (rc != ENOENT) throw Error(message + " Положение Плутона по нему не вычислить; восстановите файл.");
        state.StartupWarnings.push_back(
            message + "\nПоложение Плутона не вычисляется: до исправления файла Плутон "
                      "показывается в 0° Овна.");
    };
    hooks.loadDatabases = [&state](const std::string& dataDir) {
        LoadTextDatabases(dataDir, state.databases, state.ShippedDataDir);
        for (const std::string& w : DatabaseWarnings(state.databases)) state.StartupWarnings.push_back(w);
        if (!state.databases.ReverseMissing.empty()) state.StartupWarnings.push_back(state.databases.ReverseMissing);
    };
    return hooks;
}

StartupResult RunStartup(const std::string& configPath, AppState& state, StartupView& view,
                         const StartupHooks& hooks) {
    state.StartupWarnings.clear();
    // Until the whole sequence has gone through, no list counts as loaded.
    state.people.WomenLoaded = false;
    state.people.MenLoaded = false;
    StartupStep step = StartupStep::ReadConfig;
    try {
        state.config = ReadConfig(configPath);
        const std::string& dataDir = state.config.DataDir;

        step = StartupStep::LoadTabulated;
        const DirLock lock(dataDir);
        if (hooks.loadTabulated) hooks.loadTabulated(JoinPath(dataDir, "Fond.in"));

        step = StartupStep::SetDecimalSeparator;
        UseDotDecimalSeparator();

        step = StartupStep::LoadWomen;
        std::vector<std::string> lines;
        state.people.WomenCount = LoadList(JoinPath(dataDir, "FEMIN.DAT"), state.people.WomenTable, lines);
        view.ShowWomenList(lines, WomenCaption(state.people.WomenCount));

        step = StartupStep::LoadMen;
        state.people.MenCount = LoadList(JoinPath(dataDir, "MEN.DAT"), state.people.MenTable, lines);
        view.ShowMenList(lines, MenCaption(state.people.MenCount));

        step = StartupStep::ClearFlags;
        state.people.WomanChosen = false;
        state.people.ManChosen = false;
        state.PairDone = false;
        state.ScanDone = false;
        view.SetDefaultCursor();

        step = StartupStep::DisableCommands;
        view.DisableAnalysisCommands();

        step = StartupStep::ClearAspectGrid;
        for (auto& row : state.AspectGrid) row.fill(255);

        step = StartupStep::PrepareSurfaces;
        view.PrepareDrawingSurfaces();

        step = StartupStep::LoadDatabases;
        if (hooks.loadDatabases) hooks.loadDatabases(dataDir);
        state.people.WomenLoaded = true;
        state.people.MenLoaded = true;
    } catch (const std::exception& e) {
        state.people.LoadFailedOn = FileOfStep(step, configPath, state.databases);
        return {false, step, e.what()};
    }
    state.people.LoadFailedOn.clear();
    return {};
}

}  // namespace pelorin
