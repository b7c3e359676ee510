// Mercury: elliptic expansion in the mean anomaly with perturbations by Venus and
// Jupiter, logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;
}

SeriesResult MercurySeries(double T) {
    using std::cos;
    using std::sin;
    const double M = ReduceTurn(1.78511195 + 2608.787533 * T);
    // Logarithm of the radius, millionths.
    double rho = -407563.61 + 0.92 * T - (87878.82 + 8.46 * T) * cos(M) - (13416.31 + 2.6 * T) * cos(2 * M) -
                 (2579.08 + 0.75 * T) * cos(3 * M) - 548.05 * cos(4 * M) - 123.22 * cos(5 * M) -
                 28.74 * cos(6 * M) - 6.87 * cos(7 * M) - 1.68 * cos(8 * M);
    // Longitude: equation of the centre in seconds of arc.
    const double S = (84377.7 + 8.3 * T) * sin(M) + (10732.8 + 2.1 * T) * sin(2 * M) +
                     (1892.1 + 0.6 * T) * sin(3 * M) + 381.1 * sin(4 * M) + 82.6 * sin(5 * M) +
                     18.7 * sin(6 * M) + 4.4 * sin(7 * M) + 1.0 * sin(8 * M);
    double lambda = M + S / kArcSec + 1.3247 + 0.027148 * T + 0.000005 * T * T;
    // Venus and Jupiter.
    const double V = 3.7095 + 1021.3258 * T;
    const double G = 3.9333 + 52.9663 * T;
    rho += 0.71 * cos(2 * V - 3 * M - 1.2413) + 2.37 * cos(2 * V - 2 * M - 1.2425) +
           0.9 * cos(2 * V - M - 1.2303) + 0.76 * cos(2 * V - 4.3633) + 1.16 * cos(3 * V - 2 * M - 0.259) +
           0.85 * cos(5 * V - 4 * M - 4.5293) + 2.95 * cos(5 * V - 3 * M - 4.5364) +
           1.55 * cos(5 * V - M - 1.357) + 0.71 * cos(G - M - 1.5949) + 1.18 * cos(2 * G - 2 * M - 5.3576) +
           3.27 * cos(2 * G - M - 5.3579);
    const double r = std::pow(10.0, rho / 1000000.0);
    lambda += (3.7 * cos(2 * V - M - 2.8046) + 2.1 * cos(2 * V - 2 * M - 2.8126) +
               1.3 * cos(3 * V - 2 * M - 1.8288) + 2.8 * cos(5 * V - 3 * M - 6.1063) +
               7.6 * cos(5 * V - 2 * M - 6.0699) + 1.5 * cos(5 * V - M - 6.0685) +
               3.3 * cos(2 * G - M - 0.6458)) /
              kArcSec;
    // Reduction to the ecliptic and latitude.
    const double u = lambda - 0.822852 - 0.020686 * T;
    lambda -= (772.2 * sin(2 * u) + 1.4 * sin(4 * u)) / kArcSec;
    const double beta = std::asin(sin(0.122223 + 0.000032 * T) * sin(u)) - 6.7 * sin(u) / kArcSec;
    return FinishSeries(lambda, beta, r, T);
}

void ComputeMercury(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, MercurySeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
