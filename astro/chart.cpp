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
    const double T = CenturiesFromJD(d + kJulianDayOfDayZero);
    // The work of every body as its driver does it, in stages across the bodies:
    // the bodies are independent of each other once the Sun vector is known, and
    // a stage of one body next to the same stage of another lets the processor
    // overlap them instead of waiting on each body's long chain of arc tangents,
    // sines and cosines in turn.
    SunVector sun;  // the Sun-vector scratch of this computation
    EclipticPlace place[kBodyCount];
    place[kSun] = SunPlaceAndVector(d, sun);
    static constexpr SeriesFunction kSeries[] = {MoonSeries,    MercurySeries, VenusSeries,  MarsSeries,
                                                 JupiterSeries, SaturnSeries,  UranusSeries, NeptuneSeries};
    SeriesResult series[kPluto - kMoon];
    for (int i = kMoon; i < kPluto; ++i) series[i - kMoon] = kSeries[i - kMoon](T);
    const TabulatedPlace pluto = TabulatedPosition(kPlutoBodyIndex, d);
    place[kPluto] = {pluto.lon, pluto.lat};
    for (int i = kMoon; i < kPluto; ++i) {
        const SeriesResult& s = series[i - kMoon];
        place[i] = EquatorialToEcliptic(i == kMoon ? kModeGeocentric : kModeHeliocentric, s.X, s.Y, s.Z, sun);
    }
    for (int i = 0; i < kBodyCount; ++i) FillBodyFromEcliptic(d, place[i].lon, place[i].lat, chart[i]);
    for (int i = 0; i < kBodyCount; ++i) SetIntegerFields(chart[i]);
}

}  // namespace pelorin
