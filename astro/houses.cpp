#include "astro/houses.h"

#include <cmath>

#include "astro/base_routines.h"

namespace pelorin {

namespace {

constexpr double kRadToDeg = 180.0 / kPi;

void ClearCusps(TCusps& cusps) {
    for (double& c : cusps.cusp) c = 0;
}

}  // namespace


double RamcOf(double moment, double longitudeDeg) {
    const double f = (moment + 0.5) - std::floor(moment + 0.5);  // day fraction since 0h UT
    const double t0 = (moment - f) / 36525.0;
    const double ut = 24.0 * f;
    const double s0 = ModuloOf(24.0, 6.6460656 + 2400.051262 * t0 + 0.00002581 * t0 * t0);
    double lst = ModuloOf(24.0, longitudeDeg / 15.0 + s0 + 1.002737909 * ut);
    if (lst < 0) lst += 24.0;
    return lst * 15.0 * 0.017453292519943;
}

namespace {

// The constructions of the angles from the sines, cosines and tangents they
// share, each taken once per chart.
double MidheavenFrom(double ramc, double tanRamc, double cosEps) {
    double a = std::atan(tanRamc / cosEps);
    if (a < 0) a += kPi;
    if (ramc > kPi) a += kPi;
    return NormDeg(a * kRadToDeg);
}

double AscendantFrom(double sinRamc, double cosRamc, double cosEps, double sinEps, double tanPhi) {
    const double h = -sinRamc * cosEps - sinEps * tanPhi;
    // With the denominator at zero the Ascendant stands square to the
    // equinoxes: the arc tangent's limit is pi/2 from either side.
    double a = std::fabs(h) <= 0.000001 ? kPi / 2 : std::atan(cosRamc / h);
    if (a < 0) a += kPi;
    if (cosRamc < 0) a += kPi;
    return NormDeg(a * kRadToDeg);
}

}  // namespace

double MidheavenOf(double ramc, double eps) { return MidheavenFrom(ramc, std::tan(ramc), std::cos(eps)); }

double AscendantOf(double phi, double ramc, double eps) {
    return AscendantFrom(std::sin(ramc), std::cos(ramc), std::cos(eps), std::sin(eps), std::tan(phi));
}

namespace {

// One intermediate cusp of the semi-arc iteration: cusps 11 and 12 above the
// horizon, 2 and 3 below it.
struct SemiArc {
    double r;        // right ascension of the cusp at the current step, radians
    double divisor;  // 3 for cusps 11 and 3, 1.5 for cusps 12 and 2
    bool below;
};

// ArcCosOf, here where the compiler sees it.
inline double ArcCos(double x) {
    const double arcSin = x >= 1.0 ? kPi / 2 : x <= -1.0 ? -kPi / 2 : std::atan(x / std::sqrt(1.0 - x * x));
    return 1.5707963267948966 - arcSin;
}

// The ecliptic longitude (degrees, not reduced) of the point of the ecliptic at
// right ascension r.
double LongitudeOfRightAscension(double r, double cosEps) {
    double a = std::atan(std::tan(r) / cosEps);
    if (a < 0) a += kPi;
    if (std::sin(r) < 0) a += kPi;
    return a * kRadToDeg;
}

// The four intermediate cusps by the semi-arc iteration, ten steps each (the
// tenth step is the cusp, converged or not); k is tan(eps) tan(phi). Degrees,
// not reduced: cusps 11 and 12 still want 180 degrees added.
void PlacidusCusps(double ramc, double k, double cosEps, double& cusp11, double& cusp12, double& cusp2,
                   double& cusp3) {
    SemiArc arcs[4] = {{ramc + 0.52359877559829, 3, false},
                       {ramc + 1.04719755119658, 1.5, false},
                       {ramc + 2.09439510239316, 1.5, true},
                       {ramc + 2.61799387799145, 3, true}};
    // Each cusp is a chain of ten dependent steps; the four chains are
    // independent, and stepping them side by side lets the processor work on
    // one while another waits for its sine or arc tangent.
    for (int i = 0; i < 10; ++i) {
        for (SemiArc& a : arcs) {
            const double s = ArcCos((a.below ? 1.0 : -1.0) * std::sin(a.r) * k);
            a.r = a.below ? ramc + kPi - s / a.divisor : ramc + s / a.divisor;
        }
    }
    cusp11 = LongitudeOfRightAscension(arcs[0].r, cosEps);
    cusp12 = LongitudeOfRightAscension(arcs[1].r, cosEps);
    cusp2 = LongitudeOfRightAscension(arcs[2].r, cosEps);
    cusp3 = LongitudeOfRightAscension(arcs[3].r, cosEps);
}

}  // namespace

HouseStatus ComputeHousesAt(double longitudeDeg, double latitudeDeg, double moment, TCusps& cusps) {
    const double eps = MeanObliquity(moment);
    const double ramc = RamcOf(moment, longitudeDeg);
    const double phi = DegToRad(latitudeDeg);
    if (!(std::fabs(phi) <= kPlacidusLatitudeLimit)) {
        ClearCusps(cusps);
        return HouseStatus::BeyondLatitude;
    }
    const double cosEps = std::cos(eps), sinEps = std::sin(eps), tanEps = std::tan(eps);
    const double tanPhi = std::tan(phi);
    const double mc = MidheavenFrom(ramc, std::tan(ramc), cosEps);
    const double asc = AscendantFrom(std::sin(ramc), std::cos(ramc), cosEps, sinEps, tanPhi);
    double c11, c12, c2, c3;
    PlacidusCusps(ramc, tanEps * tanPhi, cosEps, c11, c12, c2, c3);
    cusps[4] = NormDeg(mc + 180.0);
    cusps[1] = NormDeg(asc);
    cusps[5] = NormDeg(c11 + 180.0);
    cusps[6] = NormDeg(c12 + 180.0);
    cusps[2] = NormDeg(c2);
    cusps[3] = NormDeg(c3);
    for (int n = 1; n <= 6; ++n) cusps[n + 6] = NormDeg(cusps[n] + 180.0);
    cusps[0] = 0;
    return HouseStatus::Computed;
}

}  // namespace pelorin
