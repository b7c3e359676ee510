// pelorin-cli scan: the chosen woman against every man of the men's file, the
// ranking highest percentage first.
#include "analysis/pair_analysis.h"
#include "cli/analysis_input.h"
#include "cli/command.h"
#include "cli/json.h"
#include "base/cp1251.h"

namespace pelorin::cli {
namespace {

int RunScanCommand(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "woman"});
    const std::string configFile = args.required("config");
    const std::string womanStamp = args.required("woman");

    AnalysisInput in;
    LoadAnalysisInput("scan", configFile, in);
    in.people.ChosenWoman = PersonByStamp(in.people.WomenTable, womanStamp, in.config.DataDir);
    in.people.WomanChosen = true;

    AnalysisState state;
    ScanObserver none;
    const AnalysisResult r = RunScan(in.people, {in.config.DataDir, in.texts}, state, none);
    if (!r.ok) throw Error(r.message);

    std::vector<std::string> items;
    for (const ScanEntry& e : state.RankedResults) {
        if (IsUnusedEntry(e)) break;
        items.push_back(JsonObject()
                            .str("name", Cp1251ToUtf8(e.ManName))
                            .str("date", Cp1251ToUtf8(e.ManDate))
                            .str("place", Cp1251ToUtf8(e.ManPlace))
                            .num("plus", static_cast<int>(e.PlusTotal))
                            .num("minus", static_cast<int>(e.MinusTotal))
                            .raw("percent", e.PercentDefined ? JsonNumber(static_cast<int>(e.CompatPercent)) : "null")
                            .text());
    }
    PrintJson(JsonArray(items));
    return 0;
}

Register reg({"scan", "scan --config FILE --woman STAMP", RunScanCommand});

}  // namespace
}  // namespace pelorin::cli
