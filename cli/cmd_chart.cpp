// pelorin-cli chart: the ten bodies of a chart for a birth moment.
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "people/config.h"
#include "astro/birth_moment.h"
#include "astro/chart.h"
#include "astro/houses.h"
#include "astro/tabulated.h"
#include "cli/analysis_json.h"
#include "cli/command.h"
#include "cli/json.h"
#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/person_chart.h"

namespace pelorin::cli {
namespace {

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
    if (!IsServedMoment(moment))
        throw UsageError("the moment must lie in the years 1600..2399 that the engine serves (day numbers "
                         "between -109572.5 and 182621.5 exclusive)");
    if (args.has("data") && args.has("config")) throw UsageError("give --data DIR or --config FILE, not both");
    // The data directory holds "Fond.in", from which Pluto comes. Without one
    // Pluto stands at its zero position, 0 degrees Aries.
    std::string dataDir;
    if (args.has("data")) {
        // A directory named on the command line need not end with a separator;
        // the file name is appended to it as to the data directory of main.dat.
        dataDir = *args.get("data");
        if (!dataDir.empty() && dataDir.back() != '/' && dataDir.back() != '\\') dataDir += '\\';
    }
    if (args.has("config")) dataDir = ReadConfig(*args.get("config")).DataDir;
    if (args.has("data") || args.has("config")) {
        // As at the program's start-up a missing file leaves Pluto at its zero
        // position (said on standard error); a damaged or unreadable one is a
        // data error.
        const DirLock lock(dataDir, LockUse::Read);
        std::string message;
        const int rc = LoadPlutoFile(JoinPath(dataDir, "Fond.in"), &message);
        if (rc == ENOENT) std::fprintf(stderr, "pelorin-cli chart: %s\n", message.c_str());
        else if (rc != 0) throw Error(message);
    }
    // The coordinate text of a person, UTF-8 here, Windows-1251 in the record.
    std::string coords;
    if (args.has("coords")) {
        std::size_t bad = std::string::npos;
        coords = Utf8ToCp1251(*args.get("coords"), &bad);
        if (bad != std::string::npos) throw UsageError("--coords holds a character that Windows-1251 lacks");
        if (coords.size() < 19)
            throw UsageError("--coords must be a coordinate text of 19 characters, such as \" 37°37’ВД  55°45’СШ\"");
    }

    TChart chart;
    ComputeChart(moment, chart);
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
    JsonObject out;
    out.num("moment", moment).raw("bodies", JsonArray(bodies));
    if (args.has("coords")) {
        // Beyond 65 degrees of latitude there are no houses: twelve zeros.
        TCusps cusps;
        const bool computed = ComputeHouses(coords, moment, cusps) == HouseStatus::Computed;
        std::vector<std::string> list;
        for (int n = 1; n <= 12; ++n) list.push_back(JsonNumber(cusps[n]));
        out.raw("cusps", JsonArray(list)).boolean("houses_computed", computed);
    }
    PrintJson(out.text());
    return 0;
}

Register reg({"chart",
              "chart (--moment DAYNUMBER | --date DD.MM.YYYY [--time HH:MM] [--zone HOURS]) [--coords TEXT] "
              "[--data DIR | --config FILE]",
              RunChart});

}  // namespace
}  // namespace pelorin::cli
