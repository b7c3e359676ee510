#include "astro/tabulated.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/base_routines.h"
#include "astro/geocentric.h"
#include "base/native_path.h"

namespace pelorin {

namespace {

std::vector<TabulatedBody> gBodies;

struct PrecessionCache {
    bool filled = false;
    double jd = 0;
    double m[3][3] = {};
    double sinEps = 0, cosEps = 0;
};
PrecessionCache gPrecession;

std::int32_t ReadInt32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

std::int16_t ReadInt16(std::string_view b, std::size_t at) {
    const std::uint16_t v = static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                                       (static_cast<unsigned char>(b[at + 1]) << 8));
    return static_cast<std::int16_t>(v);
}

int Refuse(const std::string& name, const std::string& why, std::string* message) {
    if (message) *message = "Файл «" + name + "» повреждён: " + why + ".";
    return kTabulatedFileDamaged;
}

// Frame rotations about axis 2 and axis 3 by angle a, applied on the left.
void RotateAxis3(double m[3][3], double a) {
    const double c = std::cos(a), s = std::sin(a);
    for (int j = 0; j < 3; ++j) {
        const double r0 = m[0][j], r1 = m[1][j];
        m[0][j] = c * r0 + s * r1;
        m[1][j] = -s * r0 + c * r1;
    }
}

void RotateAxis2(double m[3][3], double a) {
    const double c = std::cos(a), s = std::sin(a);
    for (int j = 0; j < 3; ++j) {
        const double r0 = m[0][j], r2 = m[2][j];
        m[0][j] = c * r0 - s * r2;
        m[2][j] = s * r0 + c * r2;
    }
}

std::array<double, 3> SumsVector(const ChebyshevSums& s) { return {s.x, s.y, s.z}; }

}  // namespace

int LoadTabulatedBytes(std::string_view bytes, const std::string& name, std::string* message) {
    UnloadTabulatedFile();
    if (message) message->clear();
    const std::int64_t size = static_cast<std::int64_t>(bytes.size());
    if (size < 1) return Refuse(name, "файл пуст", message);
    const int count = static_cast<unsigned char>(bytes[bytes.size() - 1]);
    // A file cut short ends on an arbitrary byte of its coefficients, which is
    // often 0: a file with no body at all is a damaged one, never an empty table.
    if (count == 0) return Refuse(name, "в последнем байте число тел 0 (файл обрезан?)", message);
    const std::int64_t indexStart = size - 1 - 4 * static_cast<std::int64_t>(count);
    if (indexStart < 0)
        return Refuse(name, "указатель на " + std::to_string(count) + " тел не помещается в файле", message);

    std::vector<std::int64_t> offsets(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        offsets[static_cast<std::size_t>(i)] =
            ReadInt32(bytes, static_cast<std::size_t>(indexStart + 4 * i));

    std::vector<TabulatedBody> bodies(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string which = "тело " + std::to_string(i);
        const std::int64_t begin = offsets[static_cast<std::size_t>(i)];
        const std::int64_t end = i + 1 < count ? offsets[static_cast<std::size_t>(i + 1)] : indexStart;
        if (begin < 0 || begin + 12 > indexStart || end > indexStart || begin + 12 > end)
            return Refuse(name, which + ": неверное смещение записи", message);
        // The records follow one another from the start of the file up to the
        // index, each a header and whole coefficients: nothing before, between
        // or after them.
        if (i == 0 && begin != 0) return Refuse(name, which + ": запись начинается не с начала файла", message);
        if ((end - begin - 12) % 4 != 0)
            return Refuse(name, which + ": длина записи не кратна длине коэффициента", message);
        TabulatedHeader h;
        const std::size_t at = static_cast<std::size_t>(begin);
        h.EndJD10 = ReadInt32(bytes, at);
        h.StartJD10 = ReadInt32(bytes, at + 4);
        h.StepDays = ReadInt16(bytes, at + 8);
        h.NCoef = static_cast<std::uint8_t>(bytes[at + 10]);
        h.Exponent = static_cast<std::uint8_t>(bytes[at + 11]);
        if (h.StepDays <= 0) return Refuse(name, which + ": шаг не положителен", message);
        if (h.NCoef == 0) return Refuse(name, which + ": нет коэффициентов на интервал", message);
        if (h.EndJD10 <= h.StartJD10) return Refuse(name, which + ": конец интервала не позже начала", message);
        const std::int64_t nc = (end - begin - 12) / 4;
        // Every date strictly inside the span must find its whole block.
        const std::int64_t span10 = static_cast<std::int64_t>(h.EndJD10) - h.StartJD10;
        const std::int64_t step10 = 10 * static_cast<std::int64_t>(h.StepDays);
        const std::int64_t blocks = (span10 + step10 - 1) / step10;
        if (blocks * 3 * h.NCoef > nc)
            return Refuse(name, which + ": коэффициентов меньше, чем требует интервал", message);
        if (blocks * 3 * h.NCoef < nc)
            return Refuse(name, which + ": коэффициентов больше, чем требует интервал", message);
        TabulatedBody& body = bodies[static_cast<std::size_t>(i)];
        body.header = h;
        body.coef.resize(static_cast<std::size_t>(nc));
        const double scale = PowerOf(h.Exponent, 10.0);
        for (std::int64_t j = 0; j < nc; ++j)
            body.coef[static_cast<std::size_t>(j)] =
                ReadInt32(bytes, at + 12 + 4 * static_cast<std::size_t>(j)) / scale;
    }
    gBodies = std::move(bodies);
    return 0;
}

int LoadTabulatedFile(const std::string& path, std::string* message) {
    UnloadTabulatedFile();
    if (message) message->clear();
    const std::string& shown = path;
    std::FILE* f = OpenFile(path, "rb");
    if (!f) {
        const int err = errno ? errno : EIO;
        if (message) *message = "Не удаётся открыть файл «" + shown + "»: " + std::strerror(err) + ".";
        return err;
    }
    std::string bytes;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, got);
    const bool failed = std::ferror(f) != 0;
    const int err = errno ? errno : EIO;
    std::fclose(f);
    if (failed) {
        if (message) *message = "Не удаётся прочитать файл «" + shown + "»: " + std::strerror(err) + ".";
        return err;
    }
    return LoadTabulatedBytes(bytes, shown, message);
}

int LoadPlutoFile(const std::string& path, std::string* message) {
    std::string why;
    const int rc = LoadTabulatedFile(path, &why);
    if (rc == 0 && TabulatedBodies().size() <= static_cast<std::size_t>(kPlutoBodyIndex)) {
        UnloadTabulatedFile();
        why = "Файл «" + path + "» повреждён: в нём " + std::to_string(TabulatedBodies().size()) +
              " тел, а Плутон — тело " + std::to_string(kPlutoBodyIndex) + ".";
        if (message) *message = why;
        return kTabulatedFileDamaged;
    }
    if (message) *message = why;
    return rc;
}

void UnloadTabulatedFile() {
    gBodies.clear();
    gBodies.shrink_to_fit();
    ResetPrecessionCache();
}

const std::vector<TabulatedBody>& TabulatedBodies() { return gBodies; }

ChebyshevSums ChebyshevSum(int n, double x, const double* block) {
    ChebyshevSums s;
    double tPrev = 0, t = 1;  // T(j-1), T(j)
    for (int j = 0; j < n; ++j) {
        if (j == 1) {
            tPrev = 1;
            t = x;
        } else if (j >= 2) {
            const double next = 2 * x * t - tPrev;
            tPrev = t;
            t = next;
        }
        s.x += t * block[j];
        s.y += t * block[n + j];
        s.z += t * block[2 * n + j];
    }
    return s;
}

bool FindTabulatedInterval(int k, double jd, ChebyshevSums& sums) {
    if (k < 0 || static_cast<std::size_t>(k) >= gBodies.size()) return false;
    const TabulatedBody& body = gBodies[static_cast<std::size_t>(k)];
    const double end = body.header.EndJD10 / 10.0;
    const double start = body.header.StartJD10 / 10.0;
    if (!(start < jd && jd < end)) return false;
    const double s = -static_cast<double>(body.header.StepDays);
    const double sub = std::trunc((jd - end) / s);
    const std::size_t n = body.header.NCoef;
    const std::size_t blocks = body.coef.size() / (3 * n);
    // The loader guarantees a block for every date inside the span; a date a
    // rounding error away from the start may still land one block further.
    if (!(sub >= 0 && sub < static_cast<double>(blocks))) return false;
    const double t0 = end + sub * s;
    const double x = (jd - t0) * 2 / s - 1;
    sums = ChebyshevSum(static_cast<int>(n), x, body.coef.data() + static_cast<std::size_t>(sub) * 3 * n);
    return true;
}

void ResetPrecessionCache() { gPrecession = {}; }

std::array<double, 3> PrecessJ2000ToDate(const std::array<double, 3>& v, double jd) {
    if (!(gPrecession.filled && std::fabs(jd - gPrecession.jd) < 5.0)) {
        const double t = (jd - 2451545.0) / 36525.0;
        const double t2 = t * t, t3 = t2 * t;
        // IAU 1976 angles, arc seconds held as radians.
        const double zeta = 0.011180860864867003 * t + 0.0000014635555405128644 * t2 +
                            0.00000008725676632486596 * t3;
        const double z = 0.011180860864867003 * t + 0.000005307158404295158 * t2 +
                         0.0000000882506343711265 * t3;
        const double theta = 0.009717173455032879 * t - 0.000002068457570424717 * t2 -
                             0.00000020281210721569715 * t3;
        double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        RotateAxis3(m, -zeta);
        RotateAxis2(m, theta);
        RotateAxis3(m, -z);
        const double eps = 0.40909262919883116 - 0.00022696552480823423 * t -
                           0.0000000028604007185 * t2 + 0.000000008789672038392 * t3;
        gPrecession.filled = true;
        gPrecession.jd = jd;
        std::memcpy(gPrecession.m, m, sizeof m);
        gPrecession.sinEps = std::sin(eps);
        gPrecession.cosEps = std::cos(eps);
    }
    const auto& m = gPrecession.m;
    const double w1 = m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2];
    const double w2 = m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2];
    const double w3 = m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2];
    const double ce = gPrecession.cosEps, se = gPrecession.sinEps;
    return {w1, w2 * ce + w3 * se, w3 * ce - w2 * se};
}

Polar RectToPolar(const std::array<double, 3>& v) {
    Polar p;
    const double rho = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    p.lon = QuadrantAngle(v[0], v[1]);
    p.lat = std::atan(v[2] / rho);
    p.dist = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return p;
}

std::array<double, 3> PolarToRect(double lat, double lon, double dist) {
    return {dist * std::cos(lat) * std::cos(lon), dist * std::cos(lat) * std::sin(lon),
            dist * std::sin(lat)};
}

TabulatedPlace TabulatedPosition(int k, double d) {
    TabulatedPlace out;
    const double jd = d + kJulianDayOfDayZero;
    ChebyshevSums sums;
    if (!FindTabulatedInterval(k, jd, sums)) return out;
    std::array<double, 3> h = PrecessJ2000ToDate(SumsVector(sums), jd);
    const SunPlace sun = SunPosition(d);
    const std::array<double, 3> sv = PolarToRect(0, sun.longitude, sun.radius);
    std::array<double, 3> g = {h[0] + sv[0], h[1] + sv[1], h[2] + sv[2]};
    const double delta = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
    // Light-time: the body where it was when the light left it. Outside the span
    // the sums of the moment itself are kept.
    FindTabulatedInterval(k, jd - 0.005775518 * delta, sums);
    h = PrecessJ2000ToDate(SumsVector(sums), jd);
    g = {h[0] + sv[0], h[1] + sv[1], h[2] + sv[2]};
    Polar p = RectToPolar(g);
    ApplyAberration(p.lon, p.lat, sun.longitude);
    p.lon += NutationOf(d).longitude;
    out.lon = p.lon * 180.0 / kPi;
    out.lat = p.lat * 180.0 / kPi;
    out.dist = p.dist;
    return out;
}

}  // namespace pelorin

namespace pelorin {

void ComputePluto(double d, TChartBody& body, double&, double&, double&) {
    const TabulatedPlace p = TabulatedPosition(kPlutoBodyIndex, d);
    FillBodyFromEcliptic(d, p.lon, p.lat, body);
}

}  // namespace pelorin
