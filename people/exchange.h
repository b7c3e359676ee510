#pragma once
// People in and out of the person files through the common exchange formats:
// CSV (UTF-8, a header row, RFC 4180 quoting) and the "#A93:"/"#B93:" records of
// the astrological exchange format AAF. The README lists the fields written and
// the forms read (other programs' column names, the AAF's calendar marks, local
// mean time, zones with seconds, the #B93 instant).
//
// Reading never guesses: a line that does not read is reported with the file and
// line and left out; a place given only by name is looked up in the atlas, and a
// name that several cities bear is left for the person to choose. What a reading
// converts (an old-style date, letters Windows-1251 lacks, a name cut to 20
// characters) is said in the person's notes.
//
// The readers live in exchange_csv.cpp and exchange_aaf.cpp (their common pieces
// in exchange_read.*), the import plan in exchange_plan.cpp.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "people/city_search.h"
#include "people/person_record.h"

namespace pelorin {

enum class ExchangeFormat { Csv, Aaf };

// The format of a file: by its extension (".csv", ".aaf", any case), and for
// any other name by its content (AAF records begin with '#').
ExchangeFormat ExchangeFormatOfFile(const std::string& fileName, std::string_view content);

// Every used slot of the table in the format, UTF-8. A man entered with a typed
// place (the fixed coordinate text, zone 0, no time) has no known place: his
// coordinates, zone and summer hour are written as "*" (AAF) or empty cells (CSV),
// and the Julian day of a person without a birth time as "*".
std::string ExportPeople(const PersonTable& table, ExchangeFormat format);

// How the text of a file is read. Auto: UTF-8 when the bytes are UTF-8, else
// Windows-1251 or Latin-1 (Windows-1252) by plausibility: words that mix Latin
// letters with letters of the upper half read as Latin-1.
enum class ExchangeEncoding { Auto, Utf8, Cp1251, Latin1 };

// "utf-8", "cp1251", "latin1" (the names --encoding takes; Auto: "auto").
const char* ExchangeEncodingName(ExchangeEncoding encoding);
// The encoding of such a name, or nothing.
std::optional<ExchangeEncoding> ExchangeEncodingNamed(std::string_view name);

// One person as the file gives it (cp1251 texts).
struct ImportRow {
    int line = 0;  // the line of the file the person starts on, from 1
    std::string name;
    char sex = 0;  // 'W', 'M', or 0 when the file does not say
    int day = 0, month = 0, year = 0;
    bool timeKnown = false;
    int hour = 12, minute = 0;
    int second = 0;  // of a time given with seconds: kept in the moment, not in the record's fields
    std::string place;
    bool hasCoords = false;
    int latMinutes = 0, lonMinutes = 0;  // signed arc minutes: south and west negative
    bool hasZone = false;
    double zone = 0;          // hours east of Greenwich
    bool summerHour = false;  // one further hour of clock shift (Pelorin's mark "L")
    std::string zoneName;     // an IANA zone name instead of `zone` (CSV): the plan reads it
    std::string comment;      // line breaks as '\n'
    std::vector<std::string> notes;  // UTF-8: what the reading converted or left out
};

struct ImportProblem {
    int line = 0;
    std::string message;  // UTF-8, names the file and the line
};

struct ImportParse {
    std::vector<ImportRow> rows;
    std::vector<ImportProblem> problems;
    ExchangeEncoding encoding = ExchangeEncoding::Utf8;  // how the text was read (never Auto)
};

// Reads a file's content. Throws Error naming the file when it is not text in
// the encoding asked for (Auto: in none of the three), or (CSV) has no header
// naming a name and a birth date (the message lists the columns read).
ImportParse ParseExchange(std::string_view content, ExchangeFormat format, const std::string& fileName,
                          ExchangeEncoding encoding = ExchangeEncoding::Auto);

// Where an imported person's place comes from.
enum class PlaceSource {
    File,       // coordinates and zone as the file gives them
    Atlas,      // the one city of the atlas with that name, its zone at the birth
    MenEntry,   // a man whose place the atlas lacks: the place as typed, as the men's entry stores it
    Ambiguous,  // several cities bear the name: the person must choose
    Missing,    // no city of that name, or no place at all
    NearestZone,   // coordinates from the file, the zone of the nearest atlas city (within 100 km)
    ZoneToChoose,  // coordinates from the file, no atlas city within 100 km: the person chooses whose zone
};

// How far an atlas city may lie from a place given by coordinates alone for its
// zone to be taken without asking.
inline constexpr double kNearestZoneKm = 100;

struct ImportPlan {
    ImportRow row;
    TableKind kind = TableKind::Women;  // the list the person goes into
    PlaceSource source = PlaceSource::Missing;
    std::vector<CityHit> candidates;  // Ambiguous, ZoneToChoose: the cities to choose from
    std::optional<PersonRecord> record;  // ready to store (stamp and list line still to come)
    std::string note;  // UTF-8: what the preview says about the person
};

// Builds the records of the rows for the table's kind, as the entry dialogs
// build them. `search` finds the cities of rows without coordinates; `dataDir`
// holds the region files and the zone table. A row of the other sex becomes a
// problem instead.
std::vector<ImportPlan> PlanImport(const ImportParse& parse, TableKind kind, const CitySearch& search,
                                   const std::string& dataDir, const std::string& fileName,
                                   std::vector<ImportProblem>& problems);

// Whether the plan waits for a city to be chosen (Ambiguous, ZoneToChoose).
bool NeedsChoice(const ImportPlan& plan);

// Sets the plan's place from one of its candidates (as the preview's choice):
// Ambiguous takes the city, ZoneToChoose only its zone at the birth. Throws Error
// when the atlas lines do not read.
void ChooseCandidate(ImportPlan& plan, std::size_t candidate, const std::string& dataDir);

// Whether the table already holds a person of the row's name and birth date
// (and birth time, where both know it): an import of the same file twice.
bool AlreadyListed(const ImportRow& row, const PersonTable& table);
bool AlreadyListed(const PersonRecord& record, const PersonTable& table);

// What an import does with a person already listed (AlreadyListed).
enum class ImportDuplicates {
    Keep,  // stores them again (the window's preview, where the person ticks them)
    Skip,  // leaves them out: running an import twice stores nobody twice
};

struct ImportStored {
    std::vector<int> slots;          // slot of each record stored, in order
    std::vector<int> slotOf;         // for each record given: its slot, 0 when not stored
    std::vector<std::size_t> listed; // records left out as already listed (Skip)
    bool full = false;               // the table filled up before all were stored
};

// Stores the records under the data directory's lock into the free slots of the
// person file as it is on disk, each with a unique stamp and its list line, and
// rewrites the file once. With Skip, a record of a person the file already held
// before this import is left out. Nothing already stored is changed. Throws Error
// when the file cannot be read or written (nothing is then stored).
ImportStored StoreImported(const std::vector<PersonRecord>& records, TableKind kind, const std::string& dataDir,
                           std::time_t now, ImportDuplicates duplicates = ImportDuplicates::Keep);

// "В списке нет места: сохранено N из M" and the like, UTF-8.
std::string FullTableImportMessage(TableKind kind, std::size_t stored, std::size_t wanted);

}  // namespace pelorin
