// Jupiter: Keplerian mean motion whose time argument carries the great-inequality
// terms of Saturn (and Uranus), equation of the centre, logarithmic radius
// corrections. Heliocentric, equinox of the date.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;

// Terms of the great inequality in the time argument (delta, in units of
// 1e-6 years x 365.25) and of the logarithm of the radius (1e-7); angles
// Saturn, Jupiter, Uranus; secular terms carry k.
constexpr PeriodicTerm kDeltaTerms[] = {
    {39928, {0, -1, 0, 0}, 3.969972, true},
    {37294, {1, 0, 0, 0}, 2.634308},
    {266919, {1, -1, 0, 0}, 1.382349},
    {22776, {2, 0, 0, 0}, 2.161241},
    {411235, {2, -1, 0, 0}, 0.02466},
    {650670, {2, -2, 0, 0}, 5.879958},
    {46930, {3, -1, 0, 0}, 5.448768},
    {276299, {3, -2, 0, 0}, 2.223234},
    {54251, {3, -3, 0, 0}, 1.007312},
    {56290, {4, -2, 0, 0}, 1.718587},
    {50072, {4, -3, 0, 0}, 0.454571},
    {538023, {5, -3, 0, 0}, 3.079881},
    {1888, {5, -3, 0, 0}, 1.411884, true},
    {28956, {6, -2, -3, 0}, 3.27831},
};
constexpr PeriodicTerm kRadiusTerms[] = {
    {126, {0, -1, 0, 0}, 3.9698, true},
    {545, {1, -1, 0, 0}, 1.3821},
    {61, {2, 0, 0, 0}, 5.3265},
    {383, {2, -1, 0, 0}, 6.2167},
    {2303, {2, -2, 0, 0}, 5.88},
    {62, {2, -3, 0, 0}, 5.8151},
    {56, {3, -1, 0, 0}, 2.322},
    {738, {3, -2, 0, 0}, 2.2095},
    {241, {3, -3, 0, 0}, 1.0213},
    {85, {4, -2, 0, 0}, 1.6416},
    {193, {4, -3, 0, 0}, 0.4714},
    {60, {4, -4, 0, 0}, 2.2314},
    {229, {5, -2, 0, 0}, 4.152},
    {1679, {5, -3, 0, 0}, 3.0787},
    {65, {5, -4, 0, 0}, 2.4648},
};
}  // namespace

SeriesResult JupiterSeries(double T) {
    using std::cos;
    using std::sin;
    const double tau = 49.99863107460643 + 100 * T;  // years
    const double Ja = ReduceTurn(2.58366097 + 0.529691136 * tau);
    const double Sa = ReduceTurn(4.969245 + 0.2132996 * tau);
    const Harmonics S(Sa, 10);
    const Harmonics J(Ja, 4);
    const Harmonics U(ReduceTurn(3.842683 + 0.0747862 * tau), 3);
    const Harmonics* const angles[4] = {&S, &J, &U, nullptr};
    const double k = 0.08430296 * tau;

    static const PeriodicTable deltaTerms(kDeltaTerms);
    static const PeriodicTable radiusTerms(kRadiusTerms);
    const double delta = deltaTerms.SumSin(angles, k) +
                         36853 * sin(10 * Sa - 4 * Ja + 5.4748 + 0.00071 * tau) +
                         (3998745 - 2213 * k) * sin(5 * Sa - 2 * Ja + 1.171968 - 0.0003974 * tau);
    const double t = tau + 4.877675 + delta / 1000000.0 / 365.25;

    const double M = 0.5296909443153687 * t;
    const Multiples<3> m(M);
    const double v = M + 0.0964779225408427 * m.pos[1].s + (600 * m.pos[2].s + 25 * m.pos[3].s) / kArcSec;

    double lambda = v + 0.207824;
    const double sinBeta = 0.02289 * sin(lambda - 1.7267) + (4.4 * k / kArcSec) * sin(v + 0.62);
    lambda += (27 * sin(2 * lambda + 5.9711) + 50.265 * tau) / kArcSec;

    const double rho = radiusTerms.SumCos(angles, k);
    const double r = 5.1906885 / (1 + 0.0482538 * cos(v)) * std::pow(10.0, rho / 10000000.0);

    return FinishSeries(lambda, std::asin(sinBeta), r, T);
}

void ComputeJupiter(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, JupiterSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
