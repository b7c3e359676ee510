// The Moon: lunar series in degrees in the mean arguments L', M, M', D, F and the
// node; 50 terms in longitude, 34 in latitude, 30 in parallax. Geocentric.
#include <cmath>

#include "astro/base_routines.h"
#include "astro/bodies.h"
#include "astro/phasor.h"

namespace pelorin {

namespace {

double Reduce360(double x) { return x - 360.0 * std::trunc(x / 360.0); }

// One periodic term: coefficient (degrees) times sin or cos of
// d D + m M + mp M' + f F; `eccentric` terms are multiplied by E.
struct LunarTerm {
    double coef;
    int d, m, mp, f;
    bool eccentric;
};

// Longitude, in the order of the table of the theory (column by column).
constexpr LunarTerm kLongitude[] = {
    {6.2888, 0, 0, 1, 0, false},    // M'
    {1.274, 2, 0, -1, 0, false},    // 2D - M'
    {0.6583, 2, 0, 0, 0, false},    // 2D
    {0.2136, 0, 0, 2, 0, false},    // 2M'
    {-0.1856, 0, 1, 0, 0, true},    // M
    {-0.1143, 0, 0, 0, 2, false},   // 2F
    {0.0588, 2, 0, -2, 0, false},   // 2D - 2M'
    {0.0572, 2, -1, -1, 0, true},   // 2D - M - M'
    {0.0533, 2, 0, 1, 0, false},    // 2D + M'
    {0.0459, 2, -1, 0, 0, true},    // 2D - M
    {0.041, 0, -1, 1, 0, true},     // M' - M
    {-0.0347, 1, 0, 0, 0, false},   // D
    {-0.0305, 0, 1, 1, 0, true},    // M' + M
    {0.0153, 2, 0, 0, -2, false},   // 2D - 2F
    {-0.0125, 0, 0, 1, 2, false},   // M' + 2F
    {-0.011, 0, 0, -1, 2, false},   // 2F - M'
    {0.0107, 4, 0, -1, 0, false},   // 4D - M'
    {0.01, 0, 0, 3, 0, false},      // 3M'
    {0.0085, 4, 0, -2, 0, false},   // 4D - 2M'
    {-0.0079, 2, 1, -1, 0, false},  // 2D + M - M'
    {-0.0068, 2, 1, 0, 0, false},   // 2D + M
    {0.0052, -1, 0, 1, 0, false},   // M' - D
    {0.005, 1, 1, 0, 0, false},     // D + M
    {0.004, 2, -1, 1, 0, false},    // 2D + M' - M
    {0.004, 2, 0, 2, 0, false},     // 2M' + 2D
    {0.0039, 4, 0, 0, 0, false},    // 4D
    {0.0037, 2, 0, -3, 0, false},   // 2D - 3M'
    {0.0027, 0, -1, 2, 0, false},   // 2M' - M
    {0.0026, -2, 0, 1, -2, false},  // M' - 2F - 2D
    {0.0024, 2, -1, -2, 0, false},  // 2D - M - 2M'
    {-0.0023, 1, 0, 1, 0, false},   // M' + D
    {0.0022, 2, -2, 0, 0, false},   // 2D - 2M
    {-0.0021, 0, 1, 2, 0, false},   // 2M' + M
    {-0.0021, 0, 2, 0, 0, false},   // 2M
    {0.0021, 2, -2, -1, 0, false},  // 2D - M' - 2M
    {-0.0018, 2, 0, 1, -2, false},  // M' + 2D - 2F
    {-0.0016, 2, 0, 0, 2, false},   // 2D + 2F
    {0.0012, 4, -1, -1, 0, false},  // 4D - M - M'
    {-0.0011, 0, 0, 2, 2, false},   // 2M' + 2F
    {0.0009, -3, 0, 1, 0, false},   // M' - 3D
    {-0.0008, 2, 1, 1, 0, false},   // 2D + M' + M
    {0.0008, 4, -1, -2, 0, false},  // 4D - M - 2M'
    {0.0007, 0, -2, 1, 0, false},   // M' - 2M
    {0.0007, -2, -2, 1, 0, false},  // M' - 2M - 2D
    {0.0007, 2, 1, -2, 0, false},   // 2D + M - 2M'
    {0.0006, 2, -1, 0, -2, false},  // 2D - M - 2F
    {0.0006, 4, 0, 1, 0, false},    // M' + 4D
    {0.0005, 0, 0, 4, 0, false},    // 4M'
    {0.0005, 4, -1, 0, 0, false},   // 4D - M
    {0.0005, -1, 0, 2, 0, false},   // 2M' - D
};

constexpr LunarTerm kLatitude[] = {
    {5.128, 0, 0, 0, 1, false},     // F
    {0.281, 0, 0, 1, 1, false},     // M' + F
    {0.278, 0, 0, 1, -1, false},    // M' - F
    {0.173, 2, 0, 0, -1, false},    // 2D - F
    {0.055, 2, 0, -1, 1, false},    // 2D + F - M'
    {0.046, 2, 0, -1, -1, false},   // 2D - F - M'
    {0.033, 2, 0, 0, 1, false},     // 2D + F
    {0.017, 0, 0, 2, 1, false},     // 2M' + F
    {0.009, 2, 0, 1, -1, false},    // M' + 2D - F
    {0.009, 0, 0, 2, -1, false},    // 2M' - F
    {0.008, 2, -1, 0, -1, false},   // 2D - M - F
    {0.004, 2, 0, -2, -1, false},   // 2D - F - 2M'
    {0.004, 2, 0, 1, 1, false},     // M' + 2D + F
    {0.003, -2, -1, 0, 1, false},   // F - M - 2D
    {0.002, 2, -1, -1, 1, false},   // 2D + F - M - M'
    {0.002, 2, -1, 0, 1, false},    // 2D + F - M
    {0.002, 2, -1, -1, -1, false},  // 2D - F - M - M'
    {0.002, 0, -1, 1, 1, false},    // M' + F - M
    {0.002, 4, 0, -1, -1, false},   // 4D - F - M'
    {-0.002, 0, 1, 0, 1, false},    // F + M
    {-0.002, 0, 0, 0, 3, false},    // 3F
    {0.002, 0, -1, 1, -1, false},   // M' - M - F
    {-0.001, 1, 0, 0, 1, false},    // D + F
    {-0.001, 0, 1, 1, 1, false},    // M' + F + M
    {0.001, 0, -1, -1, 1, false},   // F - M - M'
    {0.001, 0, -1, 0, 1, false},    // F - M
    {0.001, -1, 0, 0, 1, false},    // F - D
    {0.001, 0, 0, 3, 1, false},     // F + 3M'
    {0.001, 4, 0, 0, -1, false},    // 4D - F
    {0.001, 4, 0, -1, 1, false},    // F + 4D - M'
    {0.001, 0, 0, 1, -3, false},    // M' - 3F
    {0.001, 4, 0, -2, 1, false},    // F + 4D - 2M'
    {0.001, 2, 0, 0, -3, false},    // 2D - 3F
    {0.001, 2, 0, 2, -1, false},    // 2D + 2M' - F
};

constexpr LunarTerm kParallax[] = {
    {0.051818, 0, 0, 1, 0, false},    // M'
    {0.009531, 2, 0, -1, 0, false},   // 2D - M'
    {0.007843, 2, 0, 0, 0, false},    // 2D
    {0.002824, 0, 0, 2, 0, false},    // 2M'
    {0.000857, 2, 0, 1, 0, false},    // 2D + M'
    {0.000533, 2, -1, 0, 0, false},   // 2D - M
    {0.000401, 2, -1, -1, 0, false},  // 2D - M - M'
    {0.00032, 0, -1, 1, 0, false},    // M' - M
    {-0.000271, 1, 0, 0, 0, false},   // D
    {-0.000264, 0, 1, 1, 0, false},   // M' + M
    {-0.000198, 0, 0, -1, 2, false},  // 2F - M'
    {0.000173, 0, 0, 3, 0, false},    // 3M'
    {0.000167, 4, 0, -1, 0, false},   // 4D - M'
    {-0.000111, 0, 1, 0, 0, false},   // M
    {0.000103, 4, 0, -2, 0, false},   // 4D - 2M'
    {-0.000084, -2, 0, 2, 0, false},  // 2M' - 2D
    {-0.000083, 2, 1, 0, 0, false},   // 2D + M
    {0.000079, 2, 0, 2, 0, false},    // 2D + 2M'
    {0.000072, 4, 0, 0, 0, false},    // 4D
    {0.000064, 2, -1, 1, 0, false},   // M' + 2D - M
    {-0.000063, 2, 1, -1, 0, false},  // 2D + M - M'
    {0.000041, 1, 1, 0, 0, false},    // D + M
    {0.000035, 0, -1, 2, 0, false},   // 2M' - M
    {-0.000033, -2, 0, 3, 0, false},  // 3M' - 2D
    {-0.00003, 1, 0, 1, 0, false},    // D + M'
    {-0.000029, -2, 0, 0, 2, false},  // 2F - 2D
    {-0.000029, 0, 1, 2, 0, false},   // 2M' + M
    {0.000026, 2, -2, 0, 0, false},   // 2D - 2M
    {-0.000023, -2, 0, 1, 2, false},  // M' + 2F - 2D
    {0.000019, 4, -1, -1, 0, false},  // 4D - M - M'
};

static_assert(std::size(kLongitude) == 50);
static_assert(std::size(kLatitude) == 34);
static_assert(std::size(kParallax) == 30);

// The multiples the tables use stay within those the arguments provide.
template <std::size_t N>
constexpr bool WithinMultiples(const LunarTerm (&terms)[N]) {
    for (const LunarTerm& t : terms)
        if (t.d < -4 || t.d > 4 || t.m < -2 || t.m > 2 || t.mp < -4 || t.mp > 4 || t.f < -3 || t.f > 3)
            return false;
    return true;
}
static_assert(WithinMultiples(kLongitude) && WithinMultiples(kLatitude) && WithinMultiples(kParallax));

struct Arguments {
    Multiples<4> D;
    Multiples<2> M;
    Multiples<4> Mp;
    Multiples<3> F;
    double E;  // the eccentricity factor
};

Phasor TermPhasor(const LunarTerm& t, const Arguments& a) {
    return a.D.At(t.d) * a.M.At(t.m) * a.Mp.At(t.mp) * a.F.At(t.f);
}

template <std::size_t N>
double SumSin(const LunarTerm (&terms)[N], const Arguments& a) {
    double sum = 0;
    for (const LunarTerm& t : terms) sum += (t.eccentric ? t.coef * a.E : t.coef) * TermPhasor(t, a).s;
    return sum;
}

template <std::size_t N>
double SumCos(const LunarTerm (&terms)[N], const Arguments& a) {
    double sum = 0;
    for (const LunarTerm& t : terms) sum += t.coef * TermPhasor(t, a).c;
    return sum;
}

}  // namespace

SeriesResult MoonSeries(double T) {
    constexpr double rad = kDriverDegToRad;
    const double T2 = T * T;
    // Mean arguments, degrees.
    double Lp = Reduce360(270.4342 + 481267.8831 * T - 0.0011 * T2);
    double M = Reduce360(358.4758 + 35999.0498 * T - 0.0002 * T2);
    double Mp = Reduce360(296.1046 + 477198.8491 * T + 0.0092 * T2);
    double D = Reduce360(350.7375 + 445267.1142 * T - 0.0014 * T2);
    double F = Reduce360(11.2509 + 483202.0251 * T - 0.0032 * T2);
    double Om = 259.1833 - 1934.142 * T + 0.0021 * T2;
    if (std::fabs(Om) > 360.0) Om = std::copysign(Reduce360(std::fabs(Om)), Om);

    // Additive corrections.
    const double a = std::sin((51.2 + 20.2 * T) * rad);
    const double b = 0.004 * std::sin((346.56 + 132.87 * T) * rad);
    const double c = std::sin(Om * rad);
    const double k = std::sin((Om + 275.05 - 2.3 * T) * rad);
    Lp = Lp + 0.002 * c + b;
    Mp = Mp + 0.0008 * a + b + 0.0025 * c;
    D = D + 0.002 * a + b + 0.002 * c;
    F = F + b - 0.0247 * c - 0.0043 * k;
    M = M - 0.0018 * a;

    const Arguments args{Multiples<4>(D * rad), Multiples<2>(M * rad), Multiples<4>(Mp * rad),
                         Multiples<3>(F * rad), 1 - 0.002495 * T - 0.0000075 * T2};

    const double lambda = Lp + SumSin(kLongitude, args);
    const double beta = SumSin(kLatitude, args) *
                        (1 - 0.0004664 * std::cos(Om * rad) - 0.0000754 * std::cos((Om + 275.05 - 2.3 * T) * rad));
    const double parallax = 0.950724 + SumCos(kParallax, args);

    const double r = 6378.14 / std::sin(parallax * rad) / 149597870.0;
    return FinishSeries(lambda * rad, beta * rad, r, T);
}

void ComputeMoon(double d, TChartBody& body, SunVector& sun) {
    ComputeSeriesBody(d, MoonSeries, kModeGeocentric, body, sun);
}

}  // namespace pelorin
