#pragma once
// Bodies tabulated as Chebyshev coefficients in "Fond.in"; body 6 is Pluto.
#include <string>

#include "astro/chart_types.h"

namespace pelorin {

// Fills the Pluto entry (Lon, Decl, Lat, RA, Sign) for the day number `d`. Pluto
// does not use the Sun-vector scratch. Without a loaded file, or outside the span,
// Pluto stands at 0 degrees Aries.
void ComputePluto(double d, TChartBody& body, double& sunX, double& sunY, double& sunZ);

}  // namespace pelorin
