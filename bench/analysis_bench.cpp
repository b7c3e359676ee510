// The pair analysis and the scan of all men as the program runs them, on the
// shipped databases of the build's data directory (copied to a scratch
// directory, where the report files are written), with Pluto from Fond.in.
// Beside them the 99 chart computations that a scan cannot do without.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysis/text_base.h"
#include "analysis/pair_analysis.h"
#include "astro/chart.h"
#include "astro/tabulated.h"
#include "base/cp1251.h"
#include "people/person_record.h"
#include "people/person_chart.h"

namespace {

using namespace pelorin;
namespace fs = std::filesystem;

PersonRecord Person(const char* name, double moment) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Stamp.set("0101000001");
    p.DateText.set("01.01.1970");
    p.TimeText.set("12:00");
    p.TimeKnown = 1;
    p.Place.set(Utf8ToCp1251("Москва"));
    p.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    p.Moment = moment;
    return p;
}

struct Setup {
    fs::path dir = fs::temp_directory_path() / ("pelorin-bench-analysis-" + std::to_string(::getpid()));
    std::string dataDir;
    TextDatabases texts;
    PeopleState people;
    Setup() {
        fs::create_directories(dir);
        for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data")) {
            const std::string ext = f.path().extension().string();
            if (ext == ".dat" || ext == ".in") fs::copy_file(f.path(), dir / f.path().filename());
        }
        dataDir = dir.string() + "/";
        LoadTabulatedFile(dataDir + "Fond.in");
        LoadTextDatabases(dataDir, texts);
        for (int s = 1; s <= kTableSlots; ++s) ClearSlot(people.MenTable, s);
        for (int s = 1; s <= kUsableSlots; ++s) {
            people.MenTable.slot(s) = Person("Мужчина", 20000 + s * 131.7);  // 1954 to 1990
            people.MenTable.slot(s).Stamp.set("02000000" + std::to_string(10 + s));
        }
        people.ChosenWoman = Person("Женщина", 25000.3);
        people.ChosenMan = people.MenTable.slot(50);
        people.WomanChosen = people.ManChosen = true;
    }
    ~Setup() { fs::remove_all(dir); }
};

Setup& Data() {
    static Setup s;
    return s;
}

// Both charts, cusps, grids, both reports with their six files.
void BM_PairAnalysis(benchmark::State& st) {
    Setup& d = Data();
    AnalysisState state;
    PairAnalysisObserver none;
    for (auto _ : st) {
        const AnalysisResult r = RunPairAnalysis(d.people, {d.dataDir, d.texts}, state, none);
        if (!r.ok) st.SkipWithError(r.message.c_str());
    }
}
BENCHMARK(BM_PairAnalysis)->Unit(benchmark::kMicrosecond);

// "Анализ всех" over 99 men: scan, ranking, flags. With the woman's birth time
// known (1) the house texts of every man are appended to Plus.txt/Minus.txt;
// without it (0) there is no house pass.
void BM_ScanAllMen99(benchmark::State& st) {
    Setup& d = Data();
    AnalysisState state;
    ScanObserver none;
    PeopleState base = d.people;
    base.ChosenWoman.TimeKnown = static_cast<std::uint8_t>(st.range(0));
    for (auto _ : st) {
        PeopleState people = base;
        const AnalysisResult r = RunScan(people, {d.dataDir, d.texts}, state, none);
        if (!r.ok) st.SkipWithError(r.message.c_str());
    }
}
BENCHMARK(BM_ScanAllMen99)->ArgName("time_known")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The floor of the scan: the 99 men's charts alone.
void BM_Charts99(benchmark::State& st) {
    Setup& d = Data();
    TChart chart;
    for (auto _ : st)
        for (int s = 1; s <= kUsableSlots; ++s) {
            ComputeChart(d.people.MenTable.slot(s), chart);
            benchmark::DoNotOptimize(chart);
        }
}
BENCHMARK(BM_Charts99)->Unit(benchmark::kMillisecond);

}  // namespace
