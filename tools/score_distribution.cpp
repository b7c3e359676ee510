// The spread of the compatibility percentage over random pairs, for tuning the
// weights of the interpretation databases, and the table of that spread that the
// program ships ("pairs.tbl", where a pair stands among pairs in general).
//   pelorin-score-distribution DATADIR [PAIRS [SEED]] [--table FILE]
// Births are drawn uniformly from 1940-01-01 to 2005-12-31 at a random time of day;
// each woman gets a random place between 45 deg S and 60 deg N. Every pair is
// scored twice: as if the woman's birth time were unknown (aspects only) and known
// (aspects and houses). Prints percentiles of both; with --table also writes
// the counts per percentage to FILE.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "analysis/percentile.h"
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
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string tableFile;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--table") {
            tableFile = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    if (args.empty() || args.size() > 3 || (!args.empty() && args[0].rfind("--", 0) == 0)) {
        std::fprintf(stderr, "usage: pelorin-score-distribution DATADIR [PAIRS [SEED]] [--table FILE]\n");
        return 2;
    }
    const std::string dataDir = args[0] + "/";
    const int pairs = args.size() > 1 ? std::atoi(args[1].c_str()) : 10000;
    const unsigned seed = args.size() > 2 ? static_cast<unsigned>(std::atoi(args[2].c_str())) : 1u;
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

    const ScoreLookups lookups = ScanLookups(db.AspectTexts, db.HouseTexts);
    PercentileTable table;
    table.textsFingerprint = TextsFingerprint(db);

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
            if (s.CompatPercent) {
                target.percents.push_back(*s.CompatPercent);
                ++(known ? table.knownTime : table.unknownTime)[static_cast<std::size_t>(*s.CompatPercent)];
            }
            else ++target.undefined;
        }
    }
    Print("birth time of the woman unknown (aspects only)", aspectsOnly);
    Print("birth time of the woman known (aspects and houses)", withHouses);
    if (!tableFile.empty()) {
        const std::string comment =
            "Spread of the compatibility percentage over " + std::to_string(pairs) +
            " random pairs (seed " + std::to_string(seed) + "), made by\n"
            "pelorin-score-distribution from the aspect and house databases; see tools/README.md.";
        try {
            WriteFileAtomic(tableFile, PercentileTableText(table, comment));
        } catch (const Error& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        std::printf("table written to %s\n", tableFile.c_str());
    }
    return 0;
}
