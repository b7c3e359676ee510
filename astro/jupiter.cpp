// Jupiter: Keplerian mean motion whose time argument carries the great-inequality
// terms of Saturn (and Uranus), equation of the centre, logarithmic radius
// corrections. Heliocentric, equinox of the date.
#include <cmath>

#include "astro/bodies.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;
}

SeriesResult JupiterSeries(double T) {
    using std::cos;
    using std::sin;
    const double tau = 49.99863107460643 + 100 * T;  // years
    const double J = ReduceTurn(2.58366097 + 0.529691136 * tau);
    const double S = ReduceTurn(4.969245 + 0.2132996 * tau);
    const double U = ReduceTurn(3.842683 + 0.0747862 * tau);
    const double k = 0.08430296 * tau;

    const double delta =
        39928 * k * sin(3.969972 - J) + 37294 * sin(S + 2.634308) + 266919 * sin(S - J + 1.382349) +
        22776 * sin(2 * S + 2.161241) + 411235 * sin(2 * S - J + 0.02466) +
        650670 * sin(2 * S - 2 * J + 5.879958) + 46930 * sin(3 * S - J + 5.448768) +
        276299 * sin(3 * S - 2 * J + 2.223234) + 54251 * sin(3 * S - 3 * J + 1.007312) +
        56290 * sin(4 * S - 2 * J + 1.718587) + 50072 * sin(4 * S - 3 * J + 0.454571) +
        538023 * sin(5 * S - 3 * J + 3.079881) + 1888 * k * sin(5 * S - 3 * J + 1.411884) +
        36853 * sin(10 * S - 4 * J + 5.4748 + 0.00071 * tau) +
        (3998745 - 2213 * k) * sin(5 * S - 2 * J + 1.171968 - 0.0003974 * tau) +
        28956 * sin(6 * S - 2 * J + 3.27831 - 3 * U);
    const double t = tau + 4.877675 + delta / 1000000.0 / 365.25;

    const double M = 0.5296909443153687 * t;
    const double v = M + 0.0964779225408427 * sin(M) + (600 * sin(2 * M) + 25 * sin(3 * M)) / kArcSec;

    double lambda = v + 0.207824;
    const double sinBeta = 0.02289 * sin(lambda - 1.7267) + (4.4 * k / kArcSec) * sin(v + 0.62);
    lambda += (27 * sin(2 * lambda + 5.9711) + 50.265 * tau) / kArcSec;

    const double rho = 126 * k * cos(3.9698 - J) + 545 * cos(S - J + 1.3821) + 61 * cos(2 * S + 5.3265) +
                       383 * cos(2 * S - J + 6.2167) + 2303 * cos(2 * S - 2 * J + 5.88) +
                       62 * cos(2 * S - 3 * J + 5.8151) + 56 * cos(3 * S - J + 2.322) +
                       738 * cos(3 * S - 2 * J + 2.2095) + 241 * cos(3 * S - 3 * J + 1.0213) +
                       85 * cos(4 * S - 2 * J + 1.6416) + 193 * cos(4 * S - 3 * J + 0.4714) +
                       60 * cos(4 * S - 4 * J + 2.2314) + 229 * cos(5 * S - 2 * J + 4.152) +
                       1679 * cos(5 * S - 3 * J + 3.0787) + 65 * cos(5 * S - 4 * J + 2.4648);
    const double r = 5.1906885 / (1 + 0.0482538 * cos(v)) * std::pow(10.0, rho / 10000000.0);

    return FinishSeries(lambda, std::asin(sinBeta), r, T);
}

void ComputeJupiter(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, JupiterSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
