#pragma once
// What the analysis commands load from the data directory of a configuration,
// in the order of the program's start-up: "Fond.in", both person files and the
// four databases, under the data directory's lock held until the command has
// written its files; and the people named by their stamps.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/text_base.h"
#include "cli/command.h"
#include "people/config.h"
#include "astro/tabulated.h"
#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/person_record.h"

namespace pelorin::cli {

struct AnalysisInput {
    // Held from the loading until the command has computed and written its files;
    // released (reset) before anything goes to standard output, so that a reader
    // that does not read keeps no other command waiting.
    std::optional<DirLock> lock;
    Config config;
    PeopleState people;
    TextDatabases texts;
    // Databases that lack keys (DatabaseWarnings), said on standard error.
    std::vector<std::string> warnings;
};

// As at start-up, a missing "Fond.in" leaves Pluto at its zero position (said on
// standard error); a damaged one is a data error.
inline void LoadAnalysisInput(const std::string& command, const std::string& configFile, AnalysisInput& in) {
    in.config = ReadConfig(configFile);
    const std::string& dir = in.config.DataDir;
    in.lock.emplace(dir);
    std::string message;
    const int rc = LoadPlutoFile(JoinPath(dir, "Fond.in"), &message);
    if (rc == ENOENT) std::fprintf(stderr, "pelorin-cli %s: %s\n", command.c_str(), message.c_str());
    else if (rc != 0) throw Error(message);
    LoadPersonFile(JoinPath(dir, "FEMIN.DAT"), in.people.WomenTable);
    LoadPersonFile(JoinPath(dir, "MEN.DAT"), in.people.MenTable);
    LoadTextDatabases(dir, in.texts, ShippedDataDir());
    in.warnings = DatabaseWarnings(in.texts);
    if (!in.texts.ReverseMissing.empty()) in.warnings.push_back(in.texts.ReverseMissing);
    for (const std::string& w : in.warnings) std::fprintf(stderr, "pelorin-cli %s: %s\n", command.c_str(), w.c_str());
}

// The used slot of the table holding `stamp`; an Error naming the file when none does.
inline const PersonRecord& PersonByStamp(const PersonTable& table, const std::string& stamp,
                                         const std::string& dataDir) {
    const int slot = FindSlotByStamp(table, stamp);
    if (slot == 0 || IsFreeSlot(table.slot(slot))) {
        throw Error(std::string(table.kind == TableKind::Women ? "Женщины" : "Мужчины") + " с отметкой «" +
                    EchoText(stamp) + "» нет в файле «" + JoinPath(dataDir, PersonFileName(table.kind)) + "».");
    }
    return table.slot(slot);
}

}  // namespace pelorin::cli
