#pragma once
// The four interpretation databases: line files of Windows-1251 text, scrambled on
// disk with the program's key, read whole into memory at start-up. An entry is a
// header line ("*" and seven three-character numeric fields), its text lines and
// an end line ("@"). Lookups find the first header that matches a key.
//
// Every lookup behaves as a scan of lines 1..1995 in order that converts the
// fields of each header it meets: a header with a field that is not a number
// stops the lookup with an error when it comes before the entry sought. The
// scan is answered from an index built when the lines are set; `FindLinear`
// is the plain scan itself, kept as the reference the index must agree with.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

inline constexpr int kTextBaseLines = 2000;   // lines 1..2000
inline constexpr int kLastHeaderLine = 1995;  // headers are looked for on lines 1..1995 only
inline constexpr int kHeaderFields = 7;

// The 20-byte key: byte k of a database file is the plain byte XOR FileKey[k mod 20].
extern const std::array<unsigned char, 20> FileKey;

// Scrambles or unscrambles (the operation is its own inverse).
std::string ScrambleBytes(std::string_view bytes);

// Splits text into lines as the databases are read: lines end with LF or CR LF;
// a final line end adds no line; an empty text is one empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Field F1..F7 of a header line (columns 3-5, 7-9, ... 27-29), or nothing when it
// is not a decimal integer (leading blanks and zeros and a sign allowed, nothing
// after the digits; a blank or missing field is not a number).
std::optional<int> HeaderField(std::string_view line, int field);

// Weight of an entry from its plus and minus fields: +F1 when F1 > 0, otherwise
// -F2 when F2 > 0, otherwise 0 (no weight).
int EntryWeight(int plusField, int minusField);

// What a lookup matches on and which fields it converts:
//   Aspect: F3 man's body, F4 angle, F7 woman's body; all seven; weight needed.
//   House:  F3 man's body, F5 house; all seven; weight needed.
//   Natal:  F1 first body, F2 aspect class, F3 second body, F4 flag; F1..F4.
//   Sign:   F2 sign, F3 body, F4 flag; all seven.
enum class EntryKind { Aspect = 0, House = 1, Natal = 2, Sign = 3 };
using EntryKey = std::array<int, 4>;  // in the order above; unused places 0

// Number of header fields a lookup of this kind converts.
int ConvertedFields(EntryKind kind);

struct FoundEntry {
    int line = 0;    // header line 1..1995, 0 when nothing matched
    int weight = 0;  // Aspect and House: the entry's weight (never 0 when found)
};

class TextBase {
public:
    // All 2000 lines empty: a database that was never loaded.
    TextBase();
    // Lines 1, 2, ... of a database named `name` (a file name, for messages).
    // Throws Error when there are more than 2000.
    TextBase(std::string name, std::vector<std::string> lines);

    const std::string& name() const { return name_; }
    // Line n, 1..2000; lines past the end of the file are empty.
    const std::string& line(int n) const;
    // Number of lines the file held.
    int lineCount() const { return count_; }

    // The first entry of `kind` matching `key`. Throws Error (naming the database,
    // the line and the field) when a header with a field that is not a number
    // comes first.
    FoundEntry Find(EntryKind kind, const EntryKey& key) const;
    FoundEntry FindLinear(EntryKind kind, const EntryKey& key) const;

    // Whether a lookup of `kind` finds an entry for `key` (for Aspect and House
    // one with a weight), headers with a field that is not a number aside.
    bool HasEntry(EntryKind kind, const EntryKey& key) const;

    // The text of the entry whose header is on `headerLine`: the lines from
    // `headerLine + skip` up to the end line, each followed by CR LF. Throws Error
    // when no end line comes before line 2000 is passed.
    std::string EntryText(int headerLine, int skip) const;

private:
    struct KindIndex {
        std::map<EntryKey, int> first;  // key -> first qualifying header line
        int firstBadLine = 0;           // first header with a field that is not a number
    };
    void BuildIndex();
    [[noreturn]] void ThrowBadHeader(int lineNo, int fields) const;

    std::string name_;
    std::vector<std::string> lines_;  // index 0 unused
    int count_ = 0;
    std::array<KindIndex, 4> index_{};
};

// The word after a weight of this magnitude in a report (Windows-1251): 1 "балл",
// 2..4 "балла", 5..10 "баллов"; nothing for other magnitudes.
std::optional<std::string> PointWords(int magnitude);

// The heading line of a written entry without its line end: five blanks, the
// signed weight ("+3", "-2") and the word. Throws Error for a magnitude above 10.
std::string PointsHeading(int weight, const std::string& database, int line);

// ---- Lookups -------------------------------------------------------------
// Body numbers are chart index + 1 (1 Sun ... 10 Pluto).

// Weight of the mutual aspect (man's body, angle, woman's body), or 0. Writes nothing.
int AspectWeight(const TextBase& aspects, int manBody, int angle, int womanBody);

// As AspectWeight, and appends the entry (heading, text, one empty line) to
// "Plus.txt" (positive weight) or "Minus.txt" (negative) in `dataDir`. Both
// files are created when missing, also when nothing matched.
int WriteAspectText(const TextBase& aspects, const std::string& dataDir, int manBody, int angle,
                    int womanBody);

// Weight of the man's body in the woman's house, or 0. Writes nothing, but
// refuses what WriteHouseText refuses (a weight no report can show), so that the
// scan and the pair analysis fail on the same databases.
int HouseWeight(const TextBase& houses, int manBody, int house);

// As HouseWeight, and appends like WriteAspectText.
int WriteHouseText(const TextBase& houses, const std::string& dataDir, int manBody, int house);

// Appends the text of the first natal entry (first body, aspect class 0/120/180,
// second body, flag 0/50) and one empty line to `outputFile` (created when
// missing). Returns whether an entry matched.
bool WriteNatalText(const TextBase& natal, const std::string& outputFile, int firstBody, int aspectClass,
                    int secondBody, int flag);

// Appends the text of the first sign entry (sign 1..12, body, flag 0/50) likewise.
bool WriteSignText(const TextBase& signs, const std::string& outputFile, int sign, int body, int flag);

// ---- Files ----------------------------------------------------------------

struct DatabaseFile {
    const char* source;  // scrambled database in the data directory
    const char* work;    // its work file
    const char* text;    // the UTF-8 source it is packed from
    EntryKind kind;
};

// In loading order: AspectTexts, HouseTexts, NatalAspectTexts, SignTexts and
// ReverseHouseTexts (her body in his house; the layout of HouseTexts with F3 her
// body and F5 his house).
inline constexpr std::array<DatabaseFile, 5> kDatabaseFiles{{
    {"data1.dat", "data2.dat", "aspects.txt", EntryKind::Aspect},
    {"data1_d.dat", "data2_d.dat", "houses.txt", EntryKind::House},
    {"as1.dat", "as2.dat", "natal.txt", EntryKind::Natal},
    {"pla1.dat", "pla2.dat", "signs.txt", EntryKind::Sign},
    {"data1_r.dat", "data2_r.dat", "her_houses.txt", EntryKind::House},
}};
// The database a data directory made by an earlier version lacks.
inline constexpr std::size_t kReverseDatabase = 4;

struct TextDatabases {
    TextBase AspectTexts, HouseTexts, NatalAspectTexts, SignTexts;
    // Her body (1..10) in his house (1..12), looked up as HouseTexts is.
    TextBase ReverseHouseTexts;
    // Empty when ReverseHouseTexts was loaded; otherwise why the data directory
    // has none (UTF-8): her bodies in his houses are then not scored.
    std::string ReverseMissing;
};

// Why the plain (unscrambled) text of a database of `kind` cannot serve as one
// (UTF-8, naming `name` and the line), or empty: an empty database, a byte that
// is no text (a control character: a damaged or foreign file), a header with a
// field its lookups convert that is not a number, or an entry without its end
// line (or with a header inside it).
std::string DatabaseTextProblem(EntryKind kind, std::string_view plain, const std::string& name);

// Unscrambles `source` of `dataDir` into its work file (which must exist), reads
// the lines and empties the work file again. Throws Error naming the file, also
// when the text is no database (DatabaseTextProblem).
TextBase LoadTextBase(const std::string& dataDir, const char* source, const char* work);

// Loads the databases in order. On an error the databases not yet loaded stay
// empty and the error is thrown on. A data directory made before the fifth
// database has no "data1_r.dat": it is copied in, with its empty work file, from
// `shippedDataDir` (the data directory the program ships, when known; the caller
// holds the data directory's lock). When that cannot be done the other four are
// loaded all the same, ReverseHouseTexts stays empty and ReverseMissing says so.
void LoadTextDatabases(const std::string& dataDir, TextDatabases& databases, const std::string& shippedDataDir = {});

// The keys the program can ask one of the databases for, and how many of them it
// lacks: aspects 450 (the man's nine bodies without the Moon, five angles, her ten
// bodies), houses 108 (his nine bodies, twelve houses), natal 45 (the fifteen
// pairs of the man's report and three aspect classes, either flag), signs 60 (the
// Sun in the twelve signs favourably, Venus and Mars in them either way), her
// bodies in his houses 120 (her ten bodies, his twelve houses).
struct KeyCoverage {
    int missing = 0;
    int total = 0;
};
KeyCoverage MissingKeys(const TextBase& base, const DatabaseFile& database);

// One warning (UTF-8) for each loaded database that lacks keys: its file and how
// many of how many keys. A database a person edits may lack them on purpose; it
// is used, and the warning says that some facts will have no text and no weight.
std::vector<std::string> DatabaseWarnings(const TextDatabases& databases);

}  // namespace pelorin
