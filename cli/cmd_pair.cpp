// pelorin-cli pair: the whole pair analysis of a woman and a man named by their
// stamps, the report files written in the data directory as the program does.
#include <cstdio>

#include "analysis/percentile.h"
#include "analysis/score.h"
#include "analysis/pair_analysis.h"
#include "cli/analysis_input.h"
#include "cli/analysis_json.h"
#include "cli/command.h"
#include "cli/json.h"

namespace pelorin::cli {
namespace {

// The weighted facts, strongest first.
std::string FactorsJson(const std::vector<ScoreFactor>& factors) {
    std::vector<std::string> items;
    const auto body = BodyName;
    for (const ScoreFactor& f : StrongestFirst(factors)) {
        JsonObject o;
        if (f.kind == ScoreFactor::Kind::Aspect)
            o.str("kind", "aspect").str("man_body", body(f.manBody)).str("woman_body", body(f.womanBody));
        else
            o.str("kind", "house").str("man_body", body(f.manBody)).num("house", f.house);
        if (f.kind == ScoreFactor::Kind::Aspect) o.num("aspect", f.angle);
        items.push_back(o.num("weight", f.weight).text());
    }
    return JsonArray(items);
}

// His cusps, her bodies' houses of his, and their weighted facts strongest
// first; null, null and null without his houses.
struct ReverseJson {
    std::string cusps = "null", overlay = "null", factors = "null";
};
ReverseJson ReverseOf(const AnalysisState& s) {
    ReverseJson j;
    if (!ManHousesKnown(s)) return j;
    std::vector<std::string> cusps, overlay, factors;
    for (int i = 1; i <= 12; ++i) cusps.push_back(JsonNumber(s.ManCusps[i]));
    for (std::int32_t h : s.ReverseOverlay) overlay.push_back(JsonNumber(static_cast<int>(h)));
    if (s.Reverse)
        for (const ScoreFactor& f : StrongestFirst(s.Reverse->Factors))
            factors.push_back(
                JsonObject().str("woman_body", BodyName(f.womanBody)).num("house", f.house).num("weight", f.weight).text());
    j.cusps = JsonArray(cusps);
    j.overlay = JsonArray(overlay);
    j.factors = JsonArray(factors);
    return j;
}

int RunPair(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "woman", "man"});
    const std::string configFile = args.required("config");
    const std::string womanStamp = args.required("woman");
    const std::string manStamp = args.required("man");

    AnalysisInput in;
    LoadAnalysisInput("pair", configFile, in);
    in.people.ChosenWoman = PersonByStamp(in.people.WomenTable, womanStamp, in.config.DataDir);
    in.people.ChosenMan = PersonByStamp(in.people.MenTable, manStamp, in.config.DataDir);
    in.people.WomanChosen = in.people.ManChosen = true;

    AnalysisState state;
    PairAnalysisObserver none;
    const AnalysisResult r = RunPairAnalysis(in.people, {in.config.DataDir, in.texts}, state, none);
    if (!r.ok) throw Error(r.message);
    const auto percent = CompatPercentOf(state.PlusTotal, state.MinusTotal);
    // Where the percentage stands among random pairs: null without a table, and
    // with a note when the table is damaged or made for other databases.
    const PairPercentile where =
        PercentileForPair(in.config.DataDir, in.texts, percent, in.people.ChosenWoman.TimeKnown != 0);
    std::vector<std::string> warnings = in.warnings;
    if (!where.note.empty()) {
        std::fprintf(stderr, "pelorin-cli pair: %s\n", where.note.c_str());
        warnings.push_back(where.note);
    }
    in.lock.reset();  // the files are written: nothing waits for our reader

    std::vector<std::string> overlay;
    for (std::int32_t h : state.HouseOverlay) overlay.push_back(JsonNumber(static_cast<int>(h)));
    const ReverseJson reverse = ReverseOf(state);
    JsonObject out;
    out.num("plus", static_cast<int>(state.PlusTotal))
        .num("minus", static_cast<int>(state.MinusTotal))
        .raw("percent", percent ? JsonNumber(static_cast<int>(*percent)) : "null")
        .raw("aspects", GridJson(state.AspectGrid))
        .raw("overlay", JsonArray(overlay))
        .raw("natal", GridJson(state.NatalAspectGrid))
        .raw("factors", FactorsJson(state.Factors))
        .raw("percentile", where.percentile ? JsonNumber(*where.percentile) : "null")
        .raw("man_cusps", reverse.cusps)
        .raw("reverse_overlay", reverse.overlay)
        .raw("reverse_factors", reverse.factors)
        .raw("percent_with_his_houses",
             state.PercentWithHisHouses ? JsonNumber(static_cast<int>(*state.PercentWithHisHouses)) : "null");
    if (!warnings.empty()) {
        std::vector<std::string> items;
        for (const std::string& w : warnings) items.push_back(JsonString(w));
        out.raw("warnings", JsonArray(items));
    }
    PrintJson(out.text());
    return 0;
}

Register reg({"pair", "pair --config FILE --woman STAMP --man STAMP", RunPair});

}  // namespace
}  // namespace pelorin::cli
