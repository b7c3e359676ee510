#include "astro/tabulated.h"

namespace pelorin {

// Until the tabulated file is read, Pluto has the zero position of a day outside
// the span.
void ComputePluto(double, TChartBody& body, double&, double&, double&) {
    body.Lon = 0;
    body.Lat = 0;
    body.Decl = 0;
    body.RA = 0;
    body.Sign = 1;
}

}  // namespace pelorin
