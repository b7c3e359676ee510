// Neptune: osculating elements with periodic perturbations and Kepler's equation,
// in degrees until the end. Heliocentric.
#include <cmath>

#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {

constexpr double kRad = kDriverDegToRad;

double SinD(double x) { return std::sin(x * kRad); }

// The angle of (x, y) in degrees, [0, 360), from arctan |y / x| and the quadrant.
double AngleOf(double x, double y) {
    const double h = std::atan(std::fabs(y / x)) / kRad;
    if (y > 0) return x >= 0 ? h : 180.0 - h;
    return x >= 0 ? 360.0 - h : 180.0 + h;
}

// Mean longitude of Jupiter at the epoch in the argument K, degrees. The value
// long printed with these series is 273.47555, a transposition of 237: the
// residual in longitude follows K with exactly the phase that slip gives, and
// 237.47555 brings the error from 50" down to 29".
constexpr double kJupiterEpochLongitude = 237.47555;

}  // namespace

SeriesResult NeptuneSeries(double T) {
    const double T2 = T * T;
    double L = 84.45799 + 219.8859 * T + 0.0003 * T2;
    const double D = 83.76922 + 218.4901 * T;
    const double P = 243.51721 + 428.4617 * T;
    const double g = 2 * D - P;
    const double H = D - (265.9165 + 1222.114 * T);
    const double K = D - (kJupiterEpochLongitude + 3034.906 * T);
    const double Om = 130.6814 + 1.098935 * T + 0.00025 * T2;
    const double i = 1.779242 - 0.009544 * T;
    double e = 0.00899704 + 0.00000633 * T;
    double M = 37.73063 + 218.4613 * T;
    const double u = T / 5 + 0.1;

    const Phasor g1 = PhasorOf(g * kRad);
    const Phasor g2 = g1 * g1;
    const double A = (0.001089 * u - 0.589833) * g1.s + (0.004658 * u - 0.056094) * g1.c -
                     0.024286 * g2.s;
    const double B = 0.024039 * g1.s - 0.025303 * g1.c + 0.006206 * g2.s - 0.005992 * g2.c;

    L += A;
    M += A - B / e;
    e += (4389 * g1.s + 4262 * g1.c + 1129 * g2.s + 1089 * g2.c) / 10000000.0;
    const double a = 30.10957 + (-817 * g1.s + 8189 * g1.c + 781 * g2.c) / 1000000.0;

    // Kepler's equation: exactly five substitutions.
    const double eDeg = e / kRad;
    double E = M;
    for (int n = 0; n < 5; ++n) E = M + eDeg * SinD(E);

    const Phasor ee = PhasorOf(E * kRad);
    const double x = a * (ee.c - e);
    const double y = a * std::sqrt(1 - e * e) * ee.s;
    const double v = AngleOf(x, y);
    double r = a * (1 - e * ee.c);

    const double w = L + v - M - Om;
    const Phasor ww = PhasorOf(w * kRad);
    const Phasor ii = PhasorOf(i * kRad);
    double lambda = Om + AngleOf(ww.c, ww.s * ii.c);
    double beta = std::asin(ww.s * ii.s) / kRad;

    const Phasor dd = PhasorOf(D * kRad);
    const Phasor dp = PhasorOf((D - P) * kRad);
    const Phasor dp2 = dp * dp;  // 2 (D - P)
    const Phasor kk = PhasorOf(K * kRad);
    const Phasor hh = PhasorOf(H * kRad);
    lambda += -0.009556 * kk.s - 0.005178 * hh.s + 0.002572 * dp2.s - 0.002979 * dp2.c * dd.s -
              0.002833 * dp2.s * dd.c;
    beta += 0.000336 * dp2.c * dd.s + 0.000364 * dp2.s * dd.c;
    r += (-40596 + 4992 * kk.c + 2744 * hh.c + 2044 * dp.c + 1051 * dp2.c) / 1000000.0;

    return FinishSeries(lambda * kRad, beta * kRad, r, T);
}

void ComputeNeptune(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, NeptuneSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
