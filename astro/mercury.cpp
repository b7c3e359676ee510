// Mercury: elliptic expansion in the mean anomaly with perturbations by Venus and
// Jupiter, logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;

// Perturbations in longitude (seconds of arc) and in the logarithm of the
// radius (millionths); angles Mercury, Venus and Jupiter.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {3.7, {-1, 2, 0, 0}, -2.8046},
    {2.1, {-2, 2, 0, 0}, -2.8126},
    {1.3, {-2, 3, 0, 0}, -1.8288},
    {2.8, {-3, 5, 0, 0}, -6.1063},
    {7.6, {-2, 5, 0, 0}, -6.0699},
    {1.5, {-1, 5, 0, 0}, -6.0685},
    {3.3, {-1, 0, 2, 0}, -0.6458},
};
constexpr PeriodicTerm kRadiusTerms[] = {
    {0.71, {-3, 2, 0, 0}, -1.2413},
    {2.37, {-2, 2, 0, 0}, -1.2425},
    {0.9, {-1, 2, 0, 0}, -1.2303},
    {0.76, {0, 2, 0, 0}, -4.3633},
    {1.16, {-2, 3, 0, 0}, -0.259},
    {0.85, {-4, 5, 0, 0}, -4.5293},
    {2.95, {-3, 5, 0, 0}, -4.5364},
    {1.55, {-1, 5, 0, 0}, -1.357},
    {0.71, {-1, 0, 1, 0}, -1.5949},
    {1.18, {-2, 0, 2, 0}, -5.3576},
    {3.27, {-1, 0, 2, 0}, -5.3579},
};
}  // namespace

SeriesResult MercurySeries(double T) {
    using std::cos;
    using std::sin;
    const double M = ReduceTurn(1.78511195 + 2608.787533 * T);
    const Harmonics Mh(M, 8);
    // Logarithm of the radius, millionths.
    double rho = -407563.61 + 0.92 * T - (87878.82 + 8.46 * T) * Mh.pos[1].c - (13416.31 + 2.6 * T) * Mh.pos[2].c -
                 (2579.08 + 0.75 * T) * Mh.pos[3].c - 548.05 * Mh.pos[4].c - 123.22 * Mh.pos[5].c -
                 28.74 * Mh.pos[6].c - 6.87 * Mh.pos[7].c - 1.68 * Mh.pos[8].c;
    // Longitude: equation of the centre in seconds of arc.
    const double S = (84377.7 + 8.3 * T) * Mh.pos[1].s + (10732.8 + 2.1 * T) * Mh.pos[2].s +
                     (1892.1 + 0.6 * T) * Mh.pos[3].s + 381.1 * Mh.pos[4].s + 82.6 * Mh.pos[5].s +
                     18.7 * Mh.pos[6].s + 4.4 * Mh.pos[7].s + 1.0 * Mh.pos[8].s;
    double lambda = M + S / kArcSec + 1.3247 + 0.027148 * T + 0.000005 * T * T;
    // Venus and Jupiter.
    const Harmonics V(3.7095 + 1021.3258 * T, 5);
    const Harmonics G(3.9333 + 52.9663 * T, 2);
    const Harmonics* const angles[4] = {&Mh, &V, &G, nullptr};
    static const PeriodicTable longitudeTerms(kLongitudeTerms);
    static const PeriodicTable radiusTerms(kRadiusTerms);
    rho += radiusTerms.SumCos(angles);
    const double r = std::pow(10.0, rho / 1000000.0);
    lambda += longitudeTerms.SumCos(angles) / kArcSec;
    // Reduction to the ecliptic and latitude.
    const double u = lambda - 0.822852 - 0.020686 * T;
    const Multiples<4> uh(u);
    lambda -= (772.2 * uh.pos[2].s + 1.4 * uh.pos[4].s) / kArcSec;
    const double beta = std::asin(sin(0.122223 + 0.000032 * T) * uh.pos[1].s) - 6.7 * uh.pos[1].s / kArcSec;
    return FinishSeries(lambda, beta, r, T);
}

void ComputeMercury(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, MercurySeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
