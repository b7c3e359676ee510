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

double MidheavenOf(double ramc, double eps) {
    double a = std::atan(std::tan(ramc) / std::cos(eps));
    if (a < 0) a += kPi;
    if (ramc > kPi) a += kPi;
    return NormDeg(a * kRadToDeg);
}

double AscendantOf(double phi, double ramc, double eps) {
    const double h = -std::sin(ramc) * std::cos(eps) - std::sin(eps) * std::tan(phi);
    // With the denominator at zero the Ascendant stands square to the
    // equinoxes: the arc tangent's limit is pi/2 from either side.
    double a = std::fabs(h) <= 0.000001 ? kPi / 2 : std::atan(std::cos(ramc) / h);
    if (a < 0) a += kPi;
    if (std::cos(ramc) < 0) a += kPi;
    return NormDeg(a * kRadToDeg);
}

double PlacidusCusp(double phi, double ramc, double start, double divisor, bool below, double eps) {
    const double q = below ? 1.0 : -1.0;
    const double k = std::tan(eps) * std::tan(phi);
    double r = start;
    for (int i = 0; i < 10; ++i) {
        const double s = ArcCosOf(q * std::sin(r) * k);
        r = below ? ramc + kPi - s / divisor : ramc + s / divisor;
    }
    double a = std::atan(std::tan(r) / std::cos(eps));
    if (a < 0) a += kPi;
    if (std::sin(r) < 0) a += kPi;
    return a * kRadToDeg;
}

HouseStatus ComputeHousesAt(double longitudeDeg, double latitudeDeg, double moment, TCusps& cusps) {
    const double eps = MeanObliquity(moment);
    const double ramc = RamcOf(moment, longitudeDeg);
    const double phi = DegToRad(latitudeDeg);
    if (!(std::fabs(phi) <= kPlacidusLatitudeLimit)) {
        ClearCusps(cusps);
        return HouseStatus::BeyondLatitude;
    }
    const double mc = MidheavenOf(ramc, eps);
    const double asc = AscendantOf(phi, ramc, eps);
    cusps[4] = NormDeg(mc + 180.0);
    cusps[1] = NormDeg(asc);
    cusps[5] = NormDeg(PlacidusCusp(phi, ramc, ramc + 0.52359877559829, 3, false, eps) + 180.0);
    cusps[6] = NormDeg(PlacidusCusp(phi, ramc, ramc + 1.04719755119658, 1.5, false, eps) + 180.0);
    cusps[2] = NormDeg(PlacidusCusp(phi, ramc, ramc + 2.09439510239316, 1.5, true, eps));
    cusps[3] = NormDeg(PlacidusCusp(phi, ramc, ramc + 2.61799387799145, 3, true, eps));
    for (int n = 1; n <= 6; ++n) cusps[n + 6] = NormDeg(cusps[n] + 180.0);
    cusps[0] = 0;
    return HouseStatus::Computed;
}

}  // namespace pelorin
