#pragma once
// The series of the Sun, the Moon and the planets Mercury to Neptune, and the body
// drivers that turn a day number into one chart entry. Each body has its own unit
// (sun.cpp, moon.cpp, ...). Pluto's driver is in tabulated.h.
#include "astro/chart_types.h"
#include "astro/geocentric.h"

namespace pelorin {

// Series routines: argument T, Julian centuries from 1900 January 0.5 (Universal
// Time used directly). The Sun and the Moon are geocentric, the planets heliocentric.
SeriesResult SunSeries(double T);
SeriesResult MoonSeries(double T);
SeriesResult MercurySeries(double T);
SeriesResult VenusSeries(double T);
SeriesResult MarsSeries(double T);
SeriesResult JupiterSeries(double T);
SeriesResult SaturnSeries(double T);
SeriesResult UranusSeries(double T);
SeriesResult NeptuneSeries(double T);

// The Sun's geocentric ecliptic place of day number `d` (degrees), its vector
// written to `sun` for the planets of the same day.
EclipticPlace SunPlaceAndVector(double d, SunVector& sun);

// The Sun vector of day number `d` (written to `sun`); `body` receives the Sun's
// entry, which a planet driver then overwrites with its own.
void EarthSunVector(double d, TChartBody& body, SunVector& sun);

// Body drivers: each fills Lon, Decl, Lat, RA and Sign of `body` for day number
// `d`; all but the Sun's compute the Sun vector first and leave it in `sun`.
void ComputeSun(double d, TChartBody& body, SunVector& sun);
void ComputeMoon(double d, TChartBody& body, SunVector& sun);
void ComputeMercury(double d, TChartBody& body, SunVector& sun);
void ComputeVenus(double d, TChartBody& body, SunVector& sun);
void ComputeMars(double d, TChartBody& body, SunVector& sun);
void ComputeJupiter(double d, TChartBody& body, SunVector& sun);
void ComputeSaturn(double d, TChartBody& body, SunVector& sun);
void ComputeUranus(double d, TChartBody& body, SunVector& sun);
void ComputeNeptune(double d, TChartBody& body, SunVector& sun);

// The driver of a heliocentric or geocentric series body: the Sun vector of the
// moment, the series, the conversion in `mode`, then the shared last steps.
using SeriesFunction = SeriesResult (*)(double T);
void ComputeSeriesBody(double d, SeriesFunction series, int mode, TChartBody& body, SunVector& sun);

}  // namespace pelorin
