#include "astro/chart.h"

#include <cmath>

#include "astro/base_routines.h"
#include "astro/bodies.h"
#include "astro/tabulated.h"

namespace pelorin {

void SetIntegerFields(TChartBody& b) {
    b.Deg = static_cast<std::int32_t>(std::trunc(b.Lon));
    b.Min = static_cast<std::int32_t>(std::trunc(Frac(b.Lon) * 60.0));
    b.Sec = static_cast<std::int32_t>(std::trunc((b.Lon - b.Deg - b.Min / 60.0) * 3600.0));
    b.Sign = 1;
    b.SignDeg = b.Deg;
    while (b.SignDeg >= 30) {
        b.SignDeg -= 30;
        b.Sign += 1;
    }
    b.SignDegOrd = b.SignDeg + 1;
}

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
