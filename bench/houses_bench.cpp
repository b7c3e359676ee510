// A chart with Pluto from Fond.in plus the Placidus cusps, beside Swiss
// Ephemeris doing the same work (swe_calc_ut for the ten bodies, swe_houses).
// Successive iterations take dates 37.3 days apart, so neither engine's caches
// of nutation, precession or the Sun carry over from one chart to the next.
#include <benchmark/benchmark.h>

#include <string>

#include "astro/chart.h"
#include "astro/houses.h"
#include "astro/tabulated.h"
#include "base/cp1251.h"
#include "people/person_chart.h"

#ifdef PELORIN_WITH_SWE
#include <swephexp.h>
#endif

namespace {

using namespace pelorin;

void LoadFond() {
    static bool loaded = false;
    if (!loaded) {
        LoadTabulatedFile(std::string(PELORIN_SOURCE_DIR) + "/data/Fond.in");
        loaded = true;
    }
}

const std::string& MoscowCoords() {
    static const std::string text = Utf8ToCp1251(" 37°37’ВД  55°45’СШ");
    return text;
}

double NextDay(double& d) {
    d += 37.3;
    if (d > 73000) d = -30000;
    return d;
}

void BM_ChartWithPlutoAndHouses(benchmark::State& state) {
    LoadFond();
    TChart chart;
    TCusps cusps;
    double d = -30000;
    for (auto _ : state) {
        NextDay(d);
        ComputeChart(d, chart);
        ComputeHouses(MoscowCoords(), d, cusps);
        benchmark::DoNotOptimize(chart);
        benchmark::DoNotOptimize(cusps);
    }
}
BENCHMARK(BM_ChartWithPlutoAndHouses);

void BM_PlutoOnly(benchmark::State& state) {
    LoadFond();
    double d = -30000;
    for (auto _ : state) benchmark::DoNotOptimize(TabulatedPosition(kPlutoBodyIndex, NextDay(d)));
}
BENCHMARK(BM_PlutoOnly);

void BM_HousesOnly(benchmark::State& state) {
    TCusps cusps;
    double d = -30000;
    for (auto _ : state) {
        ComputeHouses(MoscowCoords(), NextDay(d), cusps);
        benchmark::DoNotOptimize(cusps);
    }
}
BENCHMARK(BM_HousesOnly);

#ifdef PELORIN_WITH_SWE
void BM_SwissEphemerisTenBodiesAndHouses(benchmark::State& state) {
    swe_set_ephe_path(const_cast<char*>(PELORIN_SWE_EPHE_PATH));
    double d = -30000;
    double xx[6], cusps[13], ascmc[10];
    char serr[AS_MAXCH];
    for (auto _ : state) {
        const double jd = NextDay(d) + 2415020.0;
        for (int body = SE_SUN; body <= SE_PLUTO; ++body) swe_calc_ut(jd, body, SEFLG_SWIEPH, xx, serr);
        swe_houses(jd, 55.75, 37.6167, 'P', cusps, ascmc);
        benchmark::DoNotOptimize(xx);
        benchmark::DoNotOptimize(cusps);
    }
}
BENCHMARK(BM_SwissEphemerisTenBodiesAndHouses);
#endif

}  // namespace
