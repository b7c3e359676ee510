// pelorin-cli export and import: the people of a person file out to CSV or AAF,
// and people of such a file into a person file as the entry dialogs store them.
#include <cstdio>
#include <ctime>
#include <map>

#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "cli/command.h"
#include "cli/json.h"
#include "people/city_search.h"
#include "people/config.h"
#include "people/exchange.h"

namespace pelorin::cli {
namespace {

TableKind ListArg(const Args& args) {
    const std::string list = args.required("list");
    if (list != "women" && list != "men") throw UsageError("--list must be women or men");
    return list == "women" ? TableKind::Women : TableKind::Men;
}

ExchangeFormat FormatArg(const Args& args) {
    const std::string f = args.required("format");
    if (f != "csv" && f != "aaf") throw UsageError("--format must be csv or aaf");
    return f == "csv" ? ExchangeFormat::Csv : ExchangeFormat::Aaf;
}

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(' ') - b + 1);
}

int RunExport(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "list", "format", "out"});
    const TableKind kind = ListArg(args);
    const ExchangeFormat format = FormatArg(args);
    const std::string out = args.required("out");
    const Config config = ReadConfig(args.required("config"));
    PersonTable table{kind, {}};
    {
        const DirLock lock(config.DataDir, LockUse::Read);
        LoadPersonFile(JoinPath(config.DataDir, PersonFileName(kind)), table);
    }
    WriteFileAtomic(out, ExportPeople(table, format));
    PrintJson(JsonObject().num("written", static_cast<int>(UsedSlots(table).size())).str("out", out).text());
    return 0;
}

const char* SourceName(PlaceSource s) {
    switch (s) {
        case PlaceSource::File: return "file";
        case PlaceSource::Atlas: return "atlas";
        case PlaceSource::MenEntry: return "men_entry";
        case PlaceSource::Ambiguous: return "ambiguous";
        case PlaceSource::Missing: return "missing";
        case PlaceSource::NearestZone: return "nearest_city";
        case PlaceSource::ZoneToChoose: return "choose_zone";
    }
    return "";
}

// "--choose 12=2,15=1": for the person of line 12 the second city of the list.
std::map<int, int> Choices(const std::optional<std::string>& text) {
    std::map<int, int> out;
    if (!text) return out;
    std::size_t from = 0;
    while (from <= text->size()) {
        const std::size_t comma = text->find(',', from);
        const std::string item = text->substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        const std::size_t eq = item.find('=');
        char* end = nullptr;
        const long line = eq == std::string::npos ? 0 : std::strtol(item.c_str(), &end, 10);
        char* end2 = nullptr;
        const long n = eq == std::string::npos ? 0 : std::strtol(item.c_str() + eq + 1, &end2, 10);
        if (line <= 0 || n <= 0 || end != item.c_str() + eq || *end2 != '\0')
            throw UsageError("--choose takes LINE=N,LINE=N (N counts the cities listed from 1)");
        out[int(line)] = int(n);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return out;
}

int RunImport(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "list", "format", "in", "dry-run", "choose", "duplicates", "encoding"});
    const TableKind kind = ListArg(args);
    const ExchangeFormat format = FormatArg(args);
    const std::string in = args.required("in");
    const bool dryRun = args.has("dry-run") && *args.get("dry-run") != "no";
    const std::map<int, int> choices = Choices(args.get("choose"));
    const std::string duplicatesArg = args.get("duplicates").value_or("skip");
    if (duplicatesArg != "skip" && duplicatesArg != "keep") throw UsageError("--duplicates must be skip or keep");
    const ImportDuplicates duplicates = duplicatesArg == "keep" ? ImportDuplicates::Keep : ImportDuplicates::Skip;
    const std::optional<ExchangeEncoding> encoding = ExchangeEncodingNamed(args.get("encoding").value_or("auto"));
    if (!encoding) throw UsageError("--encoding must be utf-8, cp1251 or latin1");
    const Config config = ReadConfig(args.required("config"));

    const ImportParse parse = ParseExchange(ReadWholeFile(in), format, in, *encoding);
    std::vector<ImportProblem> problems = parse.problems;
    std::vector<ImportPlan> plans;
    PersonTable list{kind, {}};
    {
        const DirLock lock(config.DataDir, LockUse::Read);
        LoadPersonFile(JoinPath(config.DataDir, PersonFileName(kind)), list);
        const CitySearch search = CitySearch::Build(config.DataDir);
        plans = PlanImport(parse, kind, search, config.DataDir, in, problems);
        for (ImportPlan& p : plans) {
            const auto c = choices.find(p.row.line);
            if (c == choices.end() || !NeedsChoice(p)) continue;
            if (c->second > int(p.candidates.size()))
                throw UsageError("--choose " + std::to_string(c->first) + "=" + std::to_string(c->second) +
                                 ": only " + std::to_string(p.candidates.size()) + " cities");
            ChooseCandidate(p, std::size_t(c->second - 1), config.DataDir);
        }
    }
    // A file of which no person could be read is an error, never "stored 0".
    if (plans.empty()) {
        for (const ImportProblem& pr : problems) std::fprintf(stderr, "%s\n", pr.message.c_str());
        throw Error("В файле «" + in + "» не прочитано ни одного человека" +
                    (problems.empty() ? std::string(" (нет ни одной строки с данными)") : std::string()) +
                    ": ничего не сохранено.");
    }
    std::vector<PersonRecord> records;
    for (const ImportPlan& p : plans)
        if (p.record) records.push_back(*p.record);
    ImportStored stored;
    if (!dryRun) stored = StoreImported(records, kind, config.DataDir, std::time(nullptr), duplicates);
    if (!stored.slots.empty())
        NoteStored("Сохранено людей: " + std::to_string(stored.slots.size()) + " в файле «" +
                   JoinPath(config.DataDir, PersonFileName(kind)) + "».");

    PersonTable table{kind, {}};
    if (!dryRun && !stored.slots.empty()) {
        const DirLock lock(config.DataDir, LockUse::Read);
        LoadPersonFile(JoinPath(config.DataDir, PersonFileName(kind)), table);
    }
    std::vector<std::string> people, skipped;
    std::size_t k = 0;
    for (const ImportPlan& p : plans) {
        JsonObject o;
        o.num("line", p.row.line).str("name", Cp1251ToUtf8(p.row.name)).str("source", SourceName(p.source));
        o.str("note", p.note);
        const bool listed = AlreadyListed(p.row, list);
        o.boolean("already_listed", listed);
        if (p.record && !dryRun && k < stored.slotOf.size() && stored.slotOf[k] != 0) {
            o.num("slot", stored.slotOf[k]).str("stamp", table.slot(stored.slotOf[k]).Stamp.str());
        }
        if (p.record && listed && duplicates == ImportDuplicates::Skip)
            std::fprintf(stderr, "Файл «%s», строка %d: «%s» уже есть в списке — %s\n", in.c_str(), p.row.line,
                         Cp1251ToUtf8(p.row.name).c_str(),
                         dryRun ? "не будет сохранён (--duplicates keep сохранит)"
                                : "не сохранено (--duplicates keep сохранит)");
        if (p.record) ++k;
        std::vector<std::string> cands;
        for (const CityHit& h : p.candidates)
            cands.push_back(JsonObject()
                                .str("region", RegionName(h.region))
                                .str("country", Cp1251ToUtf8(Trim(h.country)))
                                .str("city", Cp1251ToUtf8(Trim(h.city)))
                                .num("lat", h.latMinutes / 60.0)
                                .num("lon", h.lonMinutes / 60.0)
                                .text());
        if (NeedsChoice(p)) o.raw("candidates", JsonArray(cands));
        std::vector<std::string> notes;
        for (const std::string& n : p.row.notes) notes.push_back(JsonString(n));
        o.raw("notes", JsonArray(notes));
        people.push_back(o.text());
    }
    for (const ImportProblem& pr : problems) {
        skipped.push_back(JsonObject().num("line", pr.line).str("message", pr.message).text());
        std::fprintf(stderr, "%s\n", pr.message.c_str());
    }
    for (const ImportPlan& p : plans)
        if (!p.record)
            std::fprintf(stderr, "Файл «%s», строка %d: %s — не сохранено\n", in.c_str(), p.row.line, p.note.c_str());
    PrintJson(JsonObject()
                  .num("stored", static_cast<int>(stored.slots.size()))
                  .boolean("dry_run", dryRun)
                  .raw("people", JsonArray(people))
                  .raw("skipped", JsonArray(skipped))
                  .str("encoding", ExchangeEncodingName(parse.encoding))
                  .text());
    if (stored.full) throw Error(FullTableImportMessage(kind, stored.slots.size(), records.size()));
    return 0;
}

Register exportReg({"export", "export --config FILE --list women|men --format csv|aaf --out FILE", RunExport});
Register importReg({"import",
                    "import --config FILE --list women|men --format csv|aaf --in FILE [--dry-run yes] "
                    "[--choose LINE=N,...] [--duplicates skip|keep] [--encoding utf-8|cp1251|latin1]",
                    RunImport});

}  // namespace
}  // namespace pelorin::cli
