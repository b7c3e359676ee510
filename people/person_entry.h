#pragma once
// The store procedures of the two person entry dialogs: check what was typed, fill
// a new record, put it into the first free slot of the table and rewrite the
// person file. The dialogs only collect the fields and show the outcome.
#include <ctime>
#include <string>
#include <vector>

#include "people/person_record.h"
#include "people/place_chooser.h"

namespace pelorin {

// What the women's dialog collected. Texts are Windows-1251.
struct WomanEntry {
    std::string name;
    int day = 1, month = 1, year = 1980;
    bool oldStyle = false;  // the date is of the Julian calendar («по старому стилю»)
    bool timeKnown = false;
    int hour = 12, minute = 0;
    std::vector<std::string> commentLines;  // each counts as followed by a line end
};

// What the men's dialog collected. Texts are Windows-1251.
struct ManEntry {
    std::string name;
    int day = 15, month = 6, year = 1970;
    bool oldStyle = false;  // the date is of the Julian calendar («по старому стилю»)
    // The birth time, when known; it counts only with a place from the atlas
    // (StoreManAt), which gives the zone it is read in.
    bool timeKnown = false;
    int hour = 12, minute = 0;
    std::string place;  // country and city as typed, at most 25 characters
    std::vector<std::string> commentLines;
};

enum class EntryOutcome {
    Refused,    // the input was refused: show `message`, the dialog stays open
    Cancelled,  // no place was chosen: close the dialog, nothing stored
    Stored,     // stored into `slot` and the file rewritten: close the dialog
};

struct EntryResult {
    EntryOutcome outcome = EntryOutcome::Refused;
    std::string message;  // UTF-8, for Refused
    int slot = 0;         // for Stored
};

// The fixed coordinate text of a man entered with a typed place, Windows-1251.
std::string MenCoordText();

// Refusal of a known birth time with a typed place: without a place of the
// atlas there is no zone to read the time in (UTF-8).
inline constexpr const char* kManTimeNeedsAtlasMessage =
    "  Время рождения учитывается только с местом из атласа: нажмите «Выбрать место»  ";

// "dd.mm.yyyy".
std::string DateTextOf(int day, int month, int year);

// True for a date of the Gregorian calendar with a year of four digits.
bool IsCalendarDate(int day, int month, int year);

// The old style. Russia counted its dates in the Julian calendar until 31 January
// 1918, which was followed by 14 February 1918; a birth before that is mostly
// written in the old style. The entry dialogs offer the choice for a date typed
// before 1 February 1918 (OldStyleApplies); the record keeps the Gregorian date.
bool OldStyleApplies(int day, int month, int year);
// True for a date of the Julian calendar (every fourth year a leap year) with a
// year of four digits.
bool IsJulianCalendarDate(int day, int month, int year);
// The Gregorian date of the same day as a Julian calendar date (valid by
// IsJulianCalendarDate).
void JulianToGregorian(int& day, int& month, int& year);

// The years of birth the engine computes (IsServedMoment: the birth moment in
// Universal Time lies in them), and the refusal of a date outside them, with the
// years in it.
inline constexpr int kFirstServedYear = 1600;
inline constexpr int kLastServedYear = 2399;
bool IsServedYear(int year);
std::string UnservedDateMessage(int day, int month, int year);

// The comment of a new person: the lines each followed by CR LF, every LF, FF and
// CR a blank, padded with blanks to 250 characters, at most 255.
std::string EntryComment(const std::vector<std::string>& lines);

// The women's store procedure. An old-style date is checked in the Julian
// calendar and stored as its Gregorian date. Calls `chooser` for the place once
// the input is valid. A date outside the served years is refused (UnservedDateMessage), also
// a first or last day whose moment in Universal Time falls outside them. The person is added to the person file as it is on disk, read again
// under the data directory's lock, and `table` becomes the file as written.
// Throws Error when the file cannot be read or written, or the directory stays
// locked by another process; the table and the file are then left as they were.
EntryResult StoreWoman(const WomanEntry& entry, PlaceChooser& chooser, PersonTable& women,
                       const std::string& dataDir, std::time_t now);

// The men's store procedure with the place typed: no time, zone 0, the fixed
// coordinate text (the record as every man had it before the atlas served men).
// A known birth time is refused (kManTimeNeedsAtlasMessage). The same failure
// behaviour as StoreWoman.
EntryResult StoreMan(const ManEntry& entry, PersonTable& men, const std::string& dataDir,
                     std::time_t now);

// The men's store procedure with a place of the atlas, as the women's: `chooser`
// gives the place, its coordinates and the zone at the birth date and time (noon
// when the time is unknown); `entry.place` is not used. Only the name must be
// given. The same failure behaviour.
EntryResult StoreManAt(const ManEntry& entry, PlaceChooser& chooser, PersonTable& men,
                       const std::string& dataDir, std::time_t now);

}  // namespace pelorin
