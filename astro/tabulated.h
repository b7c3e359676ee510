#pragma once
// Bodies tabulated as Chebyshev coefficients in "Fond.in"; body 6 is Pluto.
//
// File layout (little-endian): the body records, then `count` 32-bit offsets of
// the records (the index), then one byte `count`. A record is EndJD10 (int32,
// Julian Day x 10), StartJD10 (int32), StepDays (int16), NCoef (uint8), Exponent
// (uint8), then int32 coefficients, each the real value x 10^Exponent. Blocks of
// 3 x NCoef values (x, y, z) follow one another, one per sub-interval, counted
// backwards from the end of the span. The coordinates are heliocentric
// rectangular equatorial J2000.0, in astronomical units.
//
// The file is loaded once and kept for the whole run. It comes from outside the
// program, so the loader checks every count, offset and length against the file
// size: the records must tile the file from its first byte up to the index, each
// holding exactly the coefficients its span and step call for. A damaged file is
// refused and leaves nothing loaded (Pluto would then stand at 0 degrees Aries,
// as for a day outside the span; the program refuses to run on it).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "astro/chart_types.h"

namespace pelorin {

inline constexpr int kPlutoBodyIndex = 6;

// Result code of a load refused because the file is damaged (the other non-zero
// codes are the system's errno values).
inline constexpr int kTabulatedFileDamaged = -1;

struct TabulatedHeader {
    std::int32_t EndJD10 = 0;
    std::int32_t StartJD10 = 0;
    std::int16_t StepDays = 0;
    std::uint8_t NCoef = 0;
    std::uint8_t Exponent = 0;
};

struct TabulatedBody {
    TabulatedHeader header;
    std::vector<double> coef;  // NC values, stored value / 10^Exponent
};

// Reads the file whole and replaces what was loaded. Returns 0 on success, the
// errno of a failed open or read, or kTabulatedFileDamaged. On any failure
// nothing stays loaded; `message`, when given, receives a Russian text naming
// the file (empty on success).
int LoadTabulatedFile(const std::string& path, std::string* message = nullptr);

// LoadTabulatedFile for the program's "Fond.in": a file without body 6, Pluto,
// is refused as damaged too (kTabulatedFileDamaged, nothing loaded).
int LoadPlutoFile(const std::string& path, std::string* message = nullptr);

// The same check and load for the bytes of a file; `name` is used in messages.
int LoadTabulatedBytes(std::string_view bytes, const std::string& name,
                       std::string* message = nullptr);

// Forgets the loaded bodies (and the precession cache).
void UnloadTabulatedFile();

// The bodies now loaded (empty when none).
const std::vector<TabulatedBody>& TabulatedBodies();

struct ChebyshevSums {
    double x = 0, y = 0, z = 0;
};

// T0 = 1, T1 = x, Tj = 2x Tj-1 - Tj-2; value c = sum of Tj * block[c * n + j].
ChebyshevSums ChebyshevSum(int n, double x, const double* block);

// Whether JD lies strictly inside body k's span; when it does, `sums` receives
// the three Chebyshev sums of its sub-interval, otherwise `sums` is unchanged.
bool FindTabulatedInterval(int k, double jd, ChebyshevSums& sums);

// Precesses a J2000 equatorial vector to the date JD (IAU 1976) and turns it to
// ecliptic rectangular coordinates of the date with the mean obliquity. The
// matrix is reused for dates less than 5 days from the last one computed.
std::array<double, 3> PrecessJ2000ToDate(const std::array<double, 3>& v, double jd);

// Empties the precession cache.
void ResetPrecessionCache();

struct Polar {
    double lon = 0;   // radians, [0, 2pi)
    double lat = 0;   // radians
    double dist = 0;
};
Polar RectToPolar(const std::array<double, 3>& v);
std::array<double, 3> PolarToRect(double lat, double lon, double dist);

struct TabulatedPlace {
    double lon = 0;   // apparent geocentric ecliptic longitude, degrees
    double lat = 0;   // latitude, degrees
    double dist = 0;  // geocentric distance, AU
};

// Apparent geocentric position of body k at the day number d, corrected for
// light-time, aberration and nutation. All zero outside the span, or when body
// k is not loaded.
TabulatedPlace TabulatedPosition(int k, double d);

// Fills the Pluto entry (Lon, Decl, Lat, RA, Sign) for the day number `d`. Pluto
// does not use the Sun-vector scratch. Without a loaded file, or outside the span,
// Pluto stands at 0 degrees Aries.
void ComputePluto(double d, TChartBody& body, double& sunX, double& sunY, double& sunZ);

}  // namespace pelorin
