// libFuzzer entry for the whole analysis: the first 501 bytes are the woman's
// record, the next 501 the man's (missing bytes are zero), analysed against the
// shipped databases and Fond.in as "Анализ пары" and "Анализ всех" run: charts,
// houses, aspects, overlay, score, both reports written and read back. Besides
// the sanitizers: a moment the engine does not serve is refused at the charts
// and writes no report; any other refusal can only come from an unreadable
// coordinate text, at the houses; a pair analysed gives the scan the same
// totals for the man; both reports read as rich text. Built and run by
// tests/fuzz/run.sh (seed: pairs of records of data/FEMIN.DAT and MEN.DAT).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "analysis/pair_analysis.h"
#include "analysis/rtf_text.h"
#include "analysis/text_pack.h"
#include "astro/chart.h"
#include "astro/tabulated.h"
#include "base/file_io.h"
#include "people/person_record.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelorin;
using namespace pelorin::fuzz;

namespace {

const std::string kData = std::string(PELORIN_SOURCE_DIR) + "/data/";

TextDatabases ShippedDatabases() {
    TextDatabases t;
    TextBase* targets[] = {&t.AspectTexts, &t.HouseTexts, &t.NatalAspectTexts, &t.SignTexts,
                           &t.ReverseHouseTexts};
    for (std::size_t i = 0; i < kDatabaseFiles.size(); ++i) {
        const std::string path = kData + "texts/" + kDatabaseFiles[i].text;
        *targets[i] = TextBase(kDatabaseFiles[i].source,
                               SplitTextLines(PackTextSource(kDatabaseFiles[i].kind, ReadBytes(path), path).plain));
    }
    return t;
}

PersonRecord RecordAt(const std::uint8_t* data, std::size_t size, std::size_t from) {
    PersonRecord r{};
    if (from < size) std::memcpy(&r, data + from, std::min(sizeof r, size - from));
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TextDatabases texts = [] {
        if (LoadTabulatedFile(kData + "Fond.in") != 0) Fail("Fond.in loads");
        return ShippedDatabases();
    }();
    static const std::string dir = [] {
        const std::string d = ScratchFile("analysis") + "/";
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::string report = JoinPath(dir, "Itogo.rtf"), manReport = JoinPath(dir, "Itogo_Men.rtf");
    std::filesystem::remove(report);
    std::filesystem::remove(manReport);

    PeopleState people;
    for (int s = 1; s <= kTableSlots; ++s) ClearSlot(people.MenTable, s);
    people.ChosenWoman = RecordAt(data, size, 0);
    people.ChosenMan = RecordAt(data, size, sizeof(PersonRecord));
    people.WomanChosen = people.ManChosen = true;
    people.MenTable.slot(1) = people.ChosenMan;
    const double womanMoment = people.ChosenWoman.Moment, manMoment = people.ChosenMan.Moment;
    const bool served = IsServedMoment(womanMoment) && IsServedMoment(manMoment);

    AnalysisState pair;
    PairAnalysisObserver quiet;
    const AnalysisResult r = RunPairAnalysis(people, {dir, texts}, pair, quiet);
    Check(r.ran, "a chosen pair is analysed");
    if (!served) {
        Check(!r.ok && r.failedStep == PairStep::Charts, "a moment not served is refused at the charts");
        Check(!std::filesystem::exists(manReport), "a refused pair writes no report");
        return 0;
    }
    if (!r.ok) {
        Check(r.failedStep == PairStep::Houses, "only an unreadable coordinate text refuses a served pair");
        return 0;
    }
    Check(pair.PlusTotal >= 0 && pair.MinusTotal <= 0, "totals keep their signs");
    for (int i = 0; i < kBodyCount; ++i)
        Check(pair.WomanChart[i].SignDeg >= 0 && pair.WomanChart[i].SignDeg < 30 && pair.ManChart[i].Sign >= 1 &&
                  pair.ManChart[i].Sign <= 12,
              "integer fields of a served chart");
    Check(!ParseRtf(ReadBytes(report)).paragraphs.empty(), "the pair report reads");
    Check(!ParseRtf(ReadBytes(manReport)).paragraphs.empty(), "the man's report reads");

    AnalysisState scan;
    ScanObserver none;
    const AnalysisResult s = RunScan(people, {dir, texts}, scan, none);
    Check(s.ok, "a pair analysed is scanned");
    const ScanEntry& e = scan.ScanResults[0];
    if (IsFreeSlot(people.MenTable.slot(1))) {
        Check(IsUnusedEntry(e), "a free slot is not scanned");
    } else {
        Check(e.PlusTotal == pair.PlusTotal && e.MinusTotal == pair.MinusTotal, "the scan scores as the pair");
    }
    return 0;
}
