#include "people/exchange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/cp1251.h"
#include "base/errors.h"
#include "people/person_chart.h"
#include "people/person_entry.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

// A data directory with the shipped atlas and an empty women's file.
struct DataDir {
    test::ScratchDir dir;
    DataDir() {
        for (const char* f : {"sng.wdt", "europa.wdt", "namerica.wdt", "samerica.wdt", "africa.wdt", "azia.wdt",
                              "austral.wdt", "zones.tzt"})
            fs::copy_file(std::string(PELORIN_BINARY_DIR) + "/data/" + f, dir.file(f));
        PersonTable t{TableKind::Women, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
        SavePersonFile(dir.file("FEMIN.DAT"), t);
    }
    // Imports the content and returns the problems' messages.
    std::vector<std::string> Import(const std::string& content, ExchangeFormat format) {
        const ImportParse parse = ParseExchange(content, format, "in");
        std::vector<ImportProblem> problems = parse.problems;
        const std::vector<ImportPlan> plans =
            PlanImport(parse, TableKind::Women, CitySearch::Build(dir.path()), dir.path(), "in", problems);
        std::vector<PersonRecord> records;
        for (const ImportPlan& p : plans)
            if (p.record) records.push_back(*p.record);
        StoreImported(records, TableKind::Women, dir.path(), 0);
        std::vector<std::string> out;
        for (const ImportProblem& p : problems) out.push_back(p.message);
        return out;
    }
    PersonTable Table() const {
        PersonTable t{TableKind::Women, {}};
        LoadPersonFile(dir.file("FEMIN.DAT"), t);
        return t;
    }
};

// Every byte of two people but the stamp and the stamp in the list line.
void ExpectSamePerson(PersonRecord a, PersonRecord b) {
    EXPECT_EQ(Cp1251ToUtf8(a.Name.str()), Cp1251ToUtf8(b.Name.str()));
    for (PersonRecord* r : {&a, &b}) {
        r->Stamp.set("0000000000");
        BuildListLine(*r);
    }
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << Cp1251ToUtf8(a.ListLine.str());
}

const char* const kCsv =
    "name,sex,date,time,place,latitude,longitude,zone,summer_hour,comment\r\n"
    "\"Анна \"\"Ки\"\", ёж\",W,05.06.1975,14:30,Москва,55.75,37.616667,3,0,\"строка1\r\nстрока2\"\r\n"
    "Sur,W,01.01.1990,,Буэнос-Айрес,-34.616667,-58.383333,-3,0,\r\n"
    "Half,W,15.08.1980,06:05,Дели,28.65,77.216667,5.5,0,\r\n"
    "Bad1,W,31.02.1985,,X,1,1,0,0,\r\n"
    "Bad2,W,01.01.1985,24:00,X,1,1,0,0,\r\n"
    "ОченьДлинноеИмяБольше20,W,01.01.1985,,X,1,1,0,0,\r\n"
    "Bad3,W,01.01.1985,,X,95,1,0,0,\r\n"
    "Atl,W,01.01.1990,12:00,Новосибирск,,,,,\r\n"
    "Man,M,01.01.1990,,X,1,1,0,0,\r\n";

const char* const kAaf =
    "#: a hand-written file\r\n"
    "#A93:Анна \"Ки\"‚ ёж,*,f,5.6.1975,14:30,Москва,*\r\n"
    "#B93:*,55n45,37e37,3he00,0\r\n"
    "#COM:строка1  строка2\r\n"
    "#A93:Sur,*,f,01.01.1990,*,Буэнос-Айрес,*\r\n"
    "#B93:*,34s37,58w23,3hw00,0\r\n"
    "#A93:Half,*,f,15.08.1980,6:05,Дели,*\r\n"
    "#B93:*,28n39,77e13,5he30,0\r\n"
    "#A93:Bad,*,f,01.01.1985,*,X,*\r\n"
    "#B93:*,95n00,1e00,0he00,0\r\n";

// Hand-written files of both formats with the awkward cases, the bad lines
// named and skipped, and Pelorin's own export of them coming back unchanged.
TEST(Exchange, ImportsHandWrittenFilesAndRoundTripsBothFormats) {
    DataDir csv;
    EXPECT_EQ(csv.Import(kCsv, ExchangeFormat::Csv),
              (std::vector<std::string>{"Файл «in», строка 6: даты «31.02.1985» не бывает",
                                        "Файл «in», строка 7: времени «24:00» не бывает (00:00..23:59)",
                                        "Файл «in», строка 9: координаты 95, 1 вне пределов",
                                        "Файл «in», строка 11: мужчина, а список — женщин"}));
    const PersonTable t = csv.Table();
    ASSERT_EQ(UsedSlots(t).size(), 5u);
    // A name longer than the record's 20 characters is kept cut, as the dialogs keep it.
    EXPECT_EQ(Cp1251ToUtf8(t.slot(4).Name.str()), "ОченьДлинноеИмяБольш");
    EXPECT_EQ(Cp1251ToUtf8(t.slot(1).Name.str()), "Анна \"Ки\", ёж       ");
    EXPECT_EQ(t.slot(1).Comment.str(), Utf8ToCp1251("строка1  строка2") + std::string(250 - 16, ' '));
    EXPECT_EQ(Cp1251ToUtf8(t.slot(2).CoordText.str()), " 58°23’ЗД  34°37’ЮШ");
    EXPECT_EQ(t.slot(2).TimeText.str(), " --- ");
    EXPECT_EQ(t.slot(3).ZoneText.str(), "  5.5");
    EXPECT_EQ(t.slot(3).ShiftFlag.str(), "Z");
    // Only the place's name: the atlas's Novosibirsk, with its offset of that day (UTC+7).
    EXPECT_EQ(Cp1251ToUtf8(t.slot(5).CoordText.str()), " 82°56’ВД  55°02’СШ");
    EXPECT_DOUBLE_EQ(t.slot(5).Zone, 7);  // by value: the packed field is misaligned

    DataDir aaf;
    EXPECT_EQ(aaf.Import(kAaf, ExchangeFormat::Aaf),
              std::vector<std::string>{"Файл «in», строка 9: широта «95n00» вне пределов"});
    const PersonTable a = aaf.Table();
    ASSERT_EQ(UsedSlots(a).size(), 3u);
    for (int i = 1; i <= 3; ++i) ExpectSamePerson(a.slot(i), t.slot(i));
    EXPECT_NE(a.slot(2).Stamp.str(), a.slot(1).Stamp.str());

    for (ExchangeFormat format : {ExchangeFormat::Csv, ExchangeFormat::Aaf}) {
        DataDir back;
        EXPECT_TRUE(back.Import(ExportPeople(t, format), format).empty());
        const PersonTable b = back.Table();
        ASSERT_EQ(UsedSlots(b).size(), 5u);
        for (int i = 1; i <= 5; ++i) ExpectSamePerson(b.slot(i), t.slot(i));
    }
}

// A man's place given by name is taken from the atlas as a woman's: his time
// kept, the city's coordinates and zone, so he has houses. A place the atlas
// lacks is stored as the men's dialog stores a typed place, without the time.
TEST(Exchange, MenGetTheAtlasPlaceAndKeepTheirTime) {
    DataDir d;
    const ImportParse parse = ParseExchange("name,sex,date,time,place\nБорис,M,15.07.1990,14:30,Омск\n"
                                            "Глеб,M,15.07.1990,14:30,Нигдегород\n",
                                            ExchangeFormat::Csv, "in");
    std::vector<ImportProblem> problems;
    const std::vector<ImportPlan> plans =
        PlanImport(parse, TableKind::Men, CitySearch::Build(d.dir.path()), d.dir.path(), "in", problems);
    ASSERT_EQ(plans.size(), 2u);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(plans[0].source, PlaceSource::Atlas);
    ASSERT_TRUE(plans[0].record);
    const PersonRecord& omsk = *plans[0].record;
    EXPECT_EQ(omsk.Sex.str(), "M");
    EXPECT_EQ(omsk.TimeText.str(), "14:30");
    EXPECT_EQ(omsk.ShiftFlag.str(), "Z");
    EXPECT_EQ(Cp1251ToUtf8(omsk.CoordText.str()), " 73°22’ВД  55°00’СШ");
    EXPECT_TRUE(HasHouses(omsk));

    EXPECT_EQ(plans[1].source, PlaceSource::MenEntry);
    ASSERT_TRUE(plans[1].record);
    EXPECT_EQ(plans[1].record->TimeKnown, 0);
    EXPECT_EQ(plans[1].record->CoordText.str(), MenCoordText());
    EXPECT_FALSE(HasHouses(*plans[1].record));
}

// A name several cities bear is left to choose; a file that is not text is refused.
TEST(Exchange, AmbiguousPlaceWaitsAndForeignBytesAreRefused) {
    DataDir d;
    const ImportParse parse = ParseExchange("name,date,place\nX,01.01.1990,Москва\n", ExchangeFormat::Csv, "in");
    std::vector<ImportProblem> problems;
    std::vector<ImportPlan> plans =
        PlanImport(parse, TableKind::Women, CitySearch::Build(d.dir.path()), d.dir.path(), "in", problems);
    ASSERT_EQ(plans.size(), 1u);
    if (plans[0].candidates.size() > 1) {
        EXPECT_EQ(plans[0].source, PlaceSource::Ambiguous);
        EXPECT_FALSE(plans[0].record);
        ChooseCandidate(plans[0], 0, d.dir.path());
        EXPECT_TRUE(plans[0].record);
    }
    // Windows-1251 is read as such; the byte 0x98 and control bytes are not text.
    EXPECT_EQ(ParseExchange(Utf8ToCp1251("name,date\nЁж,01.01.1990\n"), ExchangeFormat::Csv, "in").rows.at(0).name,
              Utf8ToCp1251("Ёж"));
    EXPECT_THROW(ParseExchange("name,date\n\x98\xff,01.01.1990\n", ExchangeFormat::Csv, "in"), Error);
    EXPECT_THROW(ParseExchange(std::string("name,date\nA\0,1", 15), ExchangeFormat::Csv, "in"), Error);
}

// A cell that a spreadsheet would take for a formula is written with a leading
// apostrophe, and the import takes it off again: the round trip stays exact.
TEST(Exchange, FormulaCellsAreGuardedAndRoundTripExactly) {
    DataDir d;
    const std::string names[] = {"=1+2", "+7 Вера", "-минус", "@SUM(A1)", "'кавычка"};
    std::string csv = "name,date,place,latitude,longitude,zone,comment\r\n";
    for (const std::string& n : names)
        csv += "\"'" + n + "\",01.01.1990,=HYPERLINK(x),-34.5,-58.5,-3,\"'@cmd\"\r\n";
    ASSERT_TRUE(d.Import(csv, ExchangeFormat::Csv).empty());
    const PersonTable t = d.Table();
    ASSERT_EQ(UsedSlots(t).size(), 5u);
    EXPECT_EQ(Cp1251ToUtf8(t.slot(5).Name.str()).substr(0, 15), "'кавычка");
    EXPECT_EQ(Cp1251ToUtf8(t.slot(1).Place.str()).substr(0, 13), "=HYPERLINK(x)");
    const std::string out = ExportPeople(t, ExchangeFormat::Csv);
    for (const char* guarded : {"\n'=1+2,", "\n'+7 Вера,", "\n'-минус,", "\n'@SUM(A1),", "\n''кавычка,",
                                ",'=HYPERLINK(x),", ",'@cmd\r"})
        EXPECT_NE(out.find(guarded), std::string::npos) << guarded << "\n" << out;
    EXPECT_NE(out.find(",-34.5,-58.5,-3,"), std::string::npos) << out;  // numbers stay numbers
    DataDir back;
    EXPECT_TRUE(back.Import(out, ExchangeFormat::Csv).empty());
    const PersonTable b = back.Table();
    ASSERT_EQ(UsedSlots(b).size(), 5u);
    for (int i = 1; i <= 5; ++i) ExpectSamePerson(b.slot(i), t.slot(i));
}

// Old Mac line ends (CR alone) read like any other; a birth outside the years the
// engine computes is a skipped line with the years; a value echoed in a message
// is cut to 60 characters.
TEST(Exchange, CarriageReturnsServedYearsAndEchoedValues) {
    const ImportParse mac = ParseExchange("name,date,time\rA,01.01.1990,10:00\rB,02.01.1990,\r", ExchangeFormat::Csv, "in");
    ASSERT_EQ(mac.rows.size(), 2u);
    EXPECT_EQ(mac.rows[1].name, "B");
    EXPECT_EQ(mac.rows[1].line, 3);
    EXPECT_TRUE(mac.problems.empty());
    const ImportParse aaf = ParseExchange("#A93:A,*,f,01.01.1990,*,X,*\r#A93:B,*,f,02.01.1990,*,X,*\r",
                                          ExchangeFormat::Aaf, "in");
    EXPECT_EQ(aaf.rows.size(), 2u);

    DataDir d;
    EXPECT_EQ(d.Import("name,date,latitude,longitude,zone\nOld,31.12.1599,1,1,0\nFar,01.01.2400,1,1,0\n",
                       ExchangeFormat::Csv),
              (std::vector<std::string>{
                  "Файл «in», строка 2: Дата рождения 31.12.1599 вне 1600–2399 годов (по всемирному времени), "
                  "которые рассчитывает программа",
                  "Файл «in», строка 3: Дата рождения 01.01.2400 вне 1600–2399 годов (по всемирному времени), "
                  "которые рассчитывает программа"}));
    EXPECT_TRUE(UsedSlots(d.Table()).empty());

    const ImportParse big = ParseExchange("name,date\n" + std::string(10000000, 'x') + ",01.01.1990\n" +
                                              "A," + std::string(5000, '9') + "\n",
                                          ExchangeFormat::Csv, "in");
    ASSERT_EQ(big.problems.size(), 1u);
    ASSERT_EQ(big.rows.size(), 1u);
    EXPECT_EQ(big.rows[0].notes, std::vector<std::string>{"имя «" + std::string(60, 'x') +
                                                          "…» длиннее 20 знаков: сохранено «" + std::string(20, 'x') +
                                                          "»"});
    EXPECT_LT(big.problems[0].message.size(), 200u) << big.problems[0].message;
}

// An import stores nobody already listed unless asked to (ImportDuplicates::Keep):
// the same file twice adds its people once.
TEST(Exchange, AnImportTwiceStoresItsPeopleOnce) {
    DataDir d;
    const ImportParse parse =
        ParseExchange("name,date,time,latitude,longitude,zone\nA,01.01.1990,10:00,1,1,0\nB,02.01.1990,,1,1,0\n",
                      ExchangeFormat::Csv, "in");
    std::vector<ImportProblem> problems;
    const std::vector<ImportPlan> plans =
        PlanImport(parse, TableKind::Women, CitySearch::Build(d.dir.path()), d.dir.path(), "in", problems);
    std::vector<PersonRecord> records;
    for (const ImportPlan& p : plans) records.push_back(*p.record);
    ImportStored first = StoreImported(records, TableKind::Women, d.dir.path(), 0, ImportDuplicates::Skip);
    EXPECT_EQ(first.slots, (std::vector<int>{1, 2}));
    EXPECT_TRUE(AlreadyListed(plans[0].row, d.Table()));
    // The same people again, B now with a birth time: still the same person.
    records[1].TimeKnown = 1;
    records[1].Hour = 8;
    ImportStored again = StoreImported(records, TableKind::Women, d.dir.path(), 100, ImportDuplicates::Skip);
    EXPECT_TRUE(again.slots.empty());
    EXPECT_EQ(again.listed, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(again.slotOf, (std::vector<int>{0, 0}));
    // A different birth time is another person; Keep stores them all.
    records[0].Hour = 11;
    again = StoreImported(records, TableKind::Women, d.dir.path(), 200, ImportDuplicates::Skip);
    EXPECT_EQ(again.slotOf, (std::vector<int>{3, 0}));
    again = StoreImported(records, TableKind::Women, d.dir.path(), 300, ImportDuplicates::Keep);
    EXPECT_EQ(again.slotOf, (std::vector<int>{4, 5}));
    EXPECT_EQ(UsedSlots(d.Table()).size(), 5u);
}

}  // namespace
}  // namespace pelorin
