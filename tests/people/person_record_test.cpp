#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <random>

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "base/native_path.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ScratchDir;

PersonTable ClearedTable(TableKind kind) {
    PersonTable t{kind, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
    return t;
}

PersonRecord Person(const std::string& name, const std::string& stamp, const std::string& date = "01.02.1980") {
    PersonTable t = ClearedTable(TableKind::Women);
    PersonRecord r = t.slot(1);
    r.Name.set(PadRight(Utf8ToCp1251(name), 20));
    r.Stamp.set(stamp);
    r.FileTag.set("");
    r.DateText.set(date);
    r.TimeText.set("10:30");
    r.Place.set(PadRight(Utf8ToCp1251("Москва"), 26));
    r.Sex.set("W");
    r.ShiftFlag.set("L");
    return r;
}

TEST(ShortText, LengthByteBeyondFieldIsClampedAndKept) {
    ShortText<5> t{};
    std::memcpy(t.Data, "abcde", 5);
    t.Len = 200;  // a damaged file
    EXPECT_EQ(t.str(), "abcde");
    EXPECT_EQ(t.Len, 200);
    t.set("too long text");
    EXPECT_EQ(t.str(), "too l");
    EXPECT_EQ(t.Len, 5);
}

TEST(ShortText, SetKeepsBytesAfterTheText) {
    ShortText<6> t{};
    std::memcpy(t.Data, "XXXXXX", 6);
    t.set("ab");
    EXPECT_EQ(std::string(t.Data, 6), "abXXXX");
}

TEST(PersonTable, ClearedSlotPattern) {
    PersonTable t{TableKind::Men, {}};
    std::memset(&t.slot(7), 0x5A, sizeof(PersonRecord));
    ClearSlot(t, 7);
    const PersonRecord& r = t.slot(7);
    EXPECT_EQ(r.Name.str(), std::string(20, ' '));
    EXPECT_EQ(r.Stamp.str(), std::string(10, ' '));
    EXPECT_EQ(r.FileTag.str(), "MEN");
    EXPECT_EQ(r.TimeText.str(), " --- ");
    EXPECT_EQ(r.ListLine.str(), std::string(81, ' '));
    EXPECT_EQ(r.Sex.str(), " ");
    EXPECT_EQ(r.Place.str(), std::string(30, ' '));
    EXPECT_EQ(r.Comment.str(), " ");
    EXPECT_EQ(r.Comment.Data[1], 0x5A);  // only the first comment byte is written
    EXPECT_EQ(r.CoordText.str(), std::string(19, ' '));
    EXPECT_EQ(r.ZoneText.str(), std::string(5, ' '));
    EXPECT_EQ(+r.Day, 0);  // packed fields are read by value
    EXPECT_EQ(+r.Zone, 0.0);
    EXPECT_EQ(+r.Moment, 0.0);
    EXPECT_TRUE(IsFreeSlot(r));
    PersonTable w{TableKind::Women, {}};
    ClearSlot(w, 100);
    EXPECT_EQ(w.slot(100).FileTag.str(), "FEM");
    EXPECT_THROW(ClearSlot(w, 0), Error);
    EXPECT_THROW(ClearSlot(w, 101), Error);
}

TEST(PersonTable, ListLineHasTheStampAtColumn72) {
    PersonRecord r = Person("Анна", "0314101520");
    BuildListLine(r);
    const std::string line = r.ListLine.str();
    ASSERT_EQ(line.size(), 81u);
    EXPECT_EQ(line.substr(71, 10), "0314101520");
    EXPECT_EQ(line.substr(0, 21), PadRight(Utf8ToCp1251("Анна"), 20) + " ");
    EXPECT_EQ(line.substr(21, 10), "01.02.1980");
    EXPECT_EQ(line.substr(31, 2), "  ");
    EXPECT_EQ(line.substr(33, 5), "10:30");
    EXPECT_EQ(line.substr(40, 26), PadRight(Utf8ToCp1251("Москва"), 26));
    EXPECT_EQ(line.substr(66, 5), "     ");
}

TEST(PersonTable, ListLineCutsLongFields) {
    PersonRecord r = Person("Анна", "0314101520");
    r.Place.set(std::string(30, 'p'));  // a 30-character place pushes the stamp out
    BuildListLine(r);
    const std::string line = r.ListLine.str();
    EXPECT_EQ(line.size(), 81u);
    EXPECT_EQ(line.substr(40, 30), std::string(30, 'p'));
    EXPECT_EQ(line.substr(70, 5), "     ");
    EXPECT_EQ(line.substr(75), "031410");
}

TEST(PersonTable, CompactKeepsOrderAndNeverTouchesSlot100) {
    PersonTable t = ClearedTable(TableKind::Women);
    t.slot(2) = Person("B", "0000000002");
    t.slot(5) = Person("C", "0000000005");
    t.slot(6) = Person("D", "0000000006");
    t.slot(99) = Person("E", "0000000099");
    t.slot(100) = Person("Z", "0000000100");
    CompactTable(t);
    EXPECT_EQ(UsedSlots(t), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(t.slot(1).Name.str().substr(0, 1), "B");
    EXPECT_EQ(t.slot(2).Name.str().substr(0, 1), "C");
    EXPECT_EQ(t.slot(3).Name.str().substr(0, 1), "D");
    EXPECT_EQ(t.slot(4).Name.str().substr(0, 1), "E");
    EXPECT_TRUE(IsFreeSlot(t.slot(99)));
    EXPECT_EQ(t.slot(100).Stamp.str(), "0000000100");
}

TEST(PersonTable, CompactClosesOneGapInOnePass) {
    PersonTable t = ClearedTable(TableKind::Men);
    for (int i = 1; i <= 99; ++i) t.slot(i) = Person("P" + std::to_string(i), std::to_string(1000000000 + i));
    ClearSlot(t, 40);
    CompactTable(t);
    EXPECT_EQ(UsedSlots(t).size(), 98u);
    EXPECT_EQ(t.slot(40).Stamp.str(), "1000000041");
    EXPECT_EQ(t.slot(98).Stamp.str(), "1000000099");
    EXPECT_TRUE(IsFreeSlot(t.slot(99)));
}

TEST(PersonTable, FindByStampFirstAndLast) {
    PersonTable t = ClearedTable(TableKind::Men);
    t.slot(3) = Person("A", "0101010101");
    t.slot(8) = Person("B", "0101010101");
    t.slot(100) = Person("C", "0202020202");
    EXPECT_EQ(FindSlotByStamp(t, "0101010101", StampMatch::First), 3);
    EXPECT_EQ(FindSlotByStamp(t, "0101010101", StampMatch::Last), 8);
    EXPECT_EQ(FindSlotByStamp(t, "0202020202"), 0);  // slot 100 is never looked at
    EXPECT_EQ(FindSlotByStamp(t, "9999999999"), 0);
}

TEST(PersonTable, StampsAreMonthDayTimeAndUniqueInTheirTable) {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 7;
    tm.tm_hour = 9;
    tm.tm_min = 5;
    tm.tm_sec = 3;
    EXPECT_EQ(MakeStamp(tm), "0307090503");
    EXPECT_EQ(MakeStamp().size(), 10u);

    tm.tm_isdst = -1;
    const std::time_t now = std::mktime(&tm);
    PersonTable t = ClearedTable(TableKind::Women);
    // The same moment of another year already took this stamp, and the next second too.
    t.slot(1) = Person("A", "0307090503");
    t.slot(2) = Person("B", "0307090504");
    EXPECT_EQ(MakeUniqueStamp(t, now), "0307090505");
    PersonTable empty = ClearedTable(TableKind::Women);
    EXPECT_EQ(MakeUniqueStamp(empty, now), "0307090503");
}

TEST(PersonTable, UsedSlotsAndSortedLines) {
    PersonTable t = ClearedTable(TableKind::Women);
    EXPECT_TRUE(UsedSlots(t).empty());
    EXPECT_TRUE(SortedListLines(t).empty());
    t.slot(1) = Person("Яна", "0000000001");
    t.slot(2) = Person("анна", "0000000002", "05.05.1990");
    t.slot(3) = Person("Анна", "0000000003", "01.01.1970");
    t.slot(4) = Person("Ёлка", "0000000004");
    t.slot(5) = Person("Егор", "0000000005");
    t.slot(6) = Person("Жанна", "0000000006");
    PersonRecord blankName = Person("", "0000000007");
    t.slot(7) = blankName;
    t.slot(8) = Person("Hidden", "          ");  // a free stamp hides the slot
    for (int i = 1; i <= 8; ++i) BuildListLine(t.slot(i));
    const auto lines = SortedListLines(t);
    ASSERT_EQ(lines.size(), 7u);
    auto first = [](const std::string& l) { return l.substr(0, 3); };
    EXPECT_EQ(lines[0].substr(0, 1), " ");
    // Two people of the same name (case aside) follow the rest of the line: date first.
    EXPECT_EQ(lines[1].substr(21, 10), "01.01.1970");
    EXPECT_EQ(lines[2].substr(21, 10), "05.05.1990");
    EXPECT_EQ(first(lines[3]), Utf8ToCp1251("Егор").substr(0, 3));
    EXPECT_EQ(first(lines[4]), Utf8ToCp1251("Ёлка").substr(0, 3));
    EXPECT_EQ(first(lines[5]), Utf8ToCp1251("Жанна").substr(0, 3));
    EXPECT_EQ(first(lines[6]), Utf8ToCp1251("Яна").substr(0, 3));
    EXPECT_EQ(FirstFreeSlot(t), 8);
}

TEST(PersonFile, LoadThenSaveReproducesAnyFileByteForByte) {
    ScratchDir dir;
    std::mt19937 rng(12345);
    for (int round = 0; round < 3; ++round) {
        std::string bytes(kPersonFileSize, '\0');
        for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
        test::WriteFile(dir.file("FEMIN.DAT"), bytes);
        PersonTable t{TableKind::Women, {}};
        LoadPersonFile(dir.file("FEMIN.DAT"), t);
        // Reading every text of every slot (clamped lengths included) changes nothing.
        for (int i = 1; i <= kTableSlots; ++i) {
            (void)t.slot(i).Name.str();
            (void)t.slot(i).Comment.str();
        }
        SavePersonFile(dir.file("copy.dat"), t);
        EXPECT_EQ(test::ReadFile(dir.file("copy.dat")), bytes);
    }
}

// A file of more than 100 records is damaged too: a later rewrite would cut off
// whatever lies past the 100th.
TEST(PersonFile, LongerFileIsRefusedAsDamaged) {
    ScratchDir dir;
    std::string bytes(kPersonFileSize + 501, 'x');
    test::WriteFile(dir.file("MEN.DAT"), bytes);
    PersonTable t{TableKind::Men, {}};
    try {
        LoadPersonFile(dir.file("MEN.DAT"), t);
        FAIL() << "no error for a longer file";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("MEN.DAT» повреждён"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::ReadFile(dir.file("MEN.DAT")), bytes);
}

TEST(PersonFile, MissingOrShortFileIsAnErrorNamingItAndLeftAlone) {
    ScratchDir dir;
    PersonTable t = ClearedTable(TableKind::Women);
    try {
        LoadPersonFile(dir.file("FEMIN.DAT"), t);
        FAIL() << "no error for a missing file";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("FEMIN.DAT"), std::string::npos);
    }
    const std::string shortFile(kPersonFileSize - 1, 'a');
    test::WriteFile(dir.file("FEMIN.DAT"), shortFile);
    try {
        LoadPersonFile(dir.file("FEMIN.DAT"), t);
        FAIL() << "no error for a short file";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("FEMIN.DAT"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("50099"), std::string::npos);
    }
    EXPECT_EQ(test::ReadFile(dir.file("FEMIN.DAT")), shortFile);
    EXPECT_TRUE(IsFreeSlot(t.slot(1)));  // the table was not touched
}

TEST(PersonFile, FailedSaveKeepsTheOldFile) {
    ScratchDir dir;
    PersonTable t = ClearedTable(TableKind::Women);
    SavePersonFile(dir.file("FEMIN.DAT"), t);
    const std::string before = test::ReadFile(dir.file("FEMIN.DAT"));
    t.slot(1) = Person("New", "1111111111");

    // A read-only file is not replaced.
    ASSERT_EQ(::chmod(dir.file("FEMIN.DAT").c_str(), 0444), 0);
    EXPECT_THROW(SavePersonFile(dir.file("FEMIN.DAT"), t), Error);
    EXPECT_EQ(test::ReadFile(dir.file("FEMIN.DAT")), before);
    ::chmod(dir.file("FEMIN.DAT").c_str(), 0644);

    // A directory where nothing can be written (or that is gone) fails cleanly too.
    EXPECT_THROW(SavePersonFile(dir.file("missing/FEMIN.DAT"), t), Error);

    // No temporary file is left behind, and a good save replaces the content.
    SavePersonFile(dir.file("FEMIN.DAT"), t);
    PersonTable back{TableKind::Women, {}};
    LoadPersonFile(dir.file("FEMIN.DAT"), back);
    EXPECT_EQ(back.slot(1).Stamp.str(), "1111111111");
}

TEST(Paths, JoinFollowsTheConfigurationTexts) {
    EXPECT_EQ(JoinPath("/home/u/data/", "FEMIN.DAT"), "/home/u/data/FEMIN.DAT");
    EXPECT_EQ(JoinPath("/home/u/data/", "\\sng.wdt"), "/home/u/data/sng.wdt");
#ifdef _WIN32
    EXPECT_EQ(JoinPath("C:\\data\\", "\\sng.wdt"), "C:\\data\\sng.wdt");
    EXPECT_EQ(JoinPath("\\\\server\\share\\", "MEN.DAT"), "\\\\server\\share\\MEN.DAT");
#else
    EXPECT_EQ(JoinPath("\\home\\u\\data\\", "MEN.DAT"), "/home/u/data/MEN.DAT");
#endif
    // Without the final separator the names run together, as written.
    EXPECT_EQ(JoinPath("/home/u/data", "MEN.DAT"), "/home/u/dataMEN.DAT");
}

// The temporary files a killed rewrite left beside a person file are removed by
// the next one; other files of similar names stay.
TEST(PersonFile, LeftoversOfAKilledRewriteAreRemoved) {
    ScratchDir data;
    const auto exists = [](const std::string& f) { return std::filesystem::exists(NativePath(f)); };
    for (const char* left : {"MEN.DAT.a1B2c3", "MEN.DAT.ZZZZZZ", "MEN.DAT.tmp"}) test::WriteFile(data.file(left), "x");
    for (const char* kept : {"MEN.DAT.bak", "MEN.DAT.abc", "MEN.DAT.a1B2c3d", "FEMIN.DAT.a1B2c3"})
        test::WriteFile(data.file(kept), "x");
    SavePersonFile(data.file("MEN.DAT"), ClearedTable(TableKind::Men));
    for (const char* left : {"MEN.DAT.a1B2c3", "MEN.DAT.ZZZZZZ", "MEN.DAT.tmp"}) EXPECT_FALSE(exists(data.file(left))) << left;
    for (const char* kept : {"MEN.DAT.bak", "MEN.DAT.abc", "MEN.DAT.a1B2c3d", "FEMIN.DAT.a1B2c3"})
        EXPECT_TRUE(exists(data.file(kept))) << kept;
}

#ifndef _WIN32
// A person file that is a symbolic link stays one: the rewrite goes to the
// link's target, its temporary file beside the target, and the leftovers of a
// killed rewrite are looked for there.
TEST(PersonFile, ALinkIsRewrittenThrough) {
    ScratchDir data, real;
    PersonTable t = ClearedTable(TableKind::Women);
    SavePersonFile(real.file("FEMIN.DAT"), t);
    // A relative link, as a person makes one: resolved against the link's directory.
    const std::string realDir = real.path().substr(0, real.path().size() - 1);
    const std::string relative = "../" + realDir.substr(realDir.rfind('/') + 1) + "/FEMIN.DAT";
    ASSERT_EQ(::symlink(relative.c_str(), data.file("FEMIN.DAT").c_str()), 0);
    t.slot(1) = Person("Анна", "0102030405");
    SavePersonFile(data.file("FEMIN.DAT"), t);
    struct stat st {};
    ASSERT_EQ(::lstat(data.file("FEMIN.DAT").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    PersonTable back{TableKind::Women, {}};
    LoadPersonFile(real.file("FEMIN.DAT"), back);
    EXPECT_EQ(back.slot(1).Stamp.str(), "0102030405");

    test::WriteFile(real.file("FEMIN.DAT.q9W8e7"), "x");
    test::WriteFile(data.file("FEMIN.DAT.a1B2c3"), "x");
    SavePersonFile(data.file("FEMIN.DAT"), t);
    EXPECT_NE(::access(real.file("FEMIN.DAT.q9W8e7").c_str(), F_OK), 0);
    EXPECT_EQ(::access(data.file("FEMIN.DAT.a1B2c3").c_str(), F_OK), 0);
}
#endif

}  // namespace
}  // namespace pelorin
