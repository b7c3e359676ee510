#pragma once
// One person, the same 501 bytes in memory and in the person files, and the two
// person tables of 100 slots (slots 1..99 in use, slot 100 carried along).
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "base/short_text.h"

namespace pelorin {

static_assert(std::endian::native == std::endian::little,
              "person records are little-endian images");

#pragma pack(push, 1)
struct PersonRecord {
    ShortText<20> Name;        // padded with blanks to 20 characters
    std::int32_t Day;
    std::int32_t Month;
    std::int32_t Year;
    std::int32_t Hour;         // local civil time; 12 when unknown
    std::int32_t Minute;       // 0 when unknown
    std::uint8_t TimeKnown;    // 1 when the birth time was entered
    ShortText<10> Stamp;       // MMDDhhmmss; ten blanks mark a free slot
    ShortText<3> FileTag;      // "FEM"/"MEN" in a cleared slot
    ShortText<10> DateText;    // dd.mm.yyyy
    ShortText<5> TimeText;     // hh:mm or " --- "
    ShortText<81> ListLine;
    ShortText<1> Sex;          // "W" or "M"
    ShortText<1> ShiftFlag;    // "L": one hour is taken off the birth moment; "Z": Zone is exact
    ShortText<30> Place;
    ShortText<255> Comment;
    ShortText<19> CoordText;   // longitude first, e.g. " 93°13’ЗД  44°53’СШ"
    double Zone;               // hours east of Greenwich
    ShortText<5> ZoneText;     // "%5.1f"
    double Moment;             // day number of the birth in Universal Time
    std::int32_t Spare1;
    std::int32_t Spare2;
    std::uint8_t Spare3[4];
};
#pragma pack(pop)

static_assert(sizeof(PersonRecord) == 501);
static_assert(offsetof(PersonRecord, Name) == 0);
static_assert(offsetof(PersonRecord, Day) == 21);
static_assert(offsetof(PersonRecord, Month) == 25);
static_assert(offsetof(PersonRecord, Year) == 29);
static_assert(offsetof(PersonRecord, Hour) == 33);
static_assert(offsetof(PersonRecord, Minute) == 37);
static_assert(offsetof(PersonRecord, TimeKnown) == 41);
static_assert(offsetof(PersonRecord, Stamp) == 42);
static_assert(offsetof(PersonRecord, FileTag) == 53);
static_assert(offsetof(PersonRecord, DateText) == 57);
static_assert(offsetof(PersonRecord, TimeText) == 68);
static_assert(offsetof(PersonRecord, ListLine) == 74);
static_assert(offsetof(PersonRecord, Sex) == 156);
static_assert(offsetof(PersonRecord, ShiftFlag) == 158);
static_assert(offsetof(PersonRecord, Place) == 160);
static_assert(offsetof(PersonRecord, Comment) == 191);
static_assert(offsetof(PersonRecord, CoordText) == 447);
static_assert(offsetof(PersonRecord, Zone) == 467);
static_assert(offsetof(PersonRecord, ZoneText) == 475);
static_assert(offsetof(PersonRecord, Moment) == 481);
static_assert(offsetof(PersonRecord, Spare1) == 489);
static_assert(offsetof(PersonRecord, Spare2) == 493);
static_assert(offsetof(PersonRecord, Spare3) == 497);

inline constexpr int kTableSlots = 100;   // slots 1..100 in a file
inline constexpr int kUsableSlots = 99;   // slots 1..99 take part in operations
inline constexpr std::size_t kPersonFileSize = kTableSlots * sizeof(PersonRecord);  // 50,100
inline constexpr const char* kFreeStamp = "          ";  // ten blanks

enum class TableKind { Women, Men };

// `WomenTable` / `MenTable`: 100 slots numbered 1..100. `slots` is the raw file image.
struct PersonTable {
    TableKind kind = TableKind::Women;
    std::array<PersonRecord, kTableSlots> slots{};

    PersonRecord& slot(int n) { return slots.at(static_cast<std::size_t>(n - 1)); }
    const PersonRecord& slot(int n) const { return slots.at(static_cast<std::size_t>(n - 1)); }
};

// The person lists' state shared by the commands: the chosen people and the counts.
struct PeopleState {
    PersonTable WomenTable{TableKind::Women, {}};
    PersonTable MenTable{TableKind::Men, {}};
    PersonRecord ChosenWoman{};
    PersonRecord ChosenMan{};
    bool WomanChosen = false;
    bool ManChosen = false;
    int WomenCount = 0;
    int MenCount = 0;
    // Whether the table was read from its person file by a start-up that went
    // through. The commands that write people refuse while it is false, so that a
    // table that was never read is never written over the file.
    bool WomenLoaded = false;
    bool MenLoaded = false;
    // The file on which the last loading stopped (a start-up that failed, or a
    // list that no longer loads), for the message of a refused command; empty
    // when none did or it is not known.
    std::string LoadFailedOn;
};

bool IsFreeSlot(const PersonRecord& r);

// Reads the 50,100 bytes of the file into the table. Throws Error naming the file
// when it is missing, unreadable, shorter or longer; the table is then left
// unchanged.
void LoadPersonFile(const std::string& fileName, PersonTable& table);

// Rewrites the file whole through a temporary file and an atomic rename (through
// a symbolic link to its target), and first removes the temporary files that a
// killed rewrite left beside it: the caller holds the data directory's lock.
// Throws Error naming the file on failure; the old file is then untouched.
void SavePersonFile(const std::string& fileName, const PersonTable& table);

// Writes the cleared-slot pattern into slot 1..100; throws Error for other numbers.
void ClearSlot(PersonTable& table, int slot);

// Moves people up over free slots so that the used slots are 1..k, order kept.
void CompactTable(PersonTable& table);

enum class StampMatch { First, Last };
// Slot among 1..99 whose stamp equals `stamp`, or 0 when none.
int FindSlotByStamp(const PersonTable& table, std::string_view stamp,
                    StampMatch which = StampMatch::First);

// The ten-character stamp MMDDhhmmss of a local date and time.
std::string MakeStamp(const std::tm& local);
// The stamp of the current local date and time.
std::string MakeStamp();
// The stamp of `now` (local time), moved on a second at a time until no used slot
// of the table holds it, so that a stamp always names one person.
std::string MakeUniqueStamp(const PersonTable& table, std::time_t now);

// Sets `ListLine` from the record's other fields.
void BuildListLine(PersonRecord& record);

// First free slot among 1..99, or 0 when the table is full.
int FirstFreeSlot(const PersonTable& table);

// Used slots among 1..99 in slot order.
std::vector<int> UsedSlots(const PersonTable& table);

// The person file of a table in the data directory: "FEMIN.DAT" or "MEN.DAT".
const char* PersonFileName(TableKind kind);

// The list lines of the used slots, sorted as the list shows them (alphabetically,
// letters without regard to case, Cyrillic in the order of the alphabet).
std::vector<std::string> SortedListLines(const PersonTable& table);

// Orders two Windows-1251 texts as the sorted lists do: < 0, 0 or > 0.
int CompareListText(std::string_view a, std::string_view b);

}  // namespace pelorin
