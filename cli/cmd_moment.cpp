#include <cstdio>

#include "astro/birth_moment.h"
#include "cli/command.h"

namespace pelorin::cli {
namespace {

int RunMoment(const std::vector<std::string>& argv) {
    Args args(argv, {"date", "time", "zone"});
    const DateArg date = ParseDateArg(args.required("date"));
    TimeArg time{12, 0};
    const bool known = args.has("time");
    if (known) time = ParseTimeArg(*args.get("time"));
    const double zone = args.has("zone") ? ParseNumberArg("zone", *args.get("zone")) : 0.0;
    if (zone < -12.0 || zone > 14.0) throw UsageError("--zone must lie between -12 and 14 hours");
    // Every person the entry dialogs store carries the mark "L".
    const double moment =
        FormBirthMoment(date.day, date.month, date.year, time.hour, time.minute, known, zone, true);
    std::printf("%.10f\n", moment);
    return 0;
}

Register reg({"moment", "moment --date DD.MM.YYYY [--time HH:MM] [--zone HOURS]", RunMoment});

}  // namespace
}  // namespace pelorin::cli
