#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "astro/base_routines.h"
#include "astro/chart.h"
#include "astro/tabulated.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

// Builds a tabulated file in memory.
struct FileBody {
    std::int32_t end10, start10;
    std::int16_t step;
    std::uint8_t ncoef, exponent;
    std::vector<std::int32_t> coef;
};

void Put32(std::string& s, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) s += static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::string MakeFile(const std::vector<FileBody>& bodies) {
    std::string s;
    std::vector<std::int32_t> offsets;
    for (const FileBody& b : bodies) {
        offsets.push_back(static_cast<std::int32_t>(s.size()));
        Put32(s, b.end10);
        Put32(s, b.start10);
        s += static_cast<char>(b.step & 0xFF);
        s += static_cast<char>((b.step >> 8) & 0xFF);
        s += static_cast<char>(b.ncoef);
        s += static_cast<char>(b.exponent);
        for (std::int32_t c : b.coef) Put32(s, c);
    }
    for (std::int32_t o : offsets) Put32(s, o);
    s += static_cast<char>(bodies.size());
    return s;
}

// A body over JD 2450000.5 .. 2450100.5 in sub-intervals of 30 days (four of
// them, the last reaching before the start) with two coefficients: in
// sub-interval k, x = k + T1, y = 10 + 0.5 T1, z = -1 (exponent 3).
FileBody LinearBody() {
    FileBody b{24501005, 24500005, 30, 2, 3, {}};
    for (int k = 0; k < 4; ++k) {
        for (std::int32_t v : {1000 * k, 1000, 10000, 500, -1000, 0}) b.coef.push_back(v);
    }
    return b;
}

// Seven bodies of which body 6 is the linear one.
std::string SevenBodies() {
    std::vector<FileBody> bodies(7, LinearBody());
    return MakeFile(bodies);
}

class Tabulated : public ::testing::Test {
protected:
    void SetUp() override {
        UnloadTabulatedFile();
        ResetBaseCaches();
    }
    void TearDown() override { UnloadTabulatedFile(); }
};

TEST_F(Tabulated, ChebyshevSumRecurrence) {
    const double one[] = {4.5, -2, 7};
    ChebyshevSums s = ChebyshevSum(1, 0.3, one);
    EXPECT_EQ(s.x, 4.5);
    EXPECT_EQ(s.y, -2);
    EXPECT_EQ(s.z, 7);
    // T0..T3 at x: 1, x, 2x^2 - 1, 4x^3 - 3x.
    const double x = -0.4;
    const double block[] = {1, 2, 3, 4, 0, 0, 0, 1, 0, 1, 0, 0};
    s = ChebyshevSum(4, x, block);
    EXPECT_NEAR(s.x, 1 + 2 * x + 3 * (2 * x * x - 1) + 4 * (4 * x * x * x - 3 * x), 1e-15);
    EXPECT_NEAR(s.y, 4 * x * x * x - 3 * x, 1e-15);
    EXPECT_NEAR(s.z, x, 1e-15);
}

TEST_F(Tabulated, LoadsScaledCoefficients) {
    ASSERT_EQ(LoadTabulatedBytes(MakeFile({LinearBody()}), "t"), 0);
    ASSERT_EQ(TabulatedBodies().size(), 1u);
    const TabulatedBody& b = TabulatedBodies()[0];
    EXPECT_EQ(b.header.EndJD10, 24501005);
    EXPECT_EQ(b.header.StepDays, 30);
    ASSERT_EQ(b.coef.size(), 24u);
    EXPECT_DOUBLE_EQ(b.coef[2], 10.0);
    EXPECT_DOUBLE_EQ(b.coef[3], 0.5);
    EXPECT_DOUBLE_EQ(b.coef[6], 1.0);
}

TEST_F(Tabulated, SubIntervalsCountBackFromTheEnd) {
    ASSERT_EQ(LoadTabulatedBytes(MakeFile({LinearBody()}), "t"), 0);
    ChebyshevSums s;
    // One day inside the end: sub-interval 0, x close to -1.
    ASSERT_TRUE(FindTabulatedInterval(0, 2450100.5 - 1, s));
    EXPECT_NEAR(s.x, -1 + 2.0 / 30, 1e-12);
    EXPECT_NEAR(s.y, 10 + 0.5 * (-1 + 2.0 / 30), 1e-12);
    EXPECT_NEAR(s.z, -1, 1e-15);
    // One step earlier than the end (and a little more): sub-interval 1.
    ASSERT_TRUE(FindTabulatedInterval(0, 2450100.5 - 30 - 0.25, s));
    EXPECT_NEAR(s.x, 1 + (-1 + 0.5 / 30), 1e-12);
    // Half a day after the start: the last sub-interval, which reaches back
    // before the start, 9.5 days from its later end.
    ASSERT_TRUE(FindTabulatedInterval(0, 2450000.5 + 0.5, s));
    EXPECT_NEAR(s.x, 3 + (2 * 9.5 / 30 - 1), 1e-9);
}

TEST_F(Tabulated, SpanEndsAreOutside) {
    ASSERT_EQ(LoadTabulatedBytes(SevenBodies(), "t"), 0);
    ChebyshevSums s{7, 8, 9};
    EXPECT_FALSE(FindTabulatedInterval(6, 2450100.5, s));
    EXPECT_FALSE(FindTabulatedInterval(6, 2450000.5, s));
    EXPECT_FALSE(FindTabulatedInterval(6, 2449000, s));
    EXPECT_FALSE(FindTabulatedInterval(6, std::nan(""), s));
    EXPECT_FALSE(FindTabulatedInterval(7, 2450050, s));   // no such body
    EXPECT_FALSE(FindTabulatedInterval(-1, 2450050, s));
    EXPECT_EQ(s.x, 7);  // untouched
    EXPECT_EQ(s.z, 9);

    for (double jd : {2450100.5, 2450000.5, 2460000.0}) {
        const TabulatedPlace p = TabulatedPosition(6, jd - kJulianDayOfDayZero);
        EXPECT_EQ(p.lon, 0);
        EXPECT_EQ(p.lat, 0);
        EXPECT_EQ(p.dist, 0);
        TChartBody body;
        body.Lon = 123;
        body.Sign = 5;
        double sx = 1, sy = 2, sz = 3;
        ComputePluto(jd - kJulianDayOfDayZero, body, sx, sy, sz);
        EXPECT_EQ(body.Lon, 0);
        EXPECT_EQ(body.Lat, 0);
        EXPECT_EQ(body.Decl, 0);
        EXPECT_EQ(body.RA, 0);
        EXPECT_EQ(body.Sign, 1);
        EXPECT_EQ(sx, 1);  // Pluto leaves the Sun-vector scratch alone
        EXPECT_EQ(sz, 3);
    }
}

TEST_F(Tabulated, FewerThanSevenBodiesGiveTheZeroPosition) {
    ASSERT_EQ(LoadTabulatedBytes(MakeFile({LinearBody(), LinearBody()}), "t"), 0);
    TChartBody body;
    double s = 0;
    ComputePluto(2450050 - kJulianDayOfDayZero, body, s, s, s);
    EXPECT_EQ(body.Lon, 0);
    EXPECT_EQ(body.Sign, 1);
}

// Repeats TabulatedPosition step by step with the moment used for the
// Chebyshev sums of the light-time step given explicitly.
TabulatedPlace ByHand(double d, double sumsJd) {
    ChebyshevSums s;
    EXPECT_TRUE(FindTabulatedInterval(6, sumsJd, s));
    const double jd = d + kJulianDayOfDayZero;
    const auto h = PrecessJ2000ToDate({s.x, s.y, s.z}, jd);
    const SunPlace sun = SunPosition(d);
    const auto sv = PolarToRect(0, sun.longitude, sun.radius);
    Polar p = RectToPolar({h[0] + sv[0], h[1] + sv[1], h[2] + sv[2]});
    ApplyAberration(p.lon, p.lat, sun.longitude);
    p.lon += NutationOf(d).longitude;
    return {p.lon * 180 / kPi, p.lat * 180 / kPi, p.dist};
}

TEST_F(Tabulated, LightTimeIsSkippedWhenTheRetardedMomentIsBeforeTheSpan) {
    ASSERT_EQ(LoadTabulatedBytes(SevenBodies(), "t"), 0);
    // Distance about 10 AU: the light left the body some 0.058 day earlier.
    const double nearStart = 2450000.5 + 0.02 - kJulianDayOfDayZero;
    const TabulatedPlace a = TabulatedPosition(6, nearStart);
    const TabulatedPlace a0 = ByHand(nearStart, nearStart + kJulianDayOfDayZero);
    EXPECT_EQ(a.lon, a0.lon);
    EXPECT_EQ(a.lat, a0.lat);

    const double inside = 2450050.5 - kJulianDayOfDayZero;
    const TabulatedPlace b = TabulatedPosition(6, inside);
    const TabulatedPlace geometric = ByHand(inside, inside + kJulianDayOfDayZero);
    const TabulatedPlace retarded =
        ByHand(inside, inside + kJulianDayOfDayZero - 0.005775518 * geometric.dist);
    EXPECT_NE(b.lon, geometric.lon);
    EXPECT_NEAR(b.lon, retarded.lon, 1e-9);
    EXPECT_NEAR(b.lat, retarded.lat, 1e-9);
    EXPECT_NEAR(b.dist, retarded.dist, 1e-9);
}

TEST_F(Tabulated, PrecessionMatrixIsReusedWithinFiveDays) {
    const std::array<double, 3> v{0.3, -0.8, 0.5};
    const auto first = PrecessJ2000ToDate(v, 2470000.0);
    const auto reused = PrecessJ2000ToDate(v, 2470004.9);
    EXPECT_EQ(first, reused);
    const auto later = PrecessJ2000ToDate(v, 2470005.5);
    EXPECT_NE(first, later);
    ResetPrecessionCache();
    const auto fresh = PrecessJ2000ToDate(v, 2470004.9);
    EXPECT_NE(first, fresh);
}

TEST_F(Tabulated, PrecessionMovesTheJ2000EquinoxBackAlongTheEcliptic) {
    // At J2000 the matrix is the identity and the obliquity 23.4393 degrees.
    auto e = PrecessJ2000ToDate({0, 0, 1}, 2451545.0);
    EXPECT_NEAR(e[0], 0, 1e-15);
    EXPECT_NEAR(std::atan2(e[1], e[2]) * 180 / kPi * 3600, 84381.448, 0.05);
    // A century later the fixed J2000 equinox stands some 5030" (the general
    // precession) ahead of the equinox of the date, and about 4" off the
    // ecliptic of the date, which has tilted meanwhile.
    ResetPrecessionCache();
    e = PrecessJ2000ToDate({1, 0, 0}, 2451545.0 + 36525);
    const Polar p = RectToPolar(e);
    EXPECT_NEAR(p.lon * 180 / kPi * 3600, 5030.2, 1.0);
    EXPECT_NEAR(std::fabs(p.lat) * 180 / kPi * 3600, 4.2, 0.3);
}

TEST_F(Tabulated, PolarRectangularRoundTrip) {
    for (double lon : {0.1, 1.7, 3.3, 4.9, 6.2}) {
        for (double lat : {-1.2, 0.0, 0.4}) {
            const Polar p = RectToPolar(PolarToRect(lat, lon, 7.5));
            EXPECT_NEAR(p.lon, lon, 1e-12);
            EXPECT_NEAR(p.lat, lat, 1e-12);
            EXPECT_NEAR(p.dist, 7.5, 1e-12);
        }
    }
}

// ---------------------------------------------------------------- damaged files

void ExpectRefused(const std::string& bytes, const char* what) {
    ASSERT_EQ(LoadTabulatedBytes(SevenBodies(), "good"), 0);
    std::string message;
    EXPECT_EQ(LoadTabulatedBytes(bytes, "Fond.in", &message), kTabulatedFileDamaged) << what;
    EXPECT_TRUE(TabulatedBodies().empty()) << what;
    EXPECT_NE(message.find("Fond.in"), std::string::npos) << what << ": " << message;
}

TEST_F(Tabulated, RefusesDamagedFiles) {
    const std::string good = MakeFile({LinearBody(), LinearBody()});
    ExpectRefused("", "empty");
    ExpectRefused(std::string(1, '\x05'), "index larger than the file");

    std::string bad = good;
    bad[bad.size() - 1] = 3;  // one body more than the index holds
    ExpectRefused(bad, "count");

    auto withOffset = [&](int body, std::int32_t offset) {
        std::string s = good;
        const std::size_t at = s.size() - 1 - 8 + 4 * static_cast<std::size_t>(body);
        std::string o;
        Put32(o, offset);
        s.replace(at, 4, o);
        return s;
    };
    ExpectRefused(withOffset(0, -4), "negative offset");
    ExpectRefused(withOffset(1, 1 << 30), "offset beyond the file");
    ExpectRefused(withOffset(1, 4), "overlapping records");
    ExpectRefused(withOffset(1, static_cast<std::int32_t>(good.size() - 10)), "record inside the index");

    FileBody b = LinearBody();
    b.step = 0;
    ExpectRefused(MakeFile({b}), "zero step");
    b = LinearBody();
    b.step = -30;
    ExpectRefused(MakeFile({b}), "negative step");
    b = LinearBody();
    b.ncoef = 0;
    ExpectRefused(MakeFile({b}), "no coefficients");
    b = LinearBody();
    b.start10 = b.end10;
    ExpectRefused(MakeFile({b}), "empty span");
    b = LinearBody();
    b.coef.resize(b.coef.size() - 1);  // the last sub-interval incomplete
    ExpectRefused(MakeFile({b}), "short of coefficients");
    b = LinearBody();
    b.ncoef = 200;  // claims far more than the record holds
    ExpectRefused(MakeFile({b}), "NCoef larger than the record");
    b = LinearBody();
    b.start10 = -2147483647;  // a span of millions of sub-intervals
    ExpectRefused(MakeFile({b}), "huge span");
}

// The records must tile the file exactly: stray bytes, a record that does not
// start the file, and a count of 0 (what a cut file often ends on) are damage.
TEST_F(Tabulated, RefusesStrayBytesAndAnEmptyIndex) {
    std::string s = MakeFile({LinearBody()});
    s.insert(s.size() - 5, "\x01\x02", 2);  // two stray bytes before the index
    ExpectRefused(s, "stray bytes");
    s = MakeFile({LinearBody()});
    s.insert(s.size() - 5, std::string(4 * 6, '\x01'));  // a whole block more than the span needs
    ExpectRefused(s, "extra coefficients");
    s = std::string(4, '\0') + MakeFile({LinearBody()});  // the record after four bytes of nothing
    s[s.size() - 5] = 4;
    ExpectRefused(s, "gap before the first record");
    ExpectRefused(std::string(1, '\0'), "no body");
    ExpectRefused(MakeFile({LinearBody()}) + std::string(1, '\0'), "count 0 after a whole file");
}

// A file cut anywhere never loads, whatever byte the cut leaves last; and the
// program's own loader wants body 6, Pluto.
TEST_F(Tabulated, EveryCutOfAFileIsRefusedAndPlutoIsRequired) {
    const std::string good = SevenBodies();
    for (std::size_t size = 1; size < good.size(); ++size) {
        std::string message;
        ASSERT_EQ(LoadTabulatedBytes(good.substr(0, size), "Fond.in", &message), kTabulatedFileDamaged) << size;
        ASSERT_NE(message.find("Fond.in"), std::string::npos);
    }
    const std::string shipped = test::ReadFile(test::SourceDataDir() + "Fond.in");
    std::mt19937 rng(60);
    for (int i = 0; i < 60; ++i) {
        const std::size_t size = 1 + rng() % (shipped.size() - 1);
        ASSERT_EQ(LoadTabulatedBytes(shipped.substr(0, size), "Fond.in"), kTabulatedFileDamaged) << size;
    }
    test::ScratchDir dir;
    test::WriteFile(dir.file("Fond.in"), MakeFile({LinearBody(), LinearBody()}));
    std::string message;
    EXPECT_EQ(LoadPlutoFile(dir.file("Fond.in"), &message), kTabulatedFileDamaged);
    EXPECT_TRUE(TabulatedBodies().empty());
    EXPECT_NE(message.find("Плутон"), std::string::npos) << message;
    test::WriteFile(dir.file("Fond.in"), good);
    EXPECT_EQ(LoadPlutoFile(dir.file("Fond.in")), 0);
}

TEST_F(Tabulated, MissingFileReturnsTheSystemError) {
    ASSERT_EQ(LoadTabulatedBytes(SevenBodies(), "good"), 0);
    test::ScratchDir dir;
    std::string message;
    EXPECT_EQ(LoadTabulatedFile(dir.file("Fond.in"), &message), ENOENT);
    EXPECT_TRUE(TabulatedBodies().empty());
    EXPECT_NE(message.find("Fond.in"), std::string::npos);
    TChart chart;
    ComputeChart(36525.0, chart);
    EXPECT_EQ(chart[kPluto].Lon, 0);
    EXPECT_EQ(chart[kPluto].Sign, 1);
}

// Random mutations of a valid file: whatever is accepted must be internally
// consistent and every date must evaluate without leaving the coefficients.
TEST_F(Tabulated, MutatedFilesNeverBreakTheReader) {
    const std::string good = SevenBodies();
    std::mt19937 rng(20240607);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string s = good;
        const int kind = static_cast<int>(rng() % 4);
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const std::size_t at = rng() % s.size();
            if (kind == 0) s[at] = static_cast<char>(rng());
            else if (kind == 1) s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8)));
            else if (kind == 2) s.resize(at);
            else s.insert(at, std::string(rng() % 9, static_cast<char>(rng())));
        }
        // Mutations near the tail hit the index and the count most often.
        if (rng() % 2 && s.size() > 40) s[s.size() - 1 - rng() % 40] = static_cast<char>(rng());
        std::string message;
        const int rc = LoadTabulatedBytes(s, "m", &message);
        if (rc != 0) {
            ASSERT_EQ(rc, kTabulatedFileDamaged);
            ASSERT_TRUE(TabulatedBodies().empty());
            ASSERT_FALSE(message.empty());
            continue;
        }
        ++accepted;
        const auto& bodies = TabulatedBodies();
        for (std::size_t k = 0; k < bodies.size(); ++k) {
            const TabulatedHeader& h = bodies[k].header;
            ASSERT_GT(h.StepDays, 0);
            ASSERT_GT(h.NCoef, 0);
            ASSERT_LT(h.StartJD10, h.EndJD10);
            ASSERT_LE(bodies[k].coef.size() * 4 + 12, s.size());
            const double start = h.StartJD10 / 10.0, end = h.EndJD10 / 10.0;
            for (double f : {0.0, 1e-12, 0.001, 0.5, 0.999, 1 - 1e-12, 1.0}) {
                ChebyshevSums sums;
                const double jd = start + f * (end - start);
                const bool inside = FindTabulatedInterval(static_cast<int>(k), jd, sums);
                if (f == 0.0 || f == 1.0) {
                    ASSERT_FALSE(inside);
                }
                if (inside) {
                    ASSERT_FALSE(std::isnan(sums.x));
                }
            }
        }
        TChartBody pluto;
        double sx = 0;
        ComputePluto(2450050 - kJulianDayOfDayZero, pluto, sx, sx, sx);
        ASSERT_GE(pluto.Lon, 0);
        ASSERT_LT(pluto.Lon, 360);
    }
    EXPECT_GT(accepted, 0);  // the mutations also exercise the accepting paths
}

// ---------------------------------------------------------------- the shipped file

TEST_F(Tabulated, ShippedFileHoldsPlutoFrom1600To2400) {
    std::string message;
    ASSERT_EQ(LoadTabulatedFile(test::SourceDataDir() + "Fond.in", &message), 0) << message;
    const auto& bodies = TabulatedBodies();
    ASSERT_EQ(bodies.size(), 7u);
    for (const TabulatedBody& b : bodies) {
        EXPECT_LE(b.header.StartJD10, 23784965);  // 1800 January 1
        EXPECT_GE(b.header.EndJD10, 25245935);    // 2200 January 1
    }
    const TabulatedBody& pluto = bodies[kPlutoBodyIndex];
    // Every moment the engine serves has its Pluto.
    EXPECT_LE(pluto.header.StartJD10, (kFirstServedMoment + kJulianDayOfDayZero) * 10);
    EXPECT_GE(pluto.header.EndJD10, (kLastServedMoment + kJulianDayOfDayZero) * 10);
    EXPECT_EQ(kFirstServedMoment, DayNumberOf(1, 1, 1600, 0, 0, 0));
    EXPECT_EQ(kLastServedMoment, DayNumberOf(1, 1, 2400, 0, 0, 0));
    EXPECT_LE(pluto.coef.size(), 8191u);  // readable with 16-bit indexes
    EXPECT_LE((pluto.coef.size() / (3 * pluto.header.NCoef) - 1) * 3 * pluto.header.NCoef, 10000u);

    // Apparent geocentric places of the reference ephemeris.
    struct Case { double jd, lon, lat; };
    for (const Case& c : {Case{2451545.0, 251.454777, 10.855234}, Case{2415020.5, 75.251479, -9.776951},
                          Case{2378497.0, 331.421168, -12.110105}, Case{2524594.0, 144.743029, 9.104448}}) {
        TChartBody body;
        double s = 0;
        ComputePluto(c.jd - kJulianDayOfDayZero, body, s, s, s);
        EXPECT_NEAR(body.Lon, c.lon, 0.005) << c.jd;
        EXPECT_NEAR(body.Lat, c.lat, 0.005) << c.jd;
        EXPECT_EQ(body.Sign, static_cast<int>(c.lon / 30) + 1);
    }
}

}  // namespace
}  // namespace pelorin
