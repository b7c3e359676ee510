// The spread of the compatibility percentage over random pairs, for tuning the
// weights of the interpretation databases.
//   pelorin-score-distribution DATADIR [PAIRS [SEED]]
// Births are drawn uniformly from 1940-01-01 to 2005-12-31 at a random time of day;
// each woman gets a random place between 45 deg S and 60 deg N. Every pair is
// scored twice: as if the woman's birth time were unknown (aspects only) and known
// (aspects and houses). Prints percentiles of both.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "analysis/score.h"
#include "analysis/text_base.h"
#include "astro/base_routines.h"
#include "astro/chart.h"
#include "astro/houses.h"
#include "astro/tabulated.h"
#include "base/errors.h"
#include "base/file_io.h"

namespace {

struct Spread {
    std::vector<int> percents;
    int undefined = 0;
};

void Print(const char* title, Spread s) {
    std::sort(s.percents.begin(), s.percents.end());
    const auto at = [&](double q) {
        if (s.percents.empty()) return -1;
        const std::size_t i = static_cast<std::size_t>(q * (s.percents.size() - 1) + 0.5);
        return s.percents[i];
    };
    const auto share = [&](int lo, int hi) {
        const auto n = std::count_if(s.percents.begin(), s.percents.end(),
                                     [&](int p) { return p >= lo && p <= hi; });
        return 100.0 * static_cast<double>(n) / static_cast<double>(s.percents.size() + s.undefined);
    };
    std::printf("%s: %zu pairs, %d without any factor\n", title, s.percents.size(), s.undefined);
    std::printf("  percentiles  p5 %d  p10 %d  p25 %d  p50 %d  p75 %d  p90 %d  p95 %d\n", at(0.05), at(0.10),
                at(0.25), at(0.50), at(0.75), at(0.90), at(0.95));
    std::printf("  within 30..90 %%: %.1f %%   below 30: %.1f %%   above 90: %.1f %%\n", share(30, 90),
                share(0, 29), share(91, 100));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: pelorin-score-distribution DATADIR [PAIRS [SEED]]\n");
        return 2;
    }
    const std::string dataDir = std::string(argv[1]) + "/";
    const int pairs = argc > 2 ? std::atoi(argv[2]) : 10000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u;
    using namespace pelorin;
    TextDatabases db;
    try {
        LoadTextDatabases(dataDir, db);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (LoadTabulatedFile(JoinPath(dataDir, "Fond.in")) != 0)
        std::fprintf(stderr, "warning: no Fond.in, Pluto stays at 0 degrees\n");

    std::mt19937_64 rng(seed);
    const double first = DayNumberOf(1, 1, 1940, 0, 0, 0), last = DayNumberOf(31, 12, 2005, 0, 0, 0);
    std::uniform_real_distribution<double> day(first, last), lat(-45.0, 60.0), lon(-180.0, 180.0);

    ScoreLookups lookups;
    lookups.aspect = [&](int m, int a, int w) { return AspectWeight(db.AspectTexts, m, a, w); };
    lookups.house = [&](int m, int h) { return db.HouseTexts.Find(EntryKind::House, {m, h, 0, 0}).weight; };

    Spread aspectsOnly, withHouses;
    for (int i = 0; i < pairs; ++i) {
        TChart woman, man;
        const double wMoment = day(rng), mMoment = day(rng);
        const double wLat = lat(rng), wLon = lon(rng);
        ComputeChart(wMoment, woman);
        ComputeChart(mMoment, man);
        AspectGrid grid;
        ClearAspectGrid(grid);
        FindMutualAspects(woman, man, grid);
        TCusps cusps;
        ComputeHousesAt(wLon, wLat, wMoment, cusps);
        HouseOverlay overlay{};
        PlaceInHouses(man, cusps, overlay);
        for (bool known : {false, true}) {
            const PairScore s = ScorePair(grid, overlay, known, lookups);
            Spread& target = known ? withHouses : aspectsOnly;
            if (s.CompatPercent) target.percents.push_back(*s.CompatPercent);
            else ++target.undefined;
        }
    }
    Print("birth time of the woman unknown (aspects only)", aspectsOnly);
    Print("birth time of the woman known (aspects and houses)", withHouses);
    return 0;
}
