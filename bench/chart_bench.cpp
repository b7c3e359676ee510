// One chart (ten bodies, Pluto from Fond.in) by the engine, beside Swiss
// Ephemeris computing the same ten bodies from its files. The moment moves on
// every iteration so that no cache answers a repeated question.
#include <benchmark/benchmark.h>

#include <string>

#include "astro/chart.h"
#include "astro/tabulated.h"

#ifdef PELORIN_WITH_SWE
#include <swephexp.h>
#endif

namespace {

double NextMoment(double& d) {
    d += 0.7391;
    if (d > 73000) d = 100;
    return d;
}

void BM_ComputeChart(benchmark::State& state) {
    // Pluto from Fond.in, as the program has it; without the file Pluto's entry
    // would be left at zero and cost next to nothing.
    pelorin::LoadTabulatedFile(std::string(PELORIN_SOURCE_DIR) + "/data/Fond.in");
    pelorin::TChart chart;
    double d = 100;
    for (auto _ : state) {
        pelorin::ComputeChart(NextMoment(d), chart);
        benchmark::DoNotOptimize(chart);
    }
}
BENCHMARK(BM_ComputeChart);

#ifdef PELORIN_WITH_SWE
void SweTenBodies(benchmark::State& state, int flags) {
    swe_set_ephe_path(const_cast<char*>(PELORIN_SWE_EPHE_PATH));
    const int bodies[] = {SE_SUN,    SE_MOON,   SE_MERCURY, SE_VENUS,  SE_MARS,
                          SE_JUPITER, SE_SATURN, SE_URANUS,  SE_NEPTUNE, SE_PLUTO};
    double xx[6];
    char err[AS_MAXCH];
    double d = 100;
    for (auto _ : state) {
        const double jd = NextMoment(d) + 2415020.0;
        for (int b : bodies) {
            swe_calc_ut(jd, b, flags, xx, err);
            benchmark::DoNotOptimize(xx);
        }
    }
}
// Apparent places, the library's default.
void BM_SwissEphemerisTenBodies(benchmark::State& state) { SweTenBodies(state, SEFLG_SWIEPH); }
BENCHMARK(BM_SwissEphemerisTenBodies);
// Geometric places of the mean equinox of the date, the frame of the series.
void BM_SwissEphemerisTenBodiesGeometric(benchmark::State& state) {
    SweTenBodies(state, SEFLG_SWIEPH | SEFLG_NONUT | SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL);
}
BENCHMARK(BM_SwissEphemerisTenBodiesGeometric);
#endif

}  // namespace
