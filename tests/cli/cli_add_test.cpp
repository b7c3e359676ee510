#include <gtest/gtest.h>


#include <cstdlib>
#include <filesystem>
#include <string>

#include "astro/birth_moment.h"
#include "base/cp1251.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::RunCli;

// A woman through the atlas, with the place fields the place chooser gives; the
// entry dialogs' refusals with their messages; the table full at 99.
TEST(CliAdd, StoresAsTheEntryDialogsAndRefusesAsThey) {
    namespace fs = std::filesystem;
    test::ScratchDir dir;
    fs::copy_file(std::string(PELORIN_BINARY_DIR) + "/data/sng.wdt", dir.file("sng.wdt"));
    fs::copy_file(std::string(PELORIN_BINARY_DIR) + "/data/zones.tzt", dir.file("zones.tzt"));
    PersonTable table{TableKind::Women, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(table, i);
    SavePersonFile(dir.file("FEMIN.DAT"), table);
    test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + dir.path() + "\n");
    const std::string woman = "add --config " + Quote(dir.file("main.dat")) +
                              " --list women --region sng --country " + Quote("Россия (Москва)") + " --city " +
                              Quote("Москва") + " --comment " + Quote("а\nб");

    test::RunResult r = RunCli(woman + " --name " + Quote("Ольга") + " --date 05.06.1975 --time 14:30");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    LoadPersonFile(dir.file("FEMIN.DAT"), table);
    const PersonRecord& p = table.slot(1);
    EXPECT_EQ(r.out, "{\"stamp\": \"" + p.Stamp.str() + "\", \"slot\": 1}\n");
    const test::RunResult place = RunCli("place --config " + Quote(dir.file("main.dat")) + " --region sng --country " +
                                         Quote("Россия (Москва)") + " --city " + Quote("Москва") +
                                         " --date 05.06.1975");
    EXPECT_NE(place.out.find("\"place\": \"" + Cp1251ToUtf8(p.Place.str()) + "\""), std::string::npos);
    EXPECT_EQ(Cp1251ToUtf8(p.CoordText.str()), " 37°37’ВД  55°45’СШ");
    EXPECT_EQ(p.TimeText.str(), "14:30");
    // Moscow kept UTC+3 all of 1975: stored at 11:30 UT with the exact zone's mark.
    EXPECT_EQ(p.ShiftFlag.str(), "Z");
    EXPECT_DOUBLE_EQ(p.Moment, FormBirthMoment(5, 6, 1975, 11, 30, true, 0, false));
    EXPECT_EQ(Cp1251ToUtf8(p.Comment.str()), "а  б  " + std::string(244, ' '));

    const std::pair<std::string, std::string> refusals[] = {
        {" --name " + Quote("") + " --date 05.06.1975", "Не введено имя\n"},
        {" --name X --date 31.02.1985", "Неверная дата рождения: 31.02.1985\n"},
        {" --name X --date 05.06.1975 --time 24:00", "Неверное время рождения\n"},
    };
    for (const auto& [args, message] : refusals) {
        r = RunCli(woman + args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "pelorin-cli add: " + message);
    }
    for (int i = 2; i <= kUsableSlots; ++i) table.slot(i) = p;
    SavePersonFile(dir.file("FEMIN.DAT"), table);
    r = RunCli(woman + " --name X --date 05.06.1975");
    EXPECT_EQ(r.err, "pelorin-cli add: Вы не можете ввести более 99 женщин\n");
    EXPECT_EQ(RunCli(woman + " --name X --date 5.6.1975").exitCode, 2);
}

// A men's file in a fresh directory, and the configuration naming it.
struct MenDir {
    test::ScratchDir dir;
    std::string config = Quote(dir.file("main.dat"));
    MenDir() {
        PersonTable men{TableKind::Men, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(men, i);
        SavePersonFile(dir.file("MEN.DAT"), men);
        test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + dir.path() + "\n");
    }
    std::string Add(const std::string& date) const {
        return "add --config " + config + " --list men --name Ivan --place Omsk --date " + date;
    }
};

// Births the engine cannot compute are refused at entry, with the years.
TEST(CliAdd, DatesOutsideTheServedYearsAreRefused) {
    MenDir d;
    const std::string before = test::ReadFile(d.dir.file("MEN.DAT"));
    for (const char* date : {"01.01.1599", "01.01.2400", "31.12.9999"}) {
        const test::RunResult r = RunCli(d.Add(date));
        EXPECT_EQ(r.exitCode, 1) << date;
        EXPECT_EQ(r.err, std::string("pelorin-cli add: Дата рождения ") + date +
                             " вне 1600–2399 годов (по всемирному времени), которые рассчитывает программа\n");
    }
    EXPECT_EQ(test::ReadFile(d.dir.file("MEN.DAT")), before);
}

// When the store succeeded and only the output was lost (a full disk), the
// message says that the person was stored, so that nobody stores them twice.
TEST(CliAdd, OutputLostAfterTheStoreSaysThePersonIsStored) {
    MenDir d;
    const test::RunResult lost = test::RunCliWithLostOutput(d.Add("15.06.1970"));
    EXPECT_EQ(lost.exitCode, 1);
    const std::string& message = lost.err;
    EXPECT_NE(message.find("вывод не записан"), std::string::npos) << message;
    EXPECT_NE(message.find("Человек сохранён в файле «" + d.dir.file("MEN.DAT") + "»: ячейка 1"), std::string::npos)
        << message;
    EXPECT_NE(message.find("Не повторяйте команду"), std::string::npos) << message;
    PersonTable men{TableKind::Men, {}};
    LoadPersonFile(d.dir.file("MEN.DAT"), men);
    EXPECT_EQ(UsedSlots(men).size(), 1u);
}

}  // namespace
}  // namespace pelorin
