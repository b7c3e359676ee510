#include "astro/chart.h"

#include <cmath>

#include "astro/base_routines.h"
#include "astro/bodies.h"
#include "astro/tabulated.h"

namespace pelorin {

void SetIntegerFields(TChartBody& b) {
    // A longitude that is not finite or beyond an int (only from a moment the
    // engine does not serve) gives 0 rather than an undefined conversion.
    b.Deg = TruncToInt(b.Lon);
    b.Min = TruncToInt(Frac(b.Lon) * 60.0);
    b.Sec = TruncToInt((b.Lon - b.Deg - b.Min / 60.0) * 3600.0);
    b.Sign = 1;
    b.SignDeg = b.Deg;
    if (b.SignDeg >= 30) {
        b.Sign += b.SignDeg / 30;
        b.SignDeg %= 30;
    }
    b.SignDegOrd = b.SignDeg + 1;
}

bool IsServedMoment(double moment) { return moment > kFirstServedMoment && moment < kLastServedMoment; }

void ComputeChart(double moment, TChart& chart) {
    const double d = moment;
    SunVector sun;  // the Sun-vector scratch of this computation
    ComputeSun(d, chart[kSun], sun);
    ComputeMoon(d, chart[kMoon], sun);
    ComputeMercury(d, chart[kMercury], sun);
    ComputeVenus(d, chart[kVenus], sun);
    ComputeMars(d, chart[kMars], sun);
    ComputeJupiter(d, chart[kJupiter], sun);
    ComputeSaturn(d, chart[kSaturn], sun);
    ComputeUranus(d, chart[kUranus], sun);
    ComputeNeptune(d, chart[kNeptune], sun);
    ComputePluto(d, chart[kPluto], sun.x, sun.y, sun.z);
    for (int i = 0; i < kBodyCount; ++i) SetIntegerFields(chart[i]);
}

}  // namespace pelorin
