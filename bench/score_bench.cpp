// Scoring a pair against the shipped databases (aspects.txt, about 1,800 lines),
// and a scan-sized loop of 99 men, with the lookups answered from the index and,
// for comparison, by the plain scan of the lines. Charts are fixed pseudo-random
// longitudes, so that only the aspects, the overlay and the lookups are measured.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "analysis/score.h"
#include "analysis/text_base.h"
#include "analysis/text_pack.h"
#include "base/file_io.h"

namespace {

using namespace pelorin;

TextBase Shipped(const DatabaseFile& db) {
    const std::string path = std::string(PELORIN_SOURCE_DIR) + "/data/texts/" + db.text;
    return TextBase(db.text, SplitTextLines(PackTextSource(db.kind, ReadWholeFile(path), path).plain));
}

const TextBase& Aspects() {
    static const TextBase b = Shipped(kDatabaseFiles[0]);
    return b;
}
const TextBase& Houses() {
    static const TextBase b = Shipped(kDatabaseFiles[1]);
    return b;
}

struct Pairs {
    TChart woman;
    TCusps cusps;
    std::vector<TChart> men;
};

const Pairs& Charts() {
    static const Pairs p = [] {
        Pairs p;
        std::mt19937 rng(1975);
        std::uniform_real_distribution<double> lon(0, 360);
        for (int i = 0; i < kBodyCount; ++i) p.woman[i].Lon = lon(rng);
        const double asc = lon(rng);
        for (int h = 1; h <= 12; ++h) p.cusps[h] = std::fmod(asc + 30.0 * (h - 1), 360.0);
        p.men.resize(99);
        for (TChart& m : p.men)
            for (int i = 0; i < kBodyCount; ++i) m[i].Lon = lon(rng);
        return p;
    }();
    return p;
}

// Weight-only lookups through the index or the plain scan.
ScoreLookups WeightOnly(bool indexed) {
    const TextBase& a = Aspects();
    const TextBase& h = Houses();
    return {[&a, indexed](int m, int an, int w) {
                const EntryKey k{m, an, w, 0};
                return (indexed ? a.Find(EntryKind::Aspect, k) : a.FindLinear(EntryKind::Aspect, k)).weight;
            },
            [&h, indexed](int m, int hs) {
                const EntryKey k{m, hs, 0, 0};
                return (indexed ? h.Find(EntryKind::House, k) : h.FindLinear(EntryKind::House, k)).weight;
            }};
}

PairScore ScoreMan(const TChart& man, const ScoreLookups& lookups) {
    AspectGrid grid;
    HouseOverlay overlay;
    FindMutualAspects(Charts().woman, man, grid);
    PlaceInHouses(man, Charts().cusps, overlay);
    return ScorePair(grid, overlay, true, lookups);
}

void BM_ScorePairWeightOnly(benchmark::State& state) {
    const ScoreLookups lookups = WeightOnly(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(ScoreMan(Charts().men[0], lookups));
}
BENCHMARK(BM_ScorePairWeightOnly)->ArgName("indexed")->Arg(1)->Arg(0);

class ScratchData {
public:
    ScratchData() : dir_(std::filesystem::temp_directory_path() / ("pelorin-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir_);
    }
    ~ScratchData() { std::filesystem::remove_all(dir_); }
    std::string path() const { return dir_.string() + "/"; }
    void EmptyReports() const {
        std::ofstream(dir_ / "Plus.txt", std::ios::trunc);
        std::ofstream(dir_ / "Minus.txt", std::ios::trunc);
    }

private:
    std::filesystem::path dir_;
};

// The pair report's scoring stage: the writing lookups, Plus.txt and Minus.txt
// emptied before each pair as the report does.
void BM_ScorePairWritingTexts(benchmark::State& state) {
    ScratchData data;
    const ScoreLookups lookups = PairReportLookups(Aspects(), Houses(), data.path());
    for (auto _ : state) {
        data.EmptyReports();
        benchmark::DoNotOptimize(ScoreMan(Charts().men[0], lookups));
    }
}
BENCHMARK(BM_ScorePairWritingTexts);

// 99 men as the scan scores them: weights alone, no texts written.
void BM_Scan99Men(benchmark::State& state) {
    const ScoreLookups lookups = ScanLookups(Aspects(), Houses());
    for (auto _ : state) {
        for (const TChart& man : Charts().men) benchmark::DoNotOptimize(ScoreMan(man, lookups));
    }
}
BENCHMARK(BM_Scan99Men)->Unit(benchmark::kMillisecond);

// The same 99 men with weight-only lookups, index against plain scan.
void BM_Scan99MenWeightOnly(benchmark::State& state) {
    const ScoreLookups lookups = WeightOnly(state.range(0) != 0);
    for (auto _ : state)
        for (const TChart& man : Charts().men) benchmark::DoNotOptimize(ScoreMan(man, lookups));
}
BENCHMARK(BM_Scan99MenWeightOnly)->ArgName("indexed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// What the index costs: building the in-memory database from its 1,800 lines.
void BM_BuildAspectBase(benchmark::State& state) {
    const std::vector<std::string> lines = [] {
        std::vector<std::string> l;
        for (int n = 1; n <= Aspects().lineCount(); ++n) l.push_back(Aspects().line(n));
        return l;
    }();
    for (auto _ : state) benchmark::DoNotOptimize(TextBase("data1.dat", lines));
}
BENCHMARK(BM_BuildAspectBase)->Unit(benchmark::kMicrosecond);

}  // namespace
