// Mars: elliptic expansion in the mean anomaly with perturbations by Venus, the
// Earth and Jupiter, logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;

// Perturbations in longitude (seconds of arc) and in the logarithm of the
// radius (millionths); angles Mars, Earth, Jupiter, Venus.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {6.4, {3, 0, 0, -1}, -1.0053},
    {8.6, {1, -1, 0, 0}, -0.6126},
    {14, {2, -1, 0, 0}, -0.3577},
    {7.4, {3, -2, 0, 0}, -2.7688},
    {4.9, {4, -2, 0, 0}, -2.6894},
    {2.6, {5, -3, 0, 0}, -4.897},
    {3.1, {-2, 0, 1, 0}, -0.8165},
    {25.4, {-1, 0, 1, 0}, -0.8545},
    {3.7, {0, 0, 1, 0}, -5.9757},
    {2.1, {-3, 0, 2, 0}, -3.3637},
    {16, {-2, 0, 2, 0}, -3.3492},
    {21.9, {-1, 0, 2, 0}, -3.2873},
    {2.6, {-2, 0, 3, 0}, -3.9864},
    {3.2, {-1, 0, 3, 0}, -3.6164},
    {1.6, {15, -8, 0, 0}, -2.9694},
    {1.5, {3, -1, 0, 0}, -0.3871},
    {1.5, {0, 0, 2, 0}, -3.3103},
    {1.3, {-3, 0, 3, 0}, -2.9369},
    {1.2, {7, -4, 0, 0}, -0.7268},
};
constexpr PeriodicTerm kRadiusTerms[] = {
    {7, {1, -1, 0, 0}, -0.6126},
    {2.9, {2, -1, 0, 0}, -1.9757},
    {6.4, {3, -2, 0, 0}, -1.1977},
    {3.9, {-2, 0, 1, 0}, -5.522},
    {23.1, {-1, 0, 1, 0}, -5.5653},
    {3, {-3, 0, 2, 0}, -1.7957},
    {22.1, {-2, 0, 2, 0}, -1.7801},
    {16.6, {-1, 0, 2, 0}, -1.7162},
    {3.4, {-2, 0, 3, 0}, -2.4389},
};
}  // namespace

SeriesResult MarsSeries(double T) {
    using std::cos;
    using std::sin;
    double M = ReduceTurn(5.576661 + 334.053549 * T + 0.00000316 * T * T);
    M += 52.5 * sin(0.8287 + 0.3451 * T) / kArcSec;
    const Multiples<5> m(M);
    // Logarithm of the radius: 0.182897 + rho / 1 000 000, rho in millionths.
    const double rho = 946.3 + 1.8 * T - (40391.7 + 39 * T) * m.pos[1].c - (2820.9 + 5.4 * T) * m.pos[2].c -
                       (248.1 + 0.7 * T) * m.pos[3].c - 24.1 * m.pos[4].c - 2.5 * m.pos[5].c;
    double logR = 0.182897 + rho / 1000000.0;
    double lambda = M +
                    ((38450.9 + 37.3 * T) * m.pos[1].s + (2237.7 + 4.3 * T) * m.pos[2].s +
                     (180.6 + 0.5 * T) * m.pos[3].s + 16.6 * m.pos[4].s + 1.7 * m.pos[5].s) /
                        kArcSec +
                    5.833208 + 0.03212714820610063 * T;
    // Mars, Venus, Earth, Jupiter.
    const Harmonics A(ReduceTurn(5.576851 + 334.05356 * T), 15);
    const Harmonics V(ReduceTurn(3.7069 + 1021.3208 * T), 1);
    const Harmonics E(ReduceTurn(6.2555 + 628.2998 * T), 8);
    const Harmonics G(ReduceTurn(3.9306 + 52.9614 * T + 0.0058 * sin(2.3457 + 0.672 * T)), 3);
    const Harmonics* const angles[4] = {&A, &E, &G, &V};
    static const PeriodicTable longitudeTerms(kLongitudeTerms);
    static const PeriodicTable radiusTerms(kRadiusTerms);
    lambda += longitudeTerms.SumCos(angles) / kArcSec;
    logR += radiusTerms.SumCos(angles) / 1000000.0;
    const double r = std::pow(10.0, logR);
    // Reduction to the ecliptic and latitude.
    const double u = lambda - 0.851483 - 0.0134565 * T;
    const Multiples<2> uh(u);
    lambda -= 53.8 * uh.pos[2].s / kArcSec;
    const double beta = std::asin(sin(0.032293 - 0.000012 * T) * uh.pos[1].s) - 2.25 * uh.pos[1].s / kArcSec;
    return FinishSeries(lambda, beta, r, T);
}

void ComputeMars(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, MarsSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
