// Venus: elliptic expansion in the mean anomaly with perturbations by the Earth,
// Mars and Jupiter, logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;

// Perturbations in longitude (seconds of arc) and in the logarithm of the
// radius (millionths); angles Venus, Earth, Mars (three times its mean
// longitude) and Jupiter.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {4.9, {-1, 1, 0, 0}, -2.0788},
    {11.3, {-2, 2, 0, 0}, -2.587},
    {7.1, {-3, 3, 0, 0}, -6.2384},
    {3.4, {-2, 3, 0, 0}, -2.3721},
    {1.0, {-4, 4, 0, 0}, -0.4632},
    {1.6, {-4, 5, 0, 0}, -3.3847},
    {1.4, {-3, 5, 0, 0}, -2.4099},
    {2.8, {-8, 13, 0, 0}, -3.9784},
    {1.2, {-1, 0, 1, 0}, -4.1464},
    {3.0, {-1, 0, 0, 1}, -3.6318},
    {1.6, {0, 0, 0, 1}, -4.6829},
};
constexpr PeriodicTerm kRadiusTerms[] = {
    {2.2, {-1, 1, 0, 0}, -0.5081},
    {9.8, {-2, 2, 0, 0}, -1.0159},
    {8.3, {-3, 3, 0, 0}, -4.6674},
    {0.7, {-2, 3, 0, 0}, -0.8268},
    {1.4, {-4, 4, 0, 0}, -5.1747},
    {0.5, {-5, 5, 0, 0}, -5.7009},
    {1.6, {-4, 5, 0, 0}, -1.8188},
    {0.7, {-2, 0, 1, 0}, -2.2969},
    {3.0, {-1, 0, 0, 1}, -2.0611},
    {1.3, {-2, 0, 0, 2}, -0.9628},
};
}  // namespace

SeriesResult VenusSeries(double T) {
    using std::cos;
    using std::sin;
    const double T2 = T * T;
    const double M = ReduceTurn(3.71062623 + 1021.32835 * T + 0.0000224 * T2);
    const Harmonics Mh(M, 8);
    // Logarithm of the radius, millionths.
    double rho = 5.1 - (2962.4 - 20.7 * T) * Mh.pos[1].c - 15.2 * Mh.pos[2].c;
    double lambda = M + ((2813.72 - 19.69 * T) * Mh.pos[1].s + (12 - 0.17 * T) * Mh.pos[2].s) / kArcSec + 2.271787 +
                    (5068.9 * T - 3.5 * T2) / kArcSec;
    // Earth, Mars, Jupiter.
    const Harmonics E(6.2593 + 628.3074 * T, 13);
    const Harmonics R(3 * (5.5805 + 334.061 * T), 1);
    const Harmonics G(3.9345 + 52.9689 * T, 2);
    const Harmonics* const angles[4] = {&Mh, &E, &R, &G};
    static const PeriodicTable longitudeTerms(kLongitudeTerms);
    static const PeriodicTable radiusTerms(kRadiusTerms);
    lambda += (longitudeTerms.SumCos(angles) + 2.8 * sin(4.1406 + 2.6227 * T)) / kArcSec;
    rho += radiusTerms.SumCos(angles);
    const double r = std::pow(10.0, rho / 1000000.0 - 0.14066255);
    // Reduction to the ecliptic and latitude.
    const double u = lambda - 1.322604 - 0.015705 * T;
    const Multiples<2> uh(u);
    lambda -= 181 * uh.pos[2].s / kArcSec;
    const double beta = std::asin(sin(0.05923 + 0.000018 * T) * uh.pos[1].s) + 3.6 * uh.pos[1].s / kArcSec;
    return FinishSeries(lambda, beta, r, T);
}

void ComputeVenus(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, VenusSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
