// Venus: elliptic expansion in the mean anomaly with perturbations by the Earth,
// Mars and Jupiter, logarithmic radius. Heliocentric.
#include <cmath>

#include "astro/bodies.h"

namespace pelorin {

namespace {
constexpr double kArcSec = 206264.806247;
}

SeriesResult VenusSeries(double T) {
    using std::cos;
    using std::sin;
    const double T2 = T * T;
    const double M = ReduceTurn(3.71062623 + 1021.32835 * T + 0.0000224 * T2);
    // Logarithm of the radius, millionths.
    double rho = 5.1 - (2962.4 - 20.7 * T) * cos(M) - 15.2 * cos(2 * M);
    double lambda = M + ((2813.72 - 19.69 * T) * sin(M) + (12 - 0.17 * T) * sin(2 * M)) / kArcSec + 2.271787 +
                    (5068.9 * T - 3.5 * T2) / kArcSec;
    // Earth, Mars, Jupiter.
    const double E = 6.2593 + 628.3074 * T;
    const double R = 3 * (5.5805 + 334.061 * T);
    const double G = 3.9345 + 52.9689 * T;
    lambda += (4.9 * cos(E - M - 2.0788) + 11.3 * cos(2 * E - 2 * M - 2.587) + 7.1 * cos(3 * E - 3 * M - 6.2384) +
               3.4 * cos(3 * E - 2 * M - 2.3721) + 1.0 * cos(4 * E - 4 * M - 0.4632) +
               1.6 * cos(5 * E - 4 * M - 3.3847) + 1.4 * cos(5 * E - 3 * M - 2.4099) +
               2.8 * cos(13 * E - 8 * M - 3.9784) + 1.2 * cos(R - M - 4.1464) + 3.0 * cos(G - M - 3.6318) +
               1.6 * cos(G - 4.6829) + 2.8 * sin(4.1406 + 2.6227 * T)) /
              kArcSec;
    rho += 2.2 * cos(E - M - 0.5081) + 9.8 * cos(2 * E - 2 * M - 1.0159) + 8.3 * cos(3 * E - 3 * M - 4.6674) +
           0.7 * cos(3 * E - 2 * M - 0.8268) + 1.4 * cos(4 * E - 4 * M - 5.1747) +
           0.5 * cos(5 * E - 5 * M - 5.7009) + 1.6 * cos(5 * E - 4 * M - 1.8188) +
           0.7 * cos(R - 2 * M - 2.2969) + 3.0 * cos(G - M - 2.0611) + 1.3 * cos(2 * G - 2 * M - 0.9628);
    const double r = std::pow(10.0, rho / 1000000.0 - 0.14066255);
    // Reduction to the ecliptic and latitude.
    const double u = lambda - 1.322604 - 0.015705 * T;
    lambda -= 181 * sin(2 * u) / kArcSec;
    const double beta = std::asin(sin(0.05923 + 0.000018 * T) * sin(u)) + 3.6 * sin(u) / kArcSec;
    return FinishSeries(lambda, beta, r, T);
}

void ComputeVenus(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, VenusSeries, kModeHeliocentric, body, sun);
}

}  // namespace pelorin
