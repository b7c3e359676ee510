// pelorin-cli composite and davison: the relationship charts of a woman and a
// man named by their stamps, as the page "Композит" shows them.
#include <string>
#include <vector>

#include "cli/analysis_json.h"
#include "cli/chart_input.h"
#include "cli/command.h"
#include "cli/json.h"

namespace pelorin::cli {
namespace {

std::string ChartJson(const RelationshipChart& c) {
    std::vector<std::string> bodies;
    for (int i = 0; i < kBodyCount; ++i) {
        const TChartBody& b = c.chart[i];
        const int house = c.houses[static_cast<std::size_t>(i)];
        bodies.push_back(JsonObject()
                             .str("body", kBodyNames[i])
                             .num("lon", b.Lon)
                             .num("sign", static_cast<int>(b.Sign))
                             .num("sign_deg", static_cast<int>(b.SignDeg))
                             .raw("house", c.cusps ? JsonNumber(house) : "null")
                             .text());
    }
    std::string cusps = "null";
    if (c.cusps) {
        std::vector<std::string> list;
        for (int i = 1; i <= 12; ++i) list.push_back(JsonNumber((*c.cusps)[i]));
        cusps = JsonArray(list);
    }
    JsonObject o;
    o.raw("bodies", JsonArray(bodies)).raw("cusps", cusps).raw("aspects", GridJson(c.aspects));
    if (c.kind == RelationshipKind::Davison)
        o.num("moment", c.moment).num("lat", c.place.latitude).num("lon", c.place.longitude);
    return o.text();
}

int RunRelationship(const char* command, RelationshipKind kind, const std::vector<std::string>& argv) {
    Args args(argv, {"config", "woman", "man"});
    const std::string configFile = args.required("config");
    const std::string womanStamp = args.required("woman");
    const std::string manStamp = args.required("man");

    ChartInput in;
    LoadChartInput(command, configFile, in);
    ChoosePair(in, womanStamp, manStamp);
    const RelationshipChart chart = RelationshipChartOf(in.people, kind);
    in.lock.reset();  // everything is read: the output is written without the lock
    PrintJson(ChartJson(chart));
    return 0;
}

Register compositeReg({"composite", "composite --config FILE --woman STAMP --man STAMP",
                       [](const std::vector<std::string>& a) {
                           return RunRelationship("composite", RelationshipKind::Composite, a);
                       }});
Register davisonReg({"davison", "davison --config FILE --woman STAMP --man STAMP",
                     [](const std::vector<std::string>& a) {
                         return RunRelationship("davison", RelationshipKind::Davison, a);
                     }});

}  // namespace
}  // namespace pelorin::cli
