// pelorin-cli scan: the chosen woman against every man of the men's file (or,
// with --man, the chosen man against every woman), the ranking highest
// percentage first.
#include "analysis/pair_analysis.h"
#include "cli/analysis_input.h"
#include "cli/command.h"
#include "cli/json.h"
#include "base/cp1251.h"

namespace pelorin::cli {
namespace {

int RunScanCommand(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "woman", "man"});
    const std::string configFile = args.required("config");
    if (args.has("woman") == args.has("man")) throw UsageError("give either --woman or --man");
    const bool ofWomen = args.has("man");

    AnalysisInput in;
    LoadAnalysisInput("scan", configFile, in);
    if (ofWomen) {
        in.people.ChosenMan = PersonByStamp(in.people.MenTable, *args.get("man"), in.config.DataDir);
        in.people.ManChosen = true;
    } else {
        in.people.ChosenWoman = PersonByStamp(in.people.WomenTable, *args.get("woman"), in.config.DataDir);
        in.people.WomanChosen = true;
    }

    AnalysisState state;
    ScanObserver none;
    const AnalysisData data{in.config.DataDir, in.texts};
    const AnalysisResult r =
        ofWomen ? RunWomenScan(in.people, data, state, none) : RunScan(in.people, data, state, none);
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
                            .raw("percent_with_his_houses", e.PercentWithHisHouses
                                                                ? JsonNumber(static_cast<int>(*e.PercentWithHisHouses))
                                                                : "null")
                            .text());
    }
    PrintJson(JsonArray(items));
    return 0;
}

Register reg({"scan", "scan --config FILE (--woman STAMP | --man STAMP)", RunScanCommand});

}  // namespace
}  // namespace pelorin::cli
