#pragma once
// The chart of one person: the ten bodies in chart order with their integer fields.
#include "astro/chart_types.h"
#include "people/person_record.h"

namespace pelorin {

// Fills entries 0..9 of `chart` for the person's birth moment (`Moment`, the only
// field used). Everything of those entries is overwritten except Speed.
void ComputeChart(const PersonRecord& person, TChart& chart);

// The same for a bare day number.
void ComputeChartAt(double moment, TChart& chart);

// Deg, Min, Sec, Sign, SignDeg and SignDegOrd of an entry from its Lon, each
// truncated, nothing rounded.
void SetIntegerFields(TChartBody& body);

}  // namespace pelorin
