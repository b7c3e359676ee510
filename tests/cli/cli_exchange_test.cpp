// pelorin-cli import: what it stores and what it says it stored.
#include <gtest/gtest.h>


#include <cstdlib>
#include <string>

#include "base/cp1251.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::RunCli;

struct WomenDir {
    test::ScratchDir dir;
    WomenDir() {
        PersonTable women{TableKind::Women, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(women, i);
        SavePersonFile(dir.file("FEMIN.DAT"), women);
        test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + dir.path() + "\n");
    }
    std::string Import(const std::string& file, const std::string& more = "") const {
        return "import --config " + Quote(dir.file("main.dat")) + " --list women --format csv --in " +
               Quote(dir.file(file)) + more;
    }
    std::size_t Stored() const {
        PersonTable t{TableKind::Women, {}};
        LoadPersonFile(dir.file("FEMIN.DAT"), t);
        return UsedSlots(t).size();
    }
};

// Old Mac line ends (CR alone) in the file: it reads like any other.
const char* const kTwo = "name,date,time,latitude,longitude,zone\r"
                         "A1,01.01.1980,10:00,10,10,0\r"
                         "A2,02.01.1980,,10,10,0\r";

// The same file twice stores its people once; the preview marks those listed;
// --duplicates keep stores them again.
TEST(CliImport, AFileImportedTwiceStoresItsPeopleOnce) {
    WomenDir d;
    test::WriteFile(d.dir.file("two.csv"), kTwo);
    test::RunResult r = RunCli(d.Import("two.csv"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"stored\": 2,", 0), 0u) << r.out;
    EXPECT_EQ(d.Stored(), 2u);

    r = RunCli(d.Import("two.csv", " --dry-run yes"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"name\": \"A1\", \"source\": \"file\", \"note\": \"место, координаты и пояс из файла\", "
                         "\"already_listed\": true"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("«A2» уже есть в списке — не будет сохранён"), std::string::npos) << r.err;

    r = RunCli(d.Import("two.csv"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"stored\": 0,", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("строка 2: «A1» уже есть в списке — не сохранено"), std::string::npos) << r.err;
    EXPECT_EQ(d.Stored(), 2u);

    r = RunCli(d.Import("two.csv", " --duplicates keep"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(d.Stored(), 4u);
    EXPECT_EQ(RunCli(d.Import("two.csv", " --duplicates twice")).exitCode, 2);
}

// Output lost after the store: the message says what was stored. A file of
// which no person reads is an error, never "stored 0".
TEST(CliImport, SaysWhatItStoredAndRefusesAFileWithoutPeople) {
    WomenDir d;
    test::WriteFile(d.dir.file("two.csv"), kTwo);
    const test::RunResult lost = test::RunCliWithLostOutput(d.Import("two.csv"));
    EXPECT_EQ(lost.exitCode, 1);
    const std::string& message = lost.err;
    EXPECT_NE(message.find("вывод не записан"), std::string::npos) << message;
    EXPECT_NE(message.find("Сохранено людей: 2 в файле «" + d.dir.file("FEMIN.DAT") + "»"), std::string::npos)
        << message;
    EXPECT_EQ(d.Stored(), 2u);

    for (const char* content : {"name,date,time\r\n", "name,date\nX,31.02.1980\n", ""}) {
        test::WriteFile(d.dir.file("none.csv"), content);
        const test::RunResult r = RunCli(d.Import("none.csv"));
        EXPECT_EQ(r.exitCode, 1) << content;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(d.dir.file("none.csv")), std::string::npos) << r.err;
    }
    EXPECT_EQ(d.Stored(), 2u);
}

// A Latin-1 file of coordinates without a zone, far from every city: the output
// names the encoding, the person waits for the city whose zone to take, and
// --choose takes it; --encoding forces a reading, and an unknown one is a
// usage error.
TEST(CliImport, EncodingAndTheZoneOfAChosenCity) {
    WomenDir d;
    for (const char* f : {"sng.wdt", "europa.wdt", "namerica.wdt", "samerica.wdt", "africa.wdt", "azia.wdt",
                          "austral.wdt", "zones.tzt"})
        test::WriteFile(d.dir.file(f), test::ReadFile(std::string(PELORIN_BINARY_DIR) + "/data/" + f));
    test::WriteFile(d.dir.file("sea.csv"), "name,date,time,lat,lng\nJos\xE9 M\xFCller,01.07.1990,10:00,-45,-140\n");
    test::RunResult r = RunCli(d.Import("sea.csv", " --dry-run yes"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"name\": \"Jose Muller\", \"source\": \"choose_zone\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"candidates\": [{"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"encoding\": \"latin1\""), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("выберите город, чей пояс взять;"), std::string::npos) << r.err;

    r = RunCli(d.Import("sea.csv", " --choose 2=1"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"stored\": 1,", 0), 0u) << r.out;
    PersonTable t{TableKind::Women, {}};
    LoadPersonFile(d.dir.file("FEMIN.DAT"), t);
    EXPECT_EQ(Cp1251ToUtf8(t.slot(1).CoordText.str()), "140°00’ЗД  45°00’ЮШ");

    r = RunCli(d.Import("sea.csv", " --dry-run yes --encoding cp1251"));
    EXPECT_NE(r.out.find("\"name\": \"Josй Mьller\""), std::string::npos) << r.out;
    EXPECT_EQ(RunCli(d.Import("sea.csv", " --encoding koi8-r")).exitCode, 2);
}

}  // namespace
}  // namespace pelorin
