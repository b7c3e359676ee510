// Uranus: mean longitude plus periodic terms in the mean anomalies of Jupiter,
// Saturn, Uranus and Neptune (used unreduced), logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;
}

SeriesResult UranusSeries(double T) {
    using std::cos;
    using std::sin;
    const double N = 0.7215 + 3.813 * T;
    const double U = 1.297 + 7.4788 * T;
    const double S = 3.0675 + 21.3299 * T;
    const double J = 3.9343 + 52.9691 * T;
    const double T2 = T * T;
    const double T1 = T + 1;

    double P = 19402 * sin(U) + 570 * sin(2 * U) + 23 * sin(3 * U) + 7 * T * sin(2 * U) - 4 * T * cos(2 * U);
    P += sin(U) * (112 * T - 2 * T2 - 8 + 4 * cos(J - U) - 2 * sin(J - U) - 16 * cos(3 * (U - N)) +
                   8 * sin(3 * (U - N)));
    P += cos(U) * (4 * T1 - 68 * T - 10 * T2 - 5 * cos(U - N) + 4 * sin(U - N) + 9 * cos(3 * (U - N)) +
                   18 * sin(3 * (U - N)));
    P += sin(3 * U) * (3 * sin(S - U) - 5 * cos(S - U)) + cos(3 * U) * (3 * cos(S - U) + 5 * sin(S - U));
    P += 17 * T1 / 2 + 7 * T1 * T1 / 4 - 22 + 76 * cos(3 * U - S) - 102 * sin(3 * U - S) +
         20 * cos(S - 2 * U) + 143 * sin(S - 2 * U) - 21 * cos(J - U) - 49 * sin(J - U) - 29 * cos(U - N) +
         20 * sin(U - N) + 29 * cos(2 * (U - N)) + 10 * sin(2 * (U - N)) + 4 * cos(3 * (U - N)) +
         14 * sin(3 * (U - N)) - 19 * cos(S - U) + 13 * sin(S - U);
    const double lambda = 4.247475 + 7.503143 * T + 0.00017 * T2 + P / kArcSec;

    const double logR = 1.283294 + (-20414 * cos(U) - 720 * cos(2 * U) - 71 * T * sin(U) - 130 * T * cos(U) -
                                    76 * sin(U - S) - 133 * cos(2 * U - S) - 103 * cos(U - J) -
                                    45 * sin(U - J)) /
                                       1000000.0;
    const double r = std::pow(10.0, logR);
    const double beta = std::asin(0.013485 * sin(lambda - 1.2826 - 0.0089 * T));
    return FinishSeries(lambda, beta, r, T);
}

void ComputeUranus(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, UranusSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
