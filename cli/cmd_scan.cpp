// pelorin-cli scan: the chosen woman against every man of the men's file (or,
// with --man, the chosen man against every woman), the ranking highest
// percentage first.
#include "analysis/pair_analysis.h"
#include "cli/analysis_input.h"
#include "cli/command.h"
#include "cli/json.h"
#include "base/cp1251.h"
#include "base/file_io.h"

#include <cstdio>

namespace pelorin::cli {
namespace {

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

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
    in.lock.reset();  // nothing more to read or write: nothing waits for our reader

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
    // Those the scan could not compute follow the ranking, without totals, with
    // the reason in "skipped"; the command still succeeds.
    const std::string file = JoinPath(in.config.DataDir, ofWomen ? "FEMIN.DAT" : "MEN.DAT");
    for (const SkippedPerson& p : state.ScanSkipped) {
        std::fprintf(stderr, "pelorin-cli scan: не вошла в список запись «%s» (%s) файла «%s»: %s\n",
                     Cp1251ToUtf8(TrimRight(p.Name)).c_str(), Cp1251ToUtf8(p.Date).c_str(), file.c_str(),
                     p.Reason.c_str());
        items.push_back(JsonObject()
                            .str("name", Cp1251ToUtf8(p.Name))
                            .str("date", Cp1251ToUtf8(p.Date))
                            .str("place", Cp1251ToUtf8(p.Place))
                            .raw("plus", "null")
                            .raw("minus", "null")
                            .raw("percent", "null")
                            .str("skipped", p.Reason)
                            .text());
    }
    PrintJson(JsonArray(items));
    return 0;
}

Register reg({"scan", "scan --config FILE (--woman STAMP | --man STAMP)", RunScanCommand});

}  // namespace
}  // namespace pelorin::cli
