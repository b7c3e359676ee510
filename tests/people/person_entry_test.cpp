#include "people/person_entry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <tuple>

#include "app/core/person_lists.h"
#include "astro/base_routines.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/person_chart.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ScratchDir;

PersonTable ClearedTable(TableKind kind) {
    PersonTable t{kind, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
    return t;
}

// The person file of the table in `dir`, as the entry finds it on disk.
void OnDisk(const ScratchDir& dir, const PersonTable& t) {
    SavePersonFile(dir.file(t.kind == TableKind::Women ? "FEMIN.DAT" : "MEN.DAT"), t);
}

void Occupy(PersonTable& t, int slot, const std::string& stamp) {
    t.slot(slot).Stamp.set(stamp);
    t.slot(slot).Name.set(PadRight("X", 20));
}

// 7 May 2024, 08:09:10 local time: the stamp "0507080910".
std::time_t Now() {
    std::tm tm{};
    tm.tm_year = 124;
    tm.tm_mon = 4;
    tm.tm_mday = 7;
    tm.tm_hour = 8;
    tm.tm_min = 9;
    tm.tm_sec = 10;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

// A chooser that picks a place in zone +3, or declines, and remembers what it saw.
class FakeChooser : public PlaceChooser {
public:
    bool choose = true;
    int calls = 0;
    std::string seenDate;
    bool ChoosePlace(PersonRecord& r) override {
        ++calls;
        seenDate = r.DateText.str();
        if (!choose) return false;
        r.Place.set(PadRight(Utf8ToCp1251("Россия, Москва"), 26));
        r.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
        r.Zone = 3;
        r.ZoneText.set("  3.0");
        return true;
    }
};

PersonTable LoadBack(const std::string& file, TableKind kind) {
    PersonTable t{kind, {}};
    LoadPersonFile(file, t);
    return t;
}

bool SameBytes(const PersonRecord& a, const PersonRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

WomanEntry Woman(const std::string& name = "Anna") {
    WomanEntry e;
    e.name = name;
    e.day = 5;
    e.month = 3;
    e.year = 1985;
    e.timeKnown = true;
    e.hour = 7;
    e.minute = 9;
    return e;
}

ManEntry Man(const std::string& name = "Ivan", const std::string& place = "Russia, Omsk") {
    ManEntry e;
    e.name = name;
    e.day = 15;
    e.month = 6;
    e.year = 1970;
    e.place = place;
    return e;
}

TEST(WomanEntry, KnownTimeFillsTheRecordAndRewritesTheFile) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women);
    OnDisk(dir, women);
    FakeChooser chooser;
    const EntryResult res = StoreWoman(Woman(), chooser, women, dir.path(), Now());
    ASSERT_EQ(res.outcome, EntryOutcome::Stored);
    ASSERT_EQ(res.slot, 1);
    EXPECT_EQ(chooser.seenDate, "05.03.1985");  // the zone is chosen by the date

    const PersonRecord& r = women.slot(1);
    EXPECT_EQ(r.Name.str(), "Anna" + std::string(16, ' '));
    EXPECT_EQ(+r.Day, 5);
    EXPECT_EQ(+r.Month, 3);
    EXPECT_EQ(+r.Year, 1985);
    EXPECT_EQ(r.DateText.str(), "05.03.1985");
    EXPECT_EQ(r.TimeText.str(), "07:09");
    EXPECT_EQ(+r.Hour, 7);
    EXPECT_EQ(+r.Minute, 9);
    EXPECT_EQ(r.TimeKnown, 1);
    EXPECT_EQ(r.Sex.str(), "W");
    EXPECT_EQ(r.ShiftFlag.str(), "L");
    EXPECT_EQ(r.FileTag.Len, 0);  // the working record starts from zero bytes
    EXPECT_EQ(r.Stamp.str(), "0507080910");
    EXPECT_EQ(r.ZoneText.str(), "  3.0");
    // 07:09 local in zone +3, less one hour: 1985-03-05 03:09 UT.
    EXPECT_NEAR(r.Moment, 31109.63125, 1e-9);
    EXPECT_EQ(+r.Spare1, 0);
    EXPECT_EQ(+r.Spare2, 0);

    const PersonTable back = LoadBack(dir.file("FEMIN.DAT"), TableKind::Women);
    EXPECT_TRUE(SameBytes(back.slot(1), r));
    EXPECT_TRUE(IsFreeSlot(back.slot(2)));
}

TEST(WomanEntry, UnknownTimeIsNoonWhateverTheHiddenFieldsHold) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women);
    OnDisk(dir, women);
    FakeChooser chooser;
    WomanEntry e = Woman();
    e.timeKnown = false;  // hour 7, minute 9 still typed
    ASSERT_EQ(StoreWoman(e, chooser, women, dir.path(), Now()).outcome, EntryOutcome::Stored);
    const PersonRecord& r = women.slot(1);
    EXPECT_EQ(+r.Hour, 12);
    EXPECT_EQ(+r.Minute, 0);
    EXPECT_EQ(r.TimeText.str(), " --- ");
    EXPECT_EQ(r.TimeKnown, 0);
    // 12:00 local in zone +3, less one hour: 08:00 UT.
    EXPECT_NEAR(r.Moment, 31109.8333333333, 1e-9);
}

TEST(WomanEntry, RefusalsAndCancelLeaveTableAndFileAlone) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women);
    const PersonTable before = women;
    FakeChooser chooser;

    EntryResult res = StoreWoman(Woman(""), chooser, women, dir.path(), Now());
    EXPECT_EQ(res.outcome, EntryOutcome::Refused);
    EXPECT_EQ(res.message, "  Не введено имя  ");

    WomanEntry feb31 = Woman();
    feb31.day = 31;
    feb31.month = 2;
    res = StoreWoman(feb31, chooser, women, dir.path(), Now());
    EXPECT_EQ(res.outcome, EntryOutcome::Refused);
    EXPECT_EQ(res.message, "  Неверная дата рождения: 31.02.1985  ");
    EXPECT_EQ(chooser.calls, 0);  // the atlas is not opened for a refused entry

    chooser.choose = false;
    res = StoreWoman(Woman(), chooser, women, dir.path(), Now());
    EXPECT_EQ(res.outcome, EntryOutcome::Cancelled);
    EXPECT_EQ(chooser.calls, 1);

    EXPECT_EQ(std::memcmp(&women, &before, sizeof women), 0);
    EXPECT_FALSE(FileReadable(dir.file("FEMIN.DAT")));
}

TEST(WomanEntry, NameIsCutOrPaddedToTwentyCharacters) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women);
    OnDisk(dir, women);
    FakeChooser chooser;
    StoreWoman(Woman("A"), chooser, women, dir.path(), Now());
    StoreWoman(Woman("ABCDEFGHIJKLMNOPQRST"), chooser, women, dir.path(), Now());
    StoreWoman(Woman("ABCDEFGHIJKLMNOPQRSTUVW"), chooser, women, dir.path(), Now());
    EXPECT_EQ(women.slot(1).Name.str(), "A" + std::string(19, ' '));
    EXPECT_EQ(women.slot(2).Name.str(), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(women.slot(3).Name.str(), "ABCDEFGHIJKLMNOPQRST");
}

TEST(ManEntry, FixedFieldsAsEveryManGetsThem) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    OnDisk(dir, men);
    const EntryResult res = StoreMan(Man(), men, dir.path(), Now());
    ASSERT_EQ(res.outcome, EntryOutcome::Stored);
    const PersonRecord& r = men.slot(1);
    EXPECT_EQ(r.Name.str(), "Ivan" + std::string(16, ' '));
    EXPECT_EQ(r.DateText.str(), "15.06.1970");
    EXPECT_EQ(+r.Hour, 12);
    EXPECT_EQ(+r.Minute, 0);
    EXPECT_EQ(r.TimeText.str(), " --- ");
    EXPECT_EQ(r.TimeKnown, 0);
    EXPECT_EQ(r.Place.str(), "Russia, Omsk" + std::string(14, ' '));
    EXPECT_EQ(r.Sex.str(), "M");
    EXPECT_EQ(r.ShiftFlag.str(), "L");
    EXPECT_EQ(+r.Zone, 0.0);
    EXPECT_EQ(r.ZoneText.str(), "  0.0");
    // Degree 0xB0, minute mark 0x92, "ЗД" and "СШ" in Windows-1251.
    EXPECT_EQ(r.CoordText.str(), " 93\xB0" "13\x92\xC7\xC4  44\xB0" "53\x92\xD1\xD8");
    EXPECT_EQ(r.CoordText.length(), 19);
    // 11:00 UT of the birth date.
    EXPECT_NEAR(r.Moment, 25732.9583333333, 1e-9);
    EXPECT_TRUE(SameBytes(LoadBack(dir.file("MEN.DAT"), TableKind::Men).slot(1), r));
}

TEST(ManEntry, PlaceOfTwentyFiveGetsOneBlankAndEmptyInputIsRefused) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    OnDisk(dir, men);
    const std::string place25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    ASSERT_EQ(StoreMan(Man("Ivan", place25), men, dir.path(), Now()).outcome, EntryOutcome::Stored);
    EXPECT_EQ(men.slot(1).Place.str(), place25 + " ");

    for (const ManEntry& e : {Man("Ivan", ""), Man("", "Omsk")}) {
        const EntryResult res = StoreMan(e, men, dir.path(), Now());
        EXPECT_EQ(res.outcome, EntryOutcome::Refused);
        EXPECT_EQ(res.message, "  Не введено имя или город ");
    }
    ManEntry bad = Man();
    bad.day = 31;
    bad.month = 4;
    EXPECT_EQ(StoreMan(bad, men, dir.path(), Now()).outcome, EntryOutcome::Refused);
    EXPECT_TRUE(IsFreeSlot(men.slot(2)));
}

TEST(PersonEntry, CalendarDates) {
    EXPECT_TRUE(IsCalendarDate(29, 2, 2000));
    EXPECT_TRUE(IsCalendarDate(29, 2, 1984));
    EXPECT_FALSE(IsCalendarDate(29, 2, 1900));
    EXPECT_FALSE(IsCalendarDate(29, 2, 1985));
    EXPECT_FALSE(IsCalendarDate(31, 6, 1970));
    EXPECT_TRUE(IsCalendarDate(31, 12, 2020));
    EXPECT_FALSE(IsCalendarDate(0, 1, 1980));
    EXPECT_FALSE(IsCalendarDate(1, 13, 1980));
}

// The old style: days of the Julian calendar and the Gregorian dates of the
// same days, across the centuries whose leap days differ.
TEST(PersonEntry, OldStyleDatesBecomeTheirGregorianDates) {
    struct Day {
        int d, m, y, gd, gm, gy;
    };
    for (const Day& c : {Day{31, 1, 1918, 13, 2, 1918},   // the last day of the old style in Russia
                         Day{1, 1, 1700, 11, 1, 1700},    // ten days until the Julian 29 February 1700
                         Day{29, 2, 1700, 11, 3, 1700},   // eleven from then on
                         Day{29, 2, 1900, 13, 3, 1900},
                         Day{4, 10, 1582, 14, 10, 1582},  // the eve of the Gregorian reform
                         Day{31, 12, 1799, 11, 1, 1800}}) {
        int d = c.d, m = c.m, y = c.y;
        ASSERT_TRUE(IsJulianCalendarDate(d, m, y));
        JulianToGregorian(d, m, y);
        EXPECT_EQ(DateTextOf(d, m, y), DateTextOf(c.gd, c.gm, c.gy)) << DateTextOf(c.d, c.m, c.y);
    }
    EXPECT_FALSE(IsJulianCalendarDate(29, 2, 1901));
    EXPECT_FALSE(IsJulianCalendarDate(31, 4, 1900));
    EXPECT_TRUE(OldStyleApplies(31, 1, 1918));
    EXPECT_FALSE(OldStyleApplies(1, 2, 1918));
    EXPECT_FALSE(OldStyleApplies(1, 1, 1919));

    // The entry checks an old-style date in its own calendar.
    test::ScratchDir dir;
    PersonTable men{TableKind::Men, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(men, i);
    SavePersonFile(dir.file("MEN.DAT"), men);
    ManEntry e = Man();
    e.day = 29, e.month = 2, e.year = 1900;
    EXPECT_EQ(StoreMan(e, men, dir.path(), Now()).outcome, EntryOutcome::Refused);
    e.oldStyle = true;
    ASSERT_EQ(StoreMan(e, men, dir.path(), Now()).outcome, EntryOutcome::Stored);
    EXPECT_EQ(men.slot(1).DateText.str(), "13.03.1900");
    e.day = 30;
    EXPECT_EQ(StoreMan(e, men, dir.path(), Now() + 1).outcome, EntryOutcome::Refused);
}

TEST(PersonEntry, ListLineCarriesTheStampWhereTheListLooksForIt) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    OnDisk(dir, men);
    StoreMan(Man(), men, dir.path(), Now());
    const std::string line = men.slot(1).ListLine.str();
    EXPECT_EQ(line, "Ivan                 15.06.1970   ---   Russia, Omsk                   0507080910");
    EXPECT_EQ(line.size(), 81u);
    EXPECT_EQ(StampOfListLine(line), men.slot(1).Stamp.str());
}

TEST(PersonEntry, FirstFreeSlotUniqueStampAndFullTable) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    Occupy(men, 1, "0101000000");
    Occupy(men, 2, "0507080910");  // the stamp the clock gives now
    Occupy(men, 4, "0101000001");
    OnDisk(dir, men);
    const EntryResult res = StoreMan(Man(), men, dir.path(), Now());
    ASSERT_EQ(res.outcome, EntryOutcome::Stored);
    EXPECT_EQ(res.slot, 3);
    EXPECT_EQ(men.slot(3).Stamp.str(), "0507080911");
    EXPECT_EQ(StampOfListLine(men.slot(3).ListLine.str()), "0507080911");

    PersonTable full = ClearedTable(TableKind::Women);
    for (int i = 1; i <= kUsableSlots; ++i) Occupy(full, i, "01010000" + std::string(1, char('0' + i / 10)) + char('0' + i % 10));
    const PersonTable before = full;
    FakeChooser chooser;
    const EntryResult w = StoreWoman(Woman(), chooser, full, dir.path(), Now());
    EXPECT_EQ(w.outcome, EntryOutcome::Refused);
    EXPECT_EQ(w.message, "   Вы не можете ввести более 99 женщин   ");
    EXPECT_EQ(chooser.calls, 0);
    EXPECT_EQ(std::memcmp(&full, &before, sizeof full), 0);  // slot 100 stays untouched
    EXPECT_FALSE(FileReadable(dir.file("FEMIN.DAT")));
}

// A man entered as before the atlas served men (typed place, no time): the 501
// bytes the men's entry has always stored, length bytes and zeros included.
TEST(ManEntry, TypedPlaceRecordIsByteForByteAsItWas) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    OnDisk(dir, men);
    ManEntry e = Man(Utf8ToCp1251("Иван Петров"), Utf8ToCp1251("Россия, Омск"));
    e.commentLines = {"a", Utf8ToCp1251("б")};
    const EntryResult res = StoreMan(e, men, dir.path(), Now());
    ASSERT_EQ(res.outcome, EntryOutcome::Stored);
    const std::string golden =
        "14c8e2e0ed20cfe5f2f0eee22020202020202020200f00000006000000b20700000c000000000000"
        "00000a30353037303830393130000000000a31352e30362e3139373005202d2d2d2051c8e2e0ed20"
        "cfe5f2f0eee22020202020202020202031352e30362e313937302020202d2d2d202020d0eef1f1e8"
        "ff2c20ceecf1ea2020202020202020202020202020202020202030353037303830393130014d014c"
        "1ad0eef1f1e8ff2c20ceecf1ea202020202020202020202020202000000000fa612020e120202020"
        "20202020202020202020202020202020202020202020202020202020202020202020202020202020"
        "20202020202020202020202020202020202020202020202020202020202020202020202020202020"
        "20202020202020202020202020202020202020202020202020202020202020202020202020202020"
        "20202020202020202020202020202020202020202020202020202020202020202020202020202020"
        "20202020202020202020202020202020202020202020202020202020202020202020202020202020"
        "20202020202020202020202020202020202020202020202020202020202020202020202020202020"
        "2020000000000013203933b0313392c7c420203434b0353392d1d80000000000000000052020302e"
        "30555555553d21d940000000000000000000000000";
    std::string bytes;
    const auto* p = reinterpret_cast<const unsigned char*>(&men.slot(res.slot));
    for (std::size_t i = 0; i < sizeof(PersonRecord); ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", p[i]);
        bytes += hex;
    }
    EXPECT_EQ(bytes, golden);
    EXPECT_FALSE(HasHouses(men.slot(res.slot)));
}

// A man at a place of the atlas: his time, the chooser's place and zone, the
// moment of that local time; without a time local noon there. A typed place
// with a time is refused: no zone to read the time in.
TEST(ManEntry, AtlasPlaceStoresHisTimeAndPlaceAsAWomansAre) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    OnDisk(dir, men);
    FakeChooser chooser;
    ManEntry e = Man();
    e.place.clear();  // not needed with the atlas
    e.timeKnown = true;
    e.hour = 7;
    e.minute = 9;
    ASSERT_EQ(StoreManAt(e, chooser, men, dir.path(), Now()).outcome, EntryOutcome::Stored);
    EXPECT_EQ(chooser.seenDate, "15.06.1970");
    const PersonRecord& r = men.slot(1);
    EXPECT_EQ(r.Sex.str(), "M");
    EXPECT_EQ(r.TimeText.str(), "07:09");
    EXPECT_EQ(r.TimeKnown, 1);
    EXPECT_EQ(Cp1251ToUtf8(r.CoordText.str()), " 37°37’ВД  55°45’СШ");
    EXPECT_EQ(r.ZoneText.str(), "  3.0");
    // The fake chooser leaves the mark "L": 07:09 less zone 3 less the further hour.
    EXPECT_NEAR(r.Moment, DayNumberOf(15, 6, 1970, 7, 9, 0) - 3.0 / 24 - 1.0 / 24, 1e-9);
    EXPECT_TRUE(HasHouses(r));
    EXPECT_NE(r.ListLine.str().find("07:09"), std::string::npos);  // the list shows his time

    e.timeKnown = false;  // hour 7, minute 9 still typed
    ASSERT_EQ(StoreManAt(e, chooser, men, dir.path(), Now() + 1).outcome, EntryOutcome::Stored);
    EXPECT_EQ(men.slot(2).TimeText.str(), " --- ");
    EXPECT_NEAR(men.slot(2).Moment, DayNumberOf(15, 6, 1970, 12, 0, 0) - 4.0 / 24, 1e-9);
    EXPECT_FALSE(HasHouses(men.slot(2)));

    chooser.choose = false;
    EXPECT_EQ(StoreManAt(e, chooser, men, dir.path(), Now()).outcome, EntryOutcome::Cancelled);
    EXPECT_EQ(StoreManAt(Man(""), chooser, men, dir.path(), Now()).message, "  Не введено имя  ");
    ManEntry typed = Man();
    typed.timeKnown = true;
    const EntryResult refused = StoreMan(typed, men, dir.path(), Now());
    EXPECT_EQ(refused.outcome, EntryOutcome::Refused);
    EXPECT_EQ(refused.message, kManTimeNeedsAtlasMessage);
    EXPECT_TRUE(IsFreeSlot(LoadBack(dir.file("MEN.DAT"), TableKind::Men).slot(3)));
}

TEST(PersonEntry, CommentLinesBecomeOneLineOf250To255) {
    EXPECT_EQ(EntryComment({}), std::string(250, ' '));
    EXPECT_EQ(EntryComment({"a", "b", "c"}), "a  b  c  " + std::string(241, ' '));
    EXPECT_EQ(EntryComment({"x\fy"}), "x y  " + std::string(245, ' '));
    const std::string longLine(300, 'z');
    EXPECT_EQ(EntryComment({longLine}), std::string(255, 'z'));
    EXPECT_EQ(EntryComment({std::string(252, 'q')}), std::string(252, 'q') + "  ");
}

TEST(PersonEntry, FailedSaveIsRaisedAndTheSlotGivenBack) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    const PersonTable before = men;
    EXPECT_THROW(StoreMan(Man(), men, dir.path() + "missing/", Now()), Error);
    EXPECT_EQ(std::memcmp(&men, &before, sizeof men), 0);
}

// The engine computes births of 1600..2399 only: a date outside is refused at
// entry, with the years in the message, before the atlas is opened; on the
// first day of those years a zone east of Greenwich can still carry the moment
// outside, and that is refused too.
TEST(PersonEntry, DatesOutsideTheServedYearsAreRefusedWithTheYears) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women), men = ClearedTable(TableKind::Men);
    OnDisk(dir, women);
    OnDisk(dir, men);
    const std::string womenBefore = test::ReadFile(dir.file("FEMIN.DAT"));
    const std::string menBefore = test::ReadFile(dir.file("MEN.DAT"));
    FakeChooser chooser;
    for (const auto& [d, m, y] : {std::tuple{1, 1, 1599}, std::tuple{1, 1, 2400}, std::tuple{31, 12, 9999}}) {
        WomanEntry w = Woman();
        w.day = d, w.month = m, w.year = y;
        EntryResult res = StoreWoman(w, chooser, women, dir.path(), Now());
        EXPECT_EQ(res.outcome, EntryOutcome::Refused);
        EXPECT_NE(res.message.find(DateTextOf(d, m, y)), std::string::npos) << res.message;
        EXPECT_NE(res.message.find("1600–2399"), std::string::npos) << res.message;
        ManEntry e = Man();
        e.day = d, e.month = m, e.year = y;
        res = StoreMan(e, men, dir.path(), Now());
        EXPECT_EQ(res.outcome, EntryOutcome::Refused);
        EXPECT_NE(res.message.find("1600–2399"), std::string::npos) << res.message;
    }
    EXPECT_EQ(chooser.calls, 0);
    // 1 January 1600 at 01:00 in zone +3: 21:00 UT (less the hour of "L") of
    // the last day of 1599.
    WomanEntry early = Woman();
    early.day = 1, early.month = 1, early.year = 1600, early.hour = 1, early.minute = 0;
    EXPECT_EQ(StoreWoman(early, chooser, women, dir.path(), Now()).outcome, EntryOutcome::Refused);
    EXPECT_EQ(test::ReadFile(dir.file("FEMIN.DAT")), womenBefore);
    EXPECT_EQ(test::ReadFile(dir.file("MEN.DAT")), menBefore);
    // The edges themselves are served.
    ManEntry first = Man(), last = Man();
    first.day = 1, first.month = 1, first.year = 1600;
    last.day = 31, last.month = 12, last.year = 2399;
    EXPECT_EQ(StoreMan(first, men, dir.path(), Now()).outcome, EntryOutcome::Stored);
    EXPECT_EQ(StoreMan(last, men, dir.path(), Now() + 1).outcome, EntryOutcome::Stored);
}

}  // namespace
}  // namespace pelorin
