#pragma once
// The chart of one person: the ten bodies in chart order with their integer fields.
#include "astro/chart_types.h"

namespace pelorin {

// Fills entries 0..9 of `chart` for the day number `moment` (a birth moment in
// Universal Time). Everything of those entries is overwritten except Speed.
void ComputeChart(double moment, TChart& chart);

// Deg, Min, Sec, Sign, SignDeg and SignDegOrd of an entry from its Lon, each
// truncated, nothing rounded.
void SetIntegerFields(TChartBody& body);

}  // namespace pelorin
