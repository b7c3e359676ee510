// Saturn: Keplerian mean motion whose time argument carries the great-inequality
// terms of Jupiter and Uranus, equation of the centre, logarithmic radius
// corrections. Heliocentric, equinox of the date.
#include <cmath>

#include "astro/bodies.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;

// Third term of the equation of the centre, seconds of arc: +(13/12) e^3 for
// Saturn's eccentricity. The classical text of these series prints it as -39,
// which puts the longitude off by up to 95"; +39 brings it within 30".
constexpr double kCentreThird = 39;
}  // namespace

SeriesResult SaturnSeries(double T) {
    using std::cos;
    using std::sin;
    const double tau = 49.99863107460643 + 100 * T;  // years
    const double J = ReduceTurn(2.58366097 + 0.529691136 * tau);
    const double S = ReduceTurn(4.969245 + 0.2132996 * tau);
    const double U = ReduceTurn(3.842683 + 0.0747862 * tau);
    const double kp = 0.03394769 * tau;

    const double delta =
        65776 * kp * sin(S + 4.1536) + 1344 * kp * sin(2 * S + 4.1536) + 10041 * sin(1.5144 - J) +
        5977 * sin(S - J + 3.3089) + 350470 * sin(2 * S - J + 3.1665) + 1021 * kp * sin(2 * S - J + 2.1372) +
        27834 * sin(3 * S - J + 2.1158) + 21710 * sin(3 * S - 2 * J + 2.3661) +
        567852 * sin(4 * S - 2 * J + 4.8415) + 26600 * sin(2 * S - 2 * J + 2.7397) +
        4045 * kp * sin(4 * S - 2 * J + 3.1343) + 2415265 * sin(5 * S - 2 * J + 4.3129 - 0.000398 * tau) +
        3425 * kp * sin(5 * S - 2 * J + 1.1713 - 0.00039 * tau) + 505 * kp * sin(6 * S - 2 * J + 2.199) +
        5410 * sin(3 * S - 3 * J + 4.0908) + 3820 * sin(4 * S - 3 * J + 3.5476) +
        5189 * sin(7 * S - 3 * J + 0.5481) + 7330 * sin(9 * S - 4 * J + 2.8572) +
        22255 * sin(10 * S - 4 * J + 2.3321 - 0.000718 * tau) + 6604 * sin(U - S + 1.3794) +
        6313 * sin(2 * U - S + 6.1834) + 10175 * sin(2 * U - 2 * S + 5.8769) + 23440 * sin(3 * U - S + 5.616) +
        19196 * sin(3 * U - 2 * S + 2.0827) + 23778 * sin(6 * S - 2 * J + 0.121 - 3 * U);
    const double t = tau + 23.29702 + delta / 100000.0 / 365.25;

    const double M = 0.2132996 * t;
    const double v = M + (23118 * sin(M) + 809 * sin(2 * M) + kCentreThird * sin(3 * M)) / kArcSec;

    double lambda = v + 1.572733;
    const double sinBeta = 0.0435189 * sin(lambda - 1.96084) + (24.27 * kp / kArcSec) * sin(v + 1.345);
    lambda += (98 * sin(2 * v + 2.3654) + 50.2647 * tau) / kArcSec;

    const double rho = 1826 + 12 * kp + 187 * cos(S + 5.1559) + 835 * kp * cos(S + 1.012) +
                       3783 * cos(S - J + 1.3919) + 2443 * cos(2 * S - J + 3.0725) +
                       241 * cos(3 * S - J + 5.3391) + 644 * cos(2 * S - 2 * J + 2.7328) +
                       421 * cos(3 * S - 2 * J + 2.4778) + 7005 * cos(4 * S - 2 * J + 4.8391) +
                       1142 * cos(5 * S - 2 * J + 1.0965 - 0.00043 * tau) + 235 * cos(3 * S - 2 * J + 2.0786) +
                       147 * cos(3 * S - 3 * J + 4.0829) + 50 * kp * cos(4 * S - 2 * J + 3.1353) +
                       23 * kp * cos(2 * S + 1.024);
    const double r = 9.508864 / (1 + 0.0560608 * cos(v)) * std::pow(10.0, rho / 10000000.0);

    return FinishSeries(lambda, std::asin(sinBeta), r, T);
}

void ComputeSaturn(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, SaturnSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
