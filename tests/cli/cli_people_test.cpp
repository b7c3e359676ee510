#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::RunCli;
using test::ScratchDir;

TEST(CliMoment, PrintsTheStoredBirthMoment) {
    EXPECT_EQ(RunCli("moment --date 31.12.1899 --time 12:00").out, "-0.0416666667\n");
    // No time: the unknown time, 12:00.
    EXPECT_EQ(RunCli("moment --date 01.01.2000").out, "36524.9583333333\n");
    EXPECT_EQ(RunCli("moment --date 01.01.2000 --time 12:00 --zone -5").out, "36525.1666666667\n");
    // Across the calendar switch the day after 4 October 1582 is 15 October.
    const double before = std::stod(RunCli("moment --date 04.10.1582 --time 00:00 --zone 3").out);
    const double after = std::stod(RunCli("moment --date 15.10.1582 --time 00:00 --zone 3").out);
    EXPECT_NEAR(after - before, 1.0, 1e-9);
}

TEST(CliMoment, UsageErrorsExitWithTwo) {
    for (const char* bad : {"moment", "moment --date 1.1.2000", "moment --date 31.02.2001",
                            "moment --date 01.01.2000 --time 24:00", "moment --date 01.01.2000 --zone east",
                            "moment --date 01.01.2000 --bogus 1", "nosuchcommand"}) {
        const auto r = RunCli(bad);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
    }
}

std::string EscapeQuotes(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out;
}

TEST(CliPeople, ListsUsedSlotsOfBothFiles) {
    ScratchDir dir;
    PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
    for (int i = 1; i <= kTableSlots; ++i) {
        ClearSlot(women, i);
        ClearSlot(men, i);
    }
    PersonRecord& w = women.slot(2);
    w.Name.set(PadRight(Utf8ToCp1251("Анна \"А\""), 20));
    w.Day = 5;
    w.Month = 6;
    w.Year = 1975;
    w.Hour = 14;
    w.Minute = 30;
    w.TimeKnown = 1;
    w.Stamp.set("0102030405");
    w.FileTag.set("");
    w.DateText.set("05.06.1975");
    w.TimeText.set("14:30");
    w.Sex.set("W");
    w.ShiftFlag.set("L");
    w.Place.set(PadRight(Utf8ToCp1251("Москва"), 26));
    w.Comment.set(Utf8ToCp1251("вторая\\строка"));
    w.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    w.Zone = 3;
    w.ZoneText.set("  3.0");
    w.Moment = 27549.3958333333;
    BuildListLine(w);
    test::WriteFile(dir.file("main.dat"), dir.path() + "\r\n" + dir.path() + "\r\n");
    SavePersonFile(dir.file("FEMIN.DAT"), women);
    SavePersonFile(dir.file("MEN.DAT"), men);

    const auto r = RunCli("people --config " + Quote(dir.file("main.dat")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string expected =
        "{\"women\": [{\"slot\": 2, \"name\": \"Анна \\\"А\\\"            \", \"day\": 5, \"month\": 6, "
        "\"year\": 1975, \"hour\": 14, \"minute\": 30, \"time_known\": true, \"stamp\": \"0102030405\", "
        "\"file_tag\": \"\", \"date_text\": \"05.06.1975\", \"time_text\": \"14:30\", \"list_line\": \"" +
        EscapeQuotes(Cp1251ToUtf8(w.ListLine.str())) +
        "\", \"sex\": \"W\", \"shift_flag\": \"L\", \"place\": \"Москва                    \", "
        "\"comment\": \"вторая\\\\строка\", \"coord_text\": \" 37°37’ВД  55°45’СШ\", \"zone\": 3, "
        "\"zone_text\": \"  3.0\", \"moment\": 27549.3958333333}], \"men\": []}\n";
    EXPECT_EQ(r.out, expected);
}

TEST(CliPeople, MissingOrShortFilesAreDataErrors) {
    ScratchDir dir;
    test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + dir.path() + "\n");
    auto r = RunCli("people --config " + Quote(dir.file("main.dat")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("FEMIN.DAT"), std::string::npos);
    test::WriteFile(dir.file("FEMIN.DAT"), std::string(50100, ' '));
    test::WriteFile(dir.file("MEN.DAT"), std::string(100, ' '));
    r = RunCli("people --config " + Quote(dir.file("main.dat")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("MEN.DAT"), std::string::npos);
    EXPECT_EQ(test::ReadFile(dir.file("MEN.DAT")), std::string(100, ' '));
    r = RunCli("people --config " + Quote(dir.file("absent.dat")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("absent.dat"), std::string::npos);
}

TEST(CliPeople, ShippedFilesAreEmpty) {
    ScratchDir dir;
    test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + test::SourceDataDir() + "\n");
    const auto r = RunCli("people --config " + Quote(dir.file("main.dat")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"women\": [], \"men\": []}\n");
    // And they are exactly 100 cleared slots.
    PersonTable fresh{TableKind::Women, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(fresh, i);
    const std::string shipped = test::ReadFile(test::SourceDataDir() + "FEMIN.DAT");
    EXPECT_EQ(shipped, std::string(reinterpret_cast<const char*>(fresh.slots.data()), kPersonFileSize));
}

}  // namespace
}  // namespace pelorin
