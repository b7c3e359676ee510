#pragma once
// Angle and number routines and the classical low-precision routines on which
// every position rests: day numbers, the Sun, nutation, obliquity, aberration,
// Kepler's equation and the text form of a longitude. Time arguments are day
// numbers: days since 1900 January 0.5 Greenwich (Julian Day - 2415020).
#include <string>

namespace pelorin {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kJulianDayOfDayZero = 2415020.0;

// trunc(x) as an int; a value that is not finite or lies beyond an int gives 0.
int TruncToInt(double x);

// frac(x): x minus its integer part truncated toward zero (keeps the sign of x).
double Frac(double x);

double NormDeg(double x);                 // [0, 360)
double NormRad(double x);                 // [0, 2pi) with the ten-digit 2pi
double ModuloOf(double m, double x);      // m * frac(x / m)
double DegToRad(double x);
double TanOf(double x);
double ArcSinOf(double x);
double ArcCosOf(double x);
double QuadrantAngle(double a, double b); // angle of (a, b) in [0, 2pi)
double PowerOf(double e, double base);    // base ^ e

double DayNumberOf(int day, int month, int year, int hour, int minute, int second);

struct Nutation {
    double obliquity;  // nutation in obliquity, radians
    double longitude;  // nutation in longitude, radians
};
Nutation NutationOf(double dayNumber);

struct KeplerSolution {
    double trueAnomaly;       // radians
    double eccentricAnomaly;  // radians
};
KeplerSolution SolveKepler(double e, double meanAnomaly);

struct SunPlace {
    double longitude;  // geometric ecliptic longitude, radians, [0, 2pi)
    double radius;     // astronomical units
};
SunPlace SunPosition(double dayNumber);

double MeanObliquity(double dayNumber);

// Corrects lambda and beta (radians, in place) for annual aberration.
void ApplyAberration(double& lambda, double& beta, double sunLongitude);

struct LongitudeTexts {
    std::string shortText;  // degrees in the sign, sign glyph, minutes (symbol font bytes)
    std::string longText;   // short text, minute mark, seconds, second mark
    std::string paddedText; // the long text with minutes and seconds in two digits (" 5@07\xAF09\xB0")
};
LongitudeTexts LongitudeText(double longitude);

// Empties the Sun and nutation caches (the next calls compute afresh).
void ResetBaseCaches();

}  // namespace pelorin
