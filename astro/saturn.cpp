// Saturn: Keplerian mean motion whose time argument carries the great-inequality
// terms of Jupiter and Uranus, equation of the centre, logarithmic radius
// corrections. Heliocentric, equinox of the date.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;

// Third term of the equation of the centre, seconds of arc: +(13/12) e^3 for
// Saturn's eccentricity. The classical text of these series prints it as -39,
// which puts the longitude off by up to 95"; +39 brings it within 30".
constexpr double kCentreThird = 39;

// Terms of the great inequality in the time argument (delta, in units of
// 1e-5 years x 365.25) and of the logarithm of the radius (1e-7); angles
// Saturn, Jupiter, Uranus; secular terms carry kp.
constexpr PeriodicTerm kDeltaTerms[] = {
    {65776, {1, 0, 0, 0}, 4.1536, true},
    {1344, {2, 0, 0, 0}, 4.1536, true},
    {10041, {0, -1, 0, 0}, 1.5144},
    {5977, {1, -1, 0, 0}, 3.3089},
    {350470, {2, -1, 0, 0}, 3.1665},
    {1021, {2, -1, 0, 0}, 2.1372, true},
    {27834, {3, -1, 0, 0}, 2.1158},
    {21710, {3, -2, 0, 0}, 2.3661},
    {567852, {4, -2, 0, 0}, 4.8415},
    {26600, {2, -2, 0, 0}, 2.7397},
    {4045, {4, -2, 0, 0}, 3.1343, true},
    {505, {6, -2, 0, 0}, 2.199, true},
    {5410, {3, -3, 0, 0}, 4.0908},
    {3820, {4, -3, 0, 0}, 3.5476},
    {5189, {7, -3, 0, 0}, 0.5481},
    {7330, {9, -4, 0, 0}, 2.8572},
    {6604, {-1, 0, 1, 0}, 1.3794},
    {6313, {-1, 0, 2, 0}, 6.1834},
    {10175, {-2, 0, 2, 0}, 5.8769},
    {23440, {-1, 0, 3, 0}, 5.616},
    {19196, {-2, 0, 3, 0}, 2.0827},
    {23778, {6, -2, -3, 0}, 0.121},
};
constexpr PeriodicTerm kRadiusTerms[] = {
    {187, {1, 0, 0, 0}, 5.1559},
    {835, {1, 0, 0, 0}, 1.012, true},
    {3783, {1, -1, 0, 0}, 1.3919},
    {2443, {2, -1, 0, 0}, 3.0725},
    {241, {3, -1, 0, 0}, 5.3391},
    {644, {2, -2, 0, 0}, 2.7328},
    {421, {3, -2, 0, 0}, 2.4778},
    {7005, {4, -2, 0, 0}, 4.8391},
    {235, {3, -2, 0, 0}, 2.0786},
    {147, {3, -3, 0, 0}, 4.0829},
    {50, {4, -2, 0, 0}, 3.1353, true},
    {23, {2, 0, 0, 0}, 1.024, true},
};
}  // namespace

SeriesResult SaturnSeries(double T) {
    using std::cos;
    using std::sin;
    const double tau = 49.99863107460643 + 100 * T;  // years
    const double Ja = ReduceTurn(2.58366097 + 0.529691136 * tau);
    const double Sa = ReduceTurn(4.969245 + 0.2132996 * tau);
    const Harmonics S(Sa, 10);
    const Harmonics J(Ja, 4);
    const Harmonics U(ReduceTurn(3.842683 + 0.0747862 * tau), 3);
    const Harmonics* const angles[4] = {&S, &J, &U, nullptr};
    const double kp = 0.03394769 * tau;

    static const PeriodicTable deltaTerms(kDeltaTerms);
    static const PeriodicTable radiusTerms(kRadiusTerms);
    const double delta = deltaTerms.SumSin(angles, kp) +
                         2415265 * sin(5 * Sa - 2 * Ja + 4.3129 - 0.000398 * tau) +
                         3425 * kp * sin(5 * Sa - 2 * Ja + 1.1713 - 0.00039 * tau) +
                         22255 * sin(10 * Sa - 4 * Ja + 2.3321 - 0.000718 * tau);
    const double t = tau + 23.29702 + delta / 100000.0 / 365.25;

    const double M = 0.2132996 * t;
    const Multiples<3> m(M);
    const double v = M + (23118 * m.pos[1].s + 809 * m.pos[2].s + kCentreThird * m.pos[3].s) / kArcSec;

    double lambda = v + 1.572733;
    const double sinBeta = 0.0435189 * sin(lambda - 1.96084) + (24.27 * kp / kArcSec) * sin(v + 1.345);
    lambda += (98 * sin(2 * v + 2.3654) + 50.2647 * tau) / kArcSec;

    const double rho = 1826 + 12 * kp + radiusTerms.SumCos(angles, kp) +
                       1142 * cos(5 * Sa - 2 * Ja + 1.0965 - 0.00043 * tau);
    const double r = 9.508864 / (1 + 0.0560608 * cos(v)) * std::pow(10.0, rho / 10000000.0);

    return FinishSeries(lambda, std::asin(sinBeta), r, T);
}

void ComputeSaturn(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, SaturnSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
