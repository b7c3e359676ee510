// Writes the tabulated-body file "Fond.in" from the Swiss Ephemeris files:
// heliocentric rectangular equatorial J2000.0 coordinates in astronomical units,
// fitted per sub-interval by Chebyshev polynomials (interpolation at the
// Chebyshev nodes), sub-intervals counted back from the end of each span, the
// coefficients scaled by 10^Exponent into 32-bit integers.
//
// usage: pelorin-make-fond-in OUTPUT [EPHEMERIS_DIR]
//
// The file is read back through the program's own loader and every body is
// checked against the ephemeris at points between the nodes; the fit errors are
// printed. Running it again gives the same bytes.
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "astro/tabulated.h"

namespace {

struct BodySpec {
    const char* name;
    int ipl;
    int startYear, endYear;  // 1 January 0h of each
    int stepDays;
    int nCoef;
};

// Body 6 must be Pluto. The asteroids come from the seas_*.se1 files.
const BodySpec kBodies[] = {
    {"Ceres", SE_CERES, 1800, 2200, 160, 12},
    {"Pallas", SE_PALLAS, 1800, 2200, 160, 12},
    {"Juno", SE_JUNO, 1800, 2200, 160, 12},
    {"Vesta", SE_VESTA, 1800, 2200, 160, 12},
    {"Chiron", SE_CHIRON, 1800, 2200, 640, 12},
    {"Pholus", SE_PHOLUS, 1800, 2200, 640, 12},
    {"Pluto", SE_PLUTO, 1600, 2400, 2500, 12},
};

constexpr int kFlags = SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_J2000 | SEFLG_EQUATORIAL | SEFLG_XYZ |
                       SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_NONUT;

void Fail(const std::string& what) {
    std::fprintf(stderr, "pelorin-make-fond-in: %s\n", what.c_str());
    std::exit(1);
}

void Position(int ipl, double jd, double out[3]) {
    double xx[6];
    char serr[AS_MAXCH] = "";
    const int ret = swe_calc(jd, ipl, kFlags, xx, serr);
    if (ret < 0 || !(ret & SEFLG_SWIEPH))
        Fail("ephemeris of body " + std::to_string(ipl) + " at JD " + std::to_string(jd) + ": " + serr);
    out[0] = xx[0];
    out[1] = xx[1];
    out[2] = xx[2];
}

double JulianDayOf(int year) { return swe_julday(year, 1, 1, 0.0, SE_GREG_CAL); }

void PutInt32(std::string& out, std::int32_t v) {
    const std::uint32_t u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

struct Fitted {
    std::int32_t end10, start10;
    int exponent;
    std::vector<std::int32_t> coef;
};

Fitted Fit(const BodySpec& b) {
    const double start = JulianDayOf(b.startYear);
    const double end = JulianDayOf(b.endYear);
    const int n = b.nCoef;
    const long subs = static_cast<long>(std::ceil((end - start) / b.stepDays));
    std::vector<double> real;
    real.reserve(static_cast<std::size_t>(subs * 3 * n));
    std::vector<double> fx(static_cast<std::size_t>(n) * 3);
    for (long k = 0; k < subs; ++k) {
        const double t0 = end - static_cast<double>(k) * b.stepDays;
        for (int i = 0; i < n; ++i) {
            const double x = std::cos(M_PI * (i + 0.5) / n);
            double p[3];
            Position(b.ipl, t0 - (x + 1) * b.stepDays / 2.0, p);
            for (int c = 0; c < 3; ++c) fx[static_cast<std::size_t>(c * n + i)] = p[c];
        }
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < n; ++j) {
                double s = 0;
                for (int i = 0; i < n; ++i)
                    s += fx[static_cast<std::size_t>(c * n + i)] * std::cos(M_PI * j * (i + 0.5) / n);
                s *= 2.0 / n;
                if (j == 0) s /= 2;
                real.push_back(s);
            }
        }
    }
    double largest = 0;
    for (double v : real) largest = std::max(largest, std::fabs(v));
    int e = 9;
    while (e > 0 && largest * std::pow(10.0, e) > 2147483000.0) --e;
    Fitted f;
    f.end10 = static_cast<std::int32_t>(std::llround(end * 10));
    f.start10 = static_cast<std::int32_t>(std::llround(start * 10));
    f.exponent = e;
    const double scale = std::pow(10.0, e);
    for (double v : real) f.coef.push_back(static_cast<std::int32_t>(std::llround(v * scale)));
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: pelorin-make-fond-in OUTPUT [EPHEMERIS_DIR]\n");
        return 2;
    }
    std::string ephe = argc == 3 ? argv[2] : "/usr/share/libswe/ephe";
    swe_set_ephe_path(ephe.data());

    std::string bytes;
    std::vector<std::int32_t> offsets;
    std::vector<Fitted> fits;
    for (const BodySpec& b : kBodies) {
        Fitted f = Fit(b);
        offsets.push_back(static_cast<std::int32_t>(bytes.size()));
        PutInt32(bytes, f.end10);
        PutInt32(bytes, f.start10);
        bytes += static_cast<char>(b.stepDays & 0xFF);
        bytes += static_cast<char>((b.stepDays >> 8) & 0xFF);
        bytes += static_cast<char>(b.nCoef);
        bytes += static_cast<char>(f.exponent);
        for (std::int32_t v : f.coef) PutInt32(bytes, v);
        fits.push_back(std::move(f));
    }
    for (std::int32_t o : offsets) PutInt32(bytes, o);
    bytes += static_cast<char>(offsets.size());

    std::string message;
    if (pelorin::LoadTabulatedBytes(bytes, argv[1], &message) != 0) Fail("own file refused: " + message);

    // Fit errors at points between the nodes (and next to both ends of every
    // sub-interval), through the program's own reader. The angle is the
    // position error seen from the Earth, an upper bound of the error in any
    // geocentric coordinate.
    std::printf("%-3s %-7s %-11s %6s %5s %3s %7s %12s %14s %s\n", "k", "body", "span", "step", "NCoef", "exp",
                "NC", "max AU", "max geo deg", "   at");
    for (std::size_t k = 0; k < std::size(kBodies); ++k) {
        const BodySpec& b = kBodies[k];
        const Fitted& f = fits[k];
        const double start = f.start10 / 10.0, end = f.end10 / 10.0;
        const int n = b.nCoef;
        std::vector<double> xs;
        for (int i = 0; i + 1 < n; ++i)
            xs.push_back((std::cos(M_PI * (i + 0.5) / n) + std::cos(M_PI * (i + 1.5) / n)) / 2);
        xs.push_back(-1 + 1e-9);
        xs.push_back(1 - 1e-9);
        double maxAu = 0, maxDeg = 0, maxJd = 0;
        const long subs = static_cast<long>(f.coef.size() / (3 * static_cast<std::size_t>(n)));
        for (long s = 0; s < subs; ++s) {
            const double t0 = end - static_cast<double>(s) * b.stepDays;
            for (double x : xs) {
                const double jd = t0 - (x + 1) * b.stepDays / 2.0;
                if (!(start < jd && jd < end)) continue;
                pelorin::ChebyshevSums sums;
                if (!pelorin::FindTabulatedInterval(static_cast<int>(k), jd, sums)) Fail("point outside");
                double p[3], earth[3];
                Position(b.ipl, jd, p);
                Position(SE_EARTH, jd, earth);
                const double d[3] = {sums.x - p[0], sums.y - p[1], sums.z - p[2]};
                const double err = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
                const double g[3] = {p[0] - earth[0], p[1] - earth[1], p[2] - earth[2]};
                const double geo = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
                maxAu = std::max(maxAu, err);
                if (err / geo * 180 / M_PI > maxDeg) maxJd = jd;
                maxDeg = std::max(maxDeg, err / geo * 180 / M_PI);
            }
        }
        int year, month, day;
        double hour;
        swe_revjul(maxJd, SE_GREG_CAL, &year, &month, &day, &hour);
        std::printf("%-3zu %-7s %d-%d %6d %5d %3d %7zu %12.3e %14.3e   %04d-%02d-%02d\n", k, b.name, b.startYear,
                    b.endYear, b.stepDays, n, f.exponent, f.coef.size(), maxAu, maxDeg, year, month, day);
        if (maxDeg >= 1e-4) Fail(std::string(b.name) + ": fit error not below 0.0001 degree");
    }
    if (fits[pelorin::kPlutoBodyIndex].coef.size() > 8191) Fail("Pluto has more than 8191 coefficients");

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail(std::string("cannot write ") + argv[1]);
    std::printf("%s: %zu bytes, %zu bodies\n", argv[1], bytes.size(), offsets.size());
    return 0;
}
