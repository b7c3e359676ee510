#pragma once
// People in and out of the person files through the common exchange formats:
// CSV (UTF-8, a header row, RFC 4180 quoting) and the "#A93:"/"#B93:" records of
// the astrological exchange format AAF. The README lists the fields written.
//
// Reading never guesses: a line that does not read is reported with the file and
// line and left out; a place given only by name is looked up in the atlas, and a
// name that several cities bear is left for the person to choose.
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

// Every used slot of the table in the format, UTF-8.
std::string ExportPeople(const PersonTable& table, ExchangeFormat format);

// One person as the file gives it (cp1251 texts).
struct ImportRow {
    int line = 0;  // the line of the file the person starts on, from 1
    std::string name;
    char sex = 0;  // 'W', 'M', or 0 when the file does not say
    int day = 0, month = 0, year = 0;
    bool timeKnown = false;
    int hour = 12, minute = 0;
    std::string place;
    bool hasCoords = false;
    int latMinutes = 0, lonMinutes = 0;  // signed arc minutes: south and west negative
    bool hasZone = false;
    double zone = 0;          // hours east of Greenwich
    bool summerHour = false;  // one further hour of clock shift (Pelorin's mark "L")
    std::string comment;      // line breaks as '\n'
};

struct ImportProblem {
    int line = 0;
    std::string message;  // UTF-8, names the file and the line
};

struct ImportParse {
    std::vector<ImportRow> rows;
    std::vector<ImportProblem> problems;
};

// Reads a file's content. Throws Error naming the file when it is neither UTF-8
// nor Windows-1251 text, or (CSV) has no header with the columns "name" and "date".
ImportParse ParseExchange(std::string_view content, ExchangeFormat format, const std::string& fileName);

// Where an imported person's place comes from.
enum class PlaceSource {
    File,       // coordinates and zone as the file gives them
    Atlas,      // the one city of the atlas with that name, its zone at the birth
    MenEntry,   // a man whose place the atlas lacks: the place as typed, as the men's entry stores it
    Ambiguous,  // several cities bear the name: the person must choose
    Missing,    // no city of that name, or no place at all
};

struct ImportPlan {
    ImportRow row;
    PlaceSource source = PlaceSource::Missing;
    std::vector<CityHit> candidates;  // Ambiguous: the cities to choose from
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

// Sets the plan's place from one of its candidates (as the preview's choice).
// Throws Error when the atlas lines do not read.
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
