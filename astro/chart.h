#pragma once
// The chart of one person: the ten bodies in chart order with their integer fields.
#include "astro/chart_types.h"

namespace pelorin {

// The birth moments the engine serves: strictly between 1600-01-01 and
// 2400-01-01 0h UT, the span over which Fond.in holds Pluto (the series are
// classical low-precision ones, meant for a few centuries around 1900). A moment
// outside, or one that is not a number at all (NaN, infinite), is refused by
// every analysis before it reaches the engine.
inline constexpr double kFirstServedMoment = -109572.5;  // 1600-01-01 0h UT
inline constexpr double kLastServedMoment = 182621.5;    // 2400-01-01 0h UT
bool IsServedMoment(double moment);

// Fills entries 0..9 of `chart` for the day number `moment` (a birth moment in
// Universal Time). Everything of those entries is overwritten except Speed.
void ComputeChart(double moment, TChart& chart);

// Deg, Min, Sec, Sign, SignDeg and SignDegOrd of an entry from its Lon, each
// truncated, nothing rounded.
void SetIntegerFields(TChartBody& body);

}  // namespace pelorin
