// Mars: elliptic expansion in the mean anomaly with perturbations by Venus, the
// Earth and Jupiter, logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;
}

SeriesResult MarsSeries(double T) {
    using std::cos;
    using std::sin;
    double M = ReduceTurn(5.576661 + 334.053549 * T + 0.00000316 * T * T);
    M += 52.5 * sin(0.8287 + 0.3451 * T) / kArcSec;
    // Logarithm of the radius: 0.182897 + rho / 1 000 000, rho in millionths.
    const double rho = 946.3 + 1.8 * T - (40391.7 + 39 * T) * cos(M) - (2820.9 + 5.4 * T) * cos(2 * M) -
                       (248.1 + 0.7 * T) * cos(3 * M) - 24.1 * cos(4 * M) - 2.5 * cos(5 * M);
    double logR = 0.182897 + rho / 1000000.0;
    double lambda = M +
                    ((38450.9 + 37.3 * T) * sin(M) + (2237.7 + 4.3 * T) * sin(2 * M) +
                     (180.6 + 0.5 * T) * sin(3 * M) + 16.6 * sin(4 * M) + 1.7 * sin(5 * M)) /
                        kArcSec +
                    5.833208 + 0.03212714820610063 * T;
    // Mars, Venus, Earth, Jupiter.
    const double A = ReduceTurn(5.576851 + 334.05356 * T);
    const double V = ReduceTurn(3.7069 + 1021.3208 * T);
    const double E = ReduceTurn(6.2555 + 628.2998 * T);
    const double G = ReduceTurn(3.9306 + 52.9614 * T + 0.0058 * sin(2.3457 + 0.672 * T));
    lambda += (6.4 * cos(3 * A - V - 1.0053) + 8.6 * cos(A - E - 0.6126) + 14 * cos(2 * A - E - 0.3577) +
               7.4 * cos(3 * A - 2 * E - 2.7688) + 4.9 * cos(4 * A - 2 * E - 2.6894) +
               2.6 * cos(5 * A - 3 * E - 4.897) + 3.1 * cos(G - 2 * A - 0.8165) + 25.4 * cos(G - A - 0.8545) +
               3.7 * cos(G - 5.9757) + 2.1 * cos(2 * G - 3 * A - 3.3637) + 16 * cos(2 * G - 2 * A - 3.3492) +
               21.9 * cos(2 * G - A - 3.2873) + 2.6 * cos(3 * G - 2 * A - 3.9864) +
               3.2 * cos(3 * G - A - 3.6164) + 1.6 * cos(15 * A - 8 * E - 2.9694) +
               1.5 * cos(3 * A - E - 0.3871) + 1.5 * cos(2 * G - 3.3103) + 1.3 * cos(3 * G - 3 * A - 2.9369) +
               1.2 * cos(7 * A - 4 * E - 0.7268)) /
              kArcSec;
    logR += (7 * cos(A - E - 0.6126) + 2.9 * cos(2 * A - E - 1.9757) + 6.4 * cos(3 * A - 2 * E - 1.1977) +
             3.9 * cos(G - 2 * A - 5.522) + 23.1 * cos(G - A - 5.5653) + 3 * cos(2 * G - 3 * A - 1.7957) +
             22.1 * cos(2 * G - 2 * A - 1.7801) + 16.6 * cos(2 * G - A - 1.7162) +
             3.4 * cos(3 * G - 2 * A - 2.4389)) /
            1000000.0;
    const double r = std::pow(10.0, logR);
    // Reduction to the ecliptic and latitude.
    const double u = lambda - 0.851483 - 0.0134565 * T;
    lambda -= 53.8 * sin(2 * u) / kArcSec;
    const double beta = std::asin(sin(0.032293 - 0.000012 * T) * sin(u)) - 2.25 * sin(u) / kArcSec;
    return FinishSeries(lambda, beta, r, T);
}

void ComputeMars(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, MarsSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
