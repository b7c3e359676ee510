// pelorin-cli chart: the ten bodies of a chart for a birth moment.
#include <cmath>

#include "app/core/config.h"
#include "astro/birth_moment.h"
#include "astro/chart.h"
#include "cli/command.h"
#include "cli/json.h"

namespace pelorin::cli {
namespace {

constexpr const char* kBodyNames[kBodyCount] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                                "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};

double MomentFromArgs(const Args& args) {
    if (args.has("moment") == args.has("date"))
        throw UsageError("give exactly one of --moment DAYNUMBER and --date DD.MM.YYYY");
    if (args.has("moment")) {
        if (args.has("time") || args.has("zone")) throw UsageError("--time and --zone go with --date");
        const double d = ParseNumberArg("moment", *args.get("moment"));
        if (!std::isfinite(d)) throw UsageError("--moment must be a finite day number");
        return d;
    }
    // The birth moment exactly as an entry dialog stores it (the mark "L").
    const DateArg date = ParseDateArg(*args.get("date"));
    TimeArg time{12, 0};
    const bool known = args.has("time");
    if (known) time = ParseTimeArg(*args.get("time"));
    const double zone = args.has("zone") ? ParseNumberArg("zone", *args.get("zone")) : 0.0;
    if (!(zone >= -12.0 && zone <= 14.0)) throw UsageError("--zone must lie between -12 and 14 hours");
    return FormBirthMoment(date.day, date.month, date.year, time.hour, time.minute, known, zone, true);
}

int RunChart(const std::vector<std::string>& argv) {
    Args args(argv, {"moment", "date", "time", "zone", "coords", "data", "config"});
    const double moment = MomentFromArgs(args);
    if (args.has("data") && args.has("config")) throw UsageError("give --data DIR or --config FILE, not both");
    if (args.has("coords")) throw UsageError("--coords: house cusps are not computed yet");
    // The data directory holds "Fond.in", from which Pluto comes.
    std::string dataDir;
    if (args.has("data")) dataDir = *args.get("data");
    if (args.has("config")) dataDir = ReadConfig(*args.get("config")).DataDir;
    (void)dataDir;  // Pluto stays at its zero position until the tabulated file is read here.

    TChart chart;
    ComputeChartAt(moment, chart);
    std::vector<std::string> bodies;
    for (int i = 0; i < kBodyCount; ++i) {
        const TChartBody& b = chart[i];
        bodies.push_back(JsonObject()
                             .str("body", kBodyNames[i])
                             .num("lon", b.Lon)
                             .num("lat", b.Lat)
                             .num("decl", b.Decl)
                             .num("ra", b.RA)
                             .num("sign", static_cast<int>(b.Sign))
                             .num("sign_deg", static_cast<int>(b.SignDeg))
                             .text());
    }
    PrintJson(JsonObject().num("moment", moment).raw("bodies", JsonArray(bodies)).text());
    return 0;
}

Register reg({"chart",
              "chart (--moment DAYNUMBER | --date DD.MM.YYYY [--time HH:MM] [--zone HOURS]) [--coords TEXT] "
              "[--data DIR | --config FILE]",
              RunChart});

}  // namespace
}  // namespace pelorin::cli
