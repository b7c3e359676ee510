#include "people/person_entry.h"

#include <cstdio>
#include <cstring>

#include "astro/birth_moment.h"
#include "astro/chart.h"
#include "base/cp1251.h"
#include "base/dir_lock.h"
#include "base/file_io.h"
#include "people/person_chart.h"

namespace pelorin {
namespace {

std::string TwoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string FourDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

// A new record: every byte zero, then the fields the two dialogs fill alike.
PersonRecord NewRecord(const std::string& name, int day, int month, int year) {
    PersonRecord r;
    std::memset(&r, 0, sizeof r);
    r.Name.set(PadRight(CutTo(name, 20), 20));
    r.Day = day;
    r.Month = month;
    r.Year = year;
    r.DateText.set(DateTextOf(day, month, year));
    r.ShiftFlag.set("L");
    return r;
}

void SetKnownTime(PersonRecord& r, int hour, int minute) {
    r.Hour = hour;
    r.Minute = minute;
    r.TimeText.set(TwoDigits(hour) + ":" + TwoDigits(minute));
    r.TimeKnown = 1;
}

void SetUnknownTime(PersonRecord& r) {
    r.Hour = 12;
    r.Minute = 0;
    r.TimeText.set(" --- ");
    r.TimeKnown = 0;
}

std::string BadDateMessage(int day, int month, int year) {
    return "  Неверная дата рождения: " + DateTextOf(day, month, year) + "  ";
}

std::string FullTableMessage(TableKind kind) {
    return kind == TableKind::Women ? "   Вы не можете ввести более 99 женщин   "
                                    : "   Вы не можете ввести более 99 мужчин   ";
}

// Comment, list line, spare fields and moment; then, under the data directory's
// lock, the person file read again (another copy of the program may have changed
// it), the stamp made unique in it, the first free slot and the file rewritten.
// `table` becomes the file as written; it is left as it was when nothing was
// stored.
EntryResult Finish(PersonRecord& r, const std::vector<std::string>& commentLines, PersonTable& table,
                   const std::string& dataDir, std::time_t now, const char* fileName) {
    r.Comment.set(EntryComment(commentLines));
    r.Spare1 = 0;
    r.Spare2 = 0;
    std::memset(r.Spare3, 0, sizeof r.Spare3);
    StoreBirthMoment(r);
    // On the first and the last day of the served years the zone can carry the
    // moment outside them: such a person could never be analysed.
    if (!IsServedMoment(r.Moment)) return {EntryOutcome::Refused, UnservedDateMessage(r.Day, r.Month, r.Year), 0};

    const DirLock lock(dataDir);
    const std::string file = JoinPath(dataDir, fileName);
    PersonTable fresh{table.kind, {}};
    LoadPersonFile(file, fresh);
    const int slot = FirstFreeSlot(fresh);
    if (slot == 0) return {EntryOutcome::Refused, FullTableMessage(table.kind), 0};
    r.Stamp.set(MakeUniqueStamp(fresh, now));
    BuildListLine(r);
    fresh.slot(slot) = r;
    SavePersonFile(file, fresh);
    table = fresh;
    return {EntryOutcome::Stored, {}, slot};
}

}  // namespace

std::string MenCoordText() { return Utf8ToCp1251(" 93°13’ЗД  44°53’СШ"); }

std::string DateTextOf(int day, int month, int year) {
    return TwoDigits(day) + "." + TwoDigits(month) + "." + FourDigits(year);
}

bool IsCalendarDate(int day, int month, int year) {
    if (year < 1000 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

bool OldStyleApplies(int day, int month, int year) {
    (void)day;
    return year < 1918 || (year == 1918 && month < 2);
}

bool IsJulianCalendarDate(int day, int month, int year) {
    if (year < 1000 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return day <= kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
}

void JulianToGregorian(int& day, int& month, int& year) {
    // The day's number (Julian Day Number) counted in the Julian calendar, then
    // read back in the Gregorian one.
    const long a = (14 - month) / 12;
    const long y = year + 4800 - a;
    const long m = month + 12 * a - 3;
    const long jdn = day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
    const long g = jdn + 32044;
    const long b = (4 * g + 3) / 146097;
    const long c = g - 146097 * b / 4;
    const long d = (4 * c + 3) / 1461;
    const long e = c - 1461 * d / 4;
    const long n = (5 * e + 2) / 153;
    day = static_cast<int>(e - (153 * n + 2) / 5 + 1);
    month = static_cast<int>(n + 3 - 12 * (n / 10));
    year = static_cast<int>(100 * b + d - 4800 + n / 10);
}

namespace {

// The entry's date as the record keeps it: an old-style date checked in the
// Julian calendar and turned into its Gregorian date. False when the date does
// not exist in its calendar.
bool EntryDate(bool oldStyle, int& day, int& month, int& year) {
    if (!oldStyle) return IsCalendarDate(day, month, year);
    if (!IsJulianCalendarDate(day, month, year)) return false;
    JulianToGregorian(day, month, year);
    return true;
}

}  // namespace

bool IsServedYear(int year) { return year >= kFirstServedYear && year <= kLastServedYear; }

std::string UnservedDateMessage(int day, int month, int year) {
    return "  Дата рождения " + DateTextOf(day, month, year) + " вне " + std::to_string(kFirstServedYear) + "–" +
           std::to_string(kLastServedYear) + " годов (по всемирному времени), которые рассчитывает программа  ";
}

std::string EntryComment(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    for (char& c : text)
        if (c == '\n' || c == '\f' || c == '\r') c = ' ';
    if (text.size() < 250) text.resize(250, ' ');
    return CutTo(text, 255);
}

EntryResult StoreWoman(const WomanEntry& typed, PlaceChooser& chooser, PersonTable& women,
                       const std::string& dataDir, std::time_t now) {
    if (typed.name.empty()) return {EntryOutcome::Refused, "  Не введено имя  ", 0};
    WomanEntry e = typed;
    if (!EntryDate(e.oldStyle, e.day, e.month, e.year))
        return {EntryOutcome::Refused, BadDateMessage(typed.day, typed.month, typed.year), 0};
    if (!IsServedYear(e.year)) return {EntryOutcome::Refused, UnservedDateMessage(e.day, e.month, e.year), 0};
    if (e.timeKnown && (e.hour < 0 || e.hour > 23 || e.minute < 0 || e.minute > 59))
        return {EntryOutcome::Refused, "  Неверное время рождения  ", 0};
    // Checked before the atlas is opened, so that nobody chooses a place in vain.
    if (FirstFreeSlot(women) == 0) return {EntryOutcome::Refused, FullTableMessage(TableKind::Women), 0};

    PersonRecord r = NewRecord(e.name, e.day, e.month, e.year);
    if (e.timeKnown) SetKnownTime(r, e.hour, e.minute);
    else SetUnknownTime(r);
    r.Sex.set("W");
    if (!chooser.ChoosePlace(r)) return {EntryOutcome::Cancelled, {}, 0};
    return Finish(r, e.commentLines, women, dataDir, now, "FEMIN.DAT");
}

EntryResult StoreMan(const ManEntry& typed, PersonTable& men, const std::string& dataDir, std::time_t now) {
    if (typed.name.empty() || typed.place.empty())
        return {EntryOutcome::Refused, "  Не введено имя или город ", 0};
    ManEntry e = typed;
    if (!EntryDate(e.oldStyle, e.day, e.month, e.year))
        return {EntryOutcome::Refused, BadDateMessage(typed.day, typed.month, typed.year), 0};
    if (!IsServedYear(e.year)) return {EntryOutcome::Refused, UnservedDateMessage(e.day, e.month, e.year), 0};
    if (e.timeKnown) return {EntryOutcome::Refused, kManTimeNeedsAtlasMessage, 0};

    PersonRecord r = NewRecord(e.name, e.day, e.month, e.year);
    SetUnknownTime(r);
    r.Place.set(PadRight(CutTo(e.place, 25), 26));
    r.Sex.set("M");
    r.ZoneText.set("  0.0");
    r.Zone = 0;
    r.CoordText.set(MenCoordText());
    return Finish(r, e.commentLines, men, dataDir, now, "MEN.DAT");
}

EntryResult StoreManAt(const ManEntry& typed, PlaceChooser& chooser, PersonTable& men, const std::string& dataDir,
                       std::time_t now) {
    if (typed.name.empty()) return {EntryOutcome::Refused, "  Не введено имя  ", 0};
    ManEntry e = typed;
    if (!EntryDate(e.oldStyle, e.day, e.month, e.year))
        return {EntryOutcome::Refused, BadDateMessage(typed.day, typed.month, typed.year), 0};
    if (!IsServedYear(e.year)) return {EntryOutcome::Refused, UnservedDateMessage(e.day, e.month, e.year), 0};
    if (e.timeKnown && (e.hour < 0 || e.hour > 23 || e.minute < 0 || e.minute > 59))
        return {EntryOutcome::Refused, "  Неверное время рождения  ", 0};
    if (FirstFreeSlot(men) == 0) return {EntryOutcome::Refused, FullTableMessage(TableKind::Men), 0};

    PersonRecord r = NewRecord(e.name, e.day, e.month, e.year);
    if (e.timeKnown) SetKnownTime(r, e.hour, e.minute);
    else SetUnknownTime(r);
    r.Sex.set("M");
    if (!chooser.ChoosePlace(r)) return {EntryOutcome::Cancelled, {}, 0};
    return Finish(r, e.commentLines, men, dataDir, now, "MEN.DAT");
}

}  // namespace pelorin
