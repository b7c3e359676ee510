// Uranus: mean longitude plus periodic terms in the mean anomalies of Jupiter,
// Saturn, Uranus and Neptune (used unreduced), logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

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

    const Multiples<3> u(U);
    const Phasor sp = PhasorOf(S);
    const Phasor su = sp * Conj(u.pos[1]);               // S - U
    const Phasor s2u = sp * Conj(u.pos[2]);              // S - 2U
    const Phasor u3s = u.pos[3] * Conj(sp);              // 3U - S
    const Phasor ju = PhasorOf(J) * Conj(u.pos[1]);      // J - U
    const Phasor un = u.pos[1] * Conj(PhasorOf(N));      // U - N
    const Phasor un2 = un * un;
    const Phasor un3 = un2 * un;

    double P = 19402 * u.pos[1].s + 570 * u.pos[2].s + 23 * u.pos[3].s + 7 * T * u.pos[2].s - 4 * T * u.pos[2].c;
    P += u.pos[1].s * (112 * T - 2 * T2 - 8 + 4 * ju.c - 2 * ju.s - 16 * un3.c +
                   8 * un3.s);
    P += u.pos[1].c * (4 * T1 - 68 * T - 10 * T2 - 5 * un.c + 4 * un.s + 9 * un3.c +
                   18 * un3.s);
    P += u.pos[3].s * (3 * su.s - 5 * su.c) + u.pos[3].c * (3 * su.c + 5 * su.s);
    P += 17 * T1 / 2 + 7 * T1 * T1 / 4 - 22 + 76 * u3s.c - 102 * u3s.s +
         20 * s2u.c + 143 * s2u.s - 21 * ju.c - 49 * ju.s - 29 * un.c +
         20 * un.s + 29 * un2.c + 10 * un2.s + 4 * un3.c +
         14 * un3.s - 19 * su.c + 13 * su.s;
    const double lambda = 4.247475 + 7.503143 * T + 0.00017 * T2 + P / kArcSec;

    const double logR = 1.283294 + (-20414 * u.pos[1].c - 720 * u.pos[2].c - 71 * T * u.pos[1].s - 130 * T * u.pos[1].c -
                                    76 * (-su.s) - 133 * s2u.c - 103 * ju.c -
                                    45 * (-ju.s)) /
                                       1000000.0;
    const double r = std::pow(10.0, logR);
    const double beta = std::asin(0.013485 * sin(lambda - 1.2826 - 0.0089 * T));
    return FinishSeries(lambda, beta, r, T);
}

void ComputeUranus(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, UranusSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
