#pragma once
// What the chart commands read of a data directory: "Fond.in" and both person
// files, under the directory's lock for reading (nothing is written); and the
// relationship charts of a woman and a man named by their stamps.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "analysis/relationship_charts.h"
#include "astro/tabulated.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "cli/analysis_input.h"
#include "people/config.h"
#include "people/person_chart.h"
#include "people/person_record.h"

namespace pelorin::cli {

struct ChartInput {
    std::optional<DirLock> lock;  // released once everything is read
    Config config;
    PeopleState people;
};

// As at start-up, a missing "Fond.in" leaves Pluto at its zero position (said on
// standard error); a damaged one is a data error.
inline void LoadChartInput(const std::string& command, const std::string& configFile, ChartInput& in) {
    in.config = ReadConfig(configFile);
    const std::string& dir = in.config.DataDir;
    in.lock.emplace(dir, LockUse::Read);
    std::string message;
    const int rc = LoadTabulatedFile(JoinPath(dir, "Fond.in"), &message);
    if (rc == ENOENT) std::fprintf(stderr, "pelorin-cli %s: %s\n", command.c_str(), message.c_str());
    else if (rc != 0) throw Error(message);
    LoadPersonFile(JoinPath(dir, "FEMIN.DAT"), in.people.WomenTable);
    LoadPersonFile(JoinPath(dir, "MEN.DAT"), in.people.MenTable);
}

// The chosen pair of the stamps into `in.people`, each refused as the pair
// analysis refuses a damaged record.
inline void ChoosePair(ChartInput& in, const std::string& womanStamp, const std::string& manStamp) {
    const std::string& dir = in.config.DataDir;
    in.people.ChosenWoman = PersonByStamp(in.people.WomenTable, womanStamp, dir);
    in.people.ChosenMan = PersonByStamp(in.people.MenTable, manStamp, dir);
    in.people.WomanChosen = in.people.ManChosen = true;
    RequireServedMoment(in.people.ChosenWoman, JoinPath(dir, "FEMIN.DAT"));
    RequireServedMoment(in.people.ChosenMan, JoinPath(dir, "MEN.DAT"));
}

// The chart of `kind` of the chosen pair; the reason there is no Davison chart
// is an Error.
inline RelationshipChart RelationshipChartOf(const PeopleState& people, RelationshipKind kind) {
    RelationshipCharts charts = RelationshipChartsOf(people.ChosenWoman, people.ChosenMan);
    if (kind == RelationshipKind::Composite) return charts.composite;
    if (!charts.davison) throw Error(charts.davisonRefusal);
    return *charts.davison;
}

}  // namespace pelorin::cli
