// The forms of AAF and CSV that other programs write, the encodings of their
// files, and the export that invents no place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "base/cp1251.h"
#include "base/errors.h"
#include "people/exchange.h"
#include "people/person_chart.h"
#include "people/person_entry.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

const std::string& DataDir() {
    static const std::string dir = std::string(PELORIN_BINARY_DIR) + "/data";
    return dir;
}

const CitySearch& Search() {
    static const CitySearch search = CitySearch::Build(DataDir());
    return search;
}

struct Imported {
    ImportParse parse;
    std::vector<ImportPlan> plans;
    std::vector<ImportProblem> problems;
    const ImportPlan& at(int line) const {
        for (const ImportPlan& p : plans)
            if (p.row.line == line) return p;
        throw std::runtime_error("no person on line " + std::to_string(line));
    }
    std::string problem(int line) const {
        for (const ImportProblem& p : problems)
            if (p.line == line) return p.message;
        return "";
    }
};

Imported Import(const std::string& content, ExchangeFormat format, TableKind kind = TableKind::Women,
                ExchangeEncoding encoding = ExchangeEncoding::Auto) {
    Imported out;
    out.parse = ParseExchange(content, format, "in", encoding);
    out.problems = out.parse.problems;
    out.plans = PlanImport(out.parse, kind, Search(), DataDir(), "in", out.problems);
    return out;
}

double Ut(const PersonRecord& r) { return r.Moment + 2415020; }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// AAF as real files write it: seconds, calendar marks, zones with seconds and
// without "h", local mean time, upper-case coordinates, a place across fields;
// what cannot be told (a bare zone number, an event) refused with the reason.
TEST(ExchangeForms, AafFieldsOfOtherPrograms) {
    const Imported a = Import("#A93:Sec,*,f,29.1.1953,08:37:30,X,*\n#B93:*,52n13,6e54,1he,0\n"
                              "#A93:Jul,*,f,1.1.1700J,12:00,X,*\n#B93:*,55N45:00,037E37:00,2hE30:17,0\n"
                              "#A93:Greg,*,f,15.12.1980G,13:45,Hannover,D\n#B93:*,52n23,9e44,00E00,0\n"
                              "#A93:Lmt,*,f,12.2.1809,6:54,Hodgenville,KY (US)\n#B93:*,37n34,85w44,*,L\n"
                              "#A93:Bare,*,f,1.1.1990,10:00,X,*\n#B93:*,1n00,1e00,1,0\n"
                              "#A93:Ereignis,*,E,24.12.1992,*,Freiburg,D\n"
                              "#A93:*,george,f,6.1.1970,00:00,Downers Grove, USA, Illinois\n#B93:*,41n49,88w1,6hw00,0\n"
                              "#A93:Smith,,Anna,1.1.1990,10:00,X,*\n#B93:*,1n00,1e00,0e21:48,0\n"
                              "#SUB1_ALT:^,^,^,^,09:22,^,^\n#B93:*,40n42,74w00,5hw00,0\n",
                              ExchangeFormat::Aaf);
    const PersonRecord& sec = *a.at(1).record;
    EXPECT_EQ(sec.TimeText.str(), "08:37");
    EXPECT_NEAR(Ut(sec), 2434406.817708, 1e-6);  // 07:37:30 UT: the seconds kept in the moment
    const PersonRecord& jul = *a.at(3).record;
    EXPECT_EQ(jul.DateText.str(), "11.01.1700");
    EXPECT_TRUE(Has(a.at(3).note, "дата 01.01.1700 по юлианскому календарю (старому стилю): сохранена 11.01.1700"));
    EXPECT_NEAR(jul.Zone, 2.5 + 17 / 3600.0, 1e-12);
    EXPECT_EQ(Cp1251ToUtf8(jul.CoordText.str()), " 37°37’ВД  55°45’СШ");
    EXPECT_EQ(a.at(5).record->DateText.str(), "15.12.1980");
    EXPECT_EQ(+a.at(5).record->Zone, 0);
    // Local mean time: 85°44' west is 5:42:56 behind Greenwich.
    const PersonRecord& lmt = *a.at(7).record;
    EXPECT_NEAR(Ut(lmt), 2381826.025648, 2e-6);
    EXPECT_EQ(lmt.ShiftFlag.str(), "Z");
    EXPECT_TRUE(HasHouses(lmt));
    EXPECT_EQ(a.problem(9), "Файл «in», строка 9: часовой пояс «1» без e или w: восток это или запад, не ясно "
                            "(пишут 3he00 или 5hw00)");
    EXPECT_TRUE(Has(a.problem(11), "запись не о человеке (тип «E»: событие)"));
    const ImportPlan& seek = a.at(12);
    EXPECT_EQ(seek.row.place, "Downers Grove, USA, Illinois");
    EXPECT_EQ(seek.record->Place.str(), "Downers Grove, USA, Illino");
    EXPECT_EQ(Cp1251ToUtf8(seek.record->CoordText.str()), " 88°01’ЗД  41°49’СШ");
    // A first name where the type belongs: unknown sex, the name completed; the
    // sub-horoscope's #B93 is not the record's.
    const ImportPlan& smith = a.at(14);
    EXPECT_EQ(smith.row.name, "Smith Anna");
    EXPECT_EQ(smith.row.sex, 0);
    EXPECT_TRUE(Has(smith.note, "пол не указан (в его поле «Anna», добавлено к имени)"));
    EXPECT_NEAR(smith.record->Zone, (21 * 60 + 48) / 3600.0, 1e-12);
    EXPECT_EQ(a.plans.size(), 6u);
}

// The #B93 Julian day is the instant: a zone that disagrees gives way to the one
// it implies; without a zone it gives one; a Julian day of another date is not
// taken; one within a minute changes nothing.
TEST(ExchangeForms, TheJulianDayStatesTheInstant) {
    const Imported a = Import("#A93:Off,*,m,21.5.1977,13:57,X,*\n#B93:2443285.37292,32n43,117w09,8hw00,0\n"
                              "#A93:None,*,m,21.5.1977,13:57,X,*\n#B93:2443285.37292,32n43,117w09,*,*\n"
                              "#A93:Far,*,m,14.3.1879,11:30,Ulm,*\n#B93:2407851.97917,48n24,9e59,1he00,0\n"
                              "#A93:Near,*,m,27.7.1968,15:31:00,X,*\n#B93:2440065.10500,51N38:00,008E31:00,1hE00:00,*\n",
                              ExchangeFormat::Aaf, TableKind::Men);
    const ImportPlan& off = a.at(1);  // the file forgot its summer hour
    EXPECT_NEAR(Ut(*off.record), 2443285.37292, 1e-6);
    EXPECT_NEAR(off.record->Zone, -7, 1e-4);
    EXPECT_TRUE(Has(off.note, "момент #B93 (юлианский день 2443285.37292) расходится с датой, временем и поясом на "
                              "60 мин: взят момент #B93, пояс −7:00 вместо −8:00"))
        << off.note;
    EXPECT_NEAR(a.at(3).record->Zone, -7, 1e-4);
    EXPECT_TRUE(Has(a.at(3).note, "пояс по моменту #B93 (юлианский день 2443285.37292): −7:00"));
    const ImportPlan& far = a.at(5);
    EXPECT_EQ(+far.record->Zone, 1);
    EXPECT_TRUE(Has(far.note, "взяты дата, время и пояс (юлианский день не подходит к дате)"));
    EXPECT_EQ(a.at(7).note, "место, координаты и пояс из файла");
    EXPECT_NEAR(Ut(*a.at(7).record), 2440065.104861, 1e-6);  // by its fields: 14:31:00 UT
}

// CSV of other programs: their column names, dates and times, separators,
// zones by name, coordinates without a zone; a header Pelorin cannot read is
// refused with the columns it reads.
TEST(ExchangeForms, CsvOfOtherPrograms) {
    const Imported a = Import("Full Name;DOB;TOB;Birth Lat;Birth Lon;City;Country;TZ\n"
                              "Kate Louie;1994-01-06;11:47 AM;37,3861;-122,0839;Mountain View;US;America/Los_Angeles\n"
                              "Night Owl;15/05/1990;2:30 PM;40.7128N;74.0060W;;;\n"
                              "Amb;06/01/1994;;1;1;;;0\n"
                              "Lmt;1809-02-12T06:54:00;;37n34;85w44;;;LMT\n"
                              "Utc;1990-01-01;;51.5;0;;;UTC+3\n",
                              ExchangeFormat::Csv);
    const PersonRecord& kate = *a.at(2).record;
    EXPECT_EQ(a.at(2).source, PlaceSource::File);
    EXPECT_EQ(kate.Place.str(), PadRight("Mountain View, US", 26));
    EXPECT_EQ(kate.TimeText.str(), "11:47");
    EXPECT_EQ(+kate.Zone, -8);
    EXPECT_NEAR(Ut(kate), 2449359.324306, 1e-6);
    EXPECT_TRUE(Has(a.at(2).note, "пояс America/Los_Angeles на дату и время рождения: −8:00"));
    const ImportPlan& owl = a.at(3);
    EXPECT_EQ(owl.source, PlaceSource::NearestZone);
    EXPECT_EQ(owl.record->DateText.str(), "15.05.1990");
    EXPECT_EQ(owl.record->TimeText.str(), "14:30");
    EXPECT_EQ(+owl.record->Zone, -4);  // New York's summer time
    EXPECT_TRUE(Has(owl.note, "пояс города Нью-Йорк"));
    EXPECT_TRUE(Has(a.problem(4), "дата «06/01/1994» неоднозначна"));
    EXPECT_NEAR(Ut(*a.at(5).record), 2381826.025648, 2e-6);
    EXPECT_EQ(+a.at(6).record->Zone, 3);

    try {
        ParseExchange("who,when\nA,1990-01-01\n", ExchangeFormat::Csv, "in");
        ADD_FAILURE() << "a header without name and date read";
    } catch (const Error& e) {
        EXPECT_TRUE(Has(e.what(), "в строке заголовка нет столбцов имени и даты рождения. Pelorin читает столбцы: name "
                                  "(full_name, или first_name и last_name)"))
            << e.what();
    }
}

// Coordinates without a zone far from every atlas city: the person chooses the
// city whose zone to take, and the place stays the file's. An unknown sex goes
// into the men's list as a man, also through the atlas.
TEST(ExchangeForms, ZoneToChooseAndUnknownSexInTheMensList) {
    Imported a = Import("name,date,time,latitude,longitude,place\n"
                        "Sea,01.07.1990,10:00,-45,-140,Тихий океан\n"
                        "Omsk,01.07.1990,10:00,,,Омск\n",
                        ExchangeFormat::Csv, TableKind::Men);
    ImportPlan& sea = a.plans.at(0);
    ASSERT_EQ(sea.source, PlaceSource::ZoneToChoose);
    EXPECT_TRUE(NeedsChoice(sea));
    EXPECT_FALSE(sea.record);
    ASSERT_EQ(sea.candidates.size(), 5u);
    const double first = DistanceKm(-45 * 60, -140 * 60, sea.candidates[0].latMinutes, sea.candidates[0].lonMinutes);
    EXPECT_GT(first, kNearestZoneKm);
    EXPECT_LE(first, DistanceKm(-45 * 60, -140 * 60, sea.candidates[4].latMinutes, sea.candidates[4].lonMinutes));
    ChooseCandidate(sea, 0, DataDir());
    ASSERT_TRUE(sea.record);
    EXPECT_EQ(Cp1251ToUtf8(sea.record->CoordText.str()), "140°00’ЗД  45°00’ЮШ");
    EXPECT_EQ(sea.record->Place.str(), PadRight(Utf8ToCp1251("Тихий океан"), 26));
    EXPECT_EQ(sea.record->Sex.str(), "M");
    const ImportPlan& omsk = a.plans.at(1);
    ASSERT_EQ(omsk.source, PlaceSource::Atlas);
    EXPECT_EQ(omsk.record->Sex.str(), "M");
}

// The text of a file: Latin-1 told from Windows-1251 by its words, letters the
// code page lacks as their nearest, --encoding forcing a reading.
TEST(ExchangeForms, EncodingsAndTheNearestLetters) {
    const std::string latin1 = "name,date,comment\nM\xFCller,01.01.1990,Stra\xDF" "e n\xFCtzlich\n";
    ImportParse p = ParseExchange(latin1, ExchangeFormat::Csv, "in");
    EXPECT_EQ(p.encoding, ExchangeEncoding::Latin1);
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0].name, "Muller");
    EXPECT_EQ(p.rows[0].comment, "Strasse nutzlich");
    EXPECT_EQ(p.rows[0].notes.at(0), "имя «Müller» записано как «Muller»: буквы, которых нет в Windows-1251, заменены "
                                      "ближайшими");
    p = ParseExchange(latin1, ExchangeFormat::Csv, "in", ExchangeEncoding::Cp1251);
    EXPECT_EQ(p.encoding, ExchangeEncoding::Cp1251);
    EXPECT_EQ(Cp1251ToUtf8(p.rows[0].name), "Mьller");
    EXPECT_THROW(ParseExchange(latin1, ExchangeFormat::Csv, "in", ExchangeEncoding::Utf8), Error);

    const std::string cyrillic = Utf8ToCp1251("name,date\nАнна Müller,01.01.1990\n");  // ü has no byte: "?"
    p = ParseExchange(cyrillic, ExchangeFormat::Csv, "in");
    EXPECT_EQ(p.encoding, ExchangeEncoding::Cp1251);
    EXPECT_EQ(Cp1251ToUtf8(p.rows[0].name), "Анна M?ller");

    p = ParseExchange("name,date\nŁukasz 李,01.01.1990\n", ExchangeFormat::Csv, "in");
    EXPECT_EQ(p.encoding, ExchangeEncoding::Utf8);
    EXPECT_EQ(p.rows[0].name, "Lukasz ?");
    EXPECT_TRUE(Has(p.rows[0].notes.at(0), "нет и похожих букв — они заменены на «?»"));
    EXPECT_EQ(ExchangeEncodingNamed("latin1"), ExchangeEncoding::Latin1);
    EXPECT_FALSE(ExchangeEncodingNamed("koi8-r"));
}

PersonRecord Person(const char* name, TableKind kind, const std::string& csv) {
    const Imported a = Import("name,date,time,place,latitude,longitude,zone\n" + std::string(name) + "," + csv + "\n",
                              ExchangeFormat::Csv, kind);
    return *a.plans.at(0).record;
}

// A man with a typed place has no coordinates, zone or instant in the files;
// a zone of local mean time and a time with seconds come back exactly.
TEST(ExchangeForms, TheExportInventsNoPlaceAndKeepsSeconds) {
    PersonTable men{TableKind::Men, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(men, i);
    ManEntry typed;
    typed.name = "Typed";
    typed.place = "Russia, Omsk";
    test::ScratchDir dir;
    SavePersonFile(dir.file("MEN.DAT"), men);
    ASSERT_EQ(StoreMan(typed, men, dir.path(), 0).outcome, EntryOutcome::Stored);
    men.slot(2) = Person("Lmt", TableKind::Men, "12.02.1809,06:54:30,Hodgenville,37.566667,-85.733333,LMT");
    men.slot(2).Stamp.set("0000000002");
    const std::string aaf = ExportPeople(men, ExchangeFormat::Aaf);
    EXPECT_TRUE(Has(aaf, "#A93:Typed,*,m,15.06.1970,*,Russia‚ Omsk,*\r\n#B93:*,*,*,*,*\r\n")) << aaf;
    EXPECT_FALSE(Has(aaf, "44n53"));
    EXPECT_TRUE(Has(aaf, ",06:54:30,")) << aaf;
    EXPECT_TRUE(Has(aaf, ",37n34,85w44,5hw42:56,0\r\n")) << aaf;
    const std::string csv = ExportPeople(men, ExchangeFormat::Csv);
    EXPECT_TRUE(Has(csv, "\r\nTyped,M,15.06.1970,,\"Russia, Omsk\",,,,,\r\n")) << csv;

    for (ExchangeFormat format : {ExchangeFormat::Aaf, ExchangeFormat::Csv}) {
        const Imported back = Import(ExportPeople(men, format), format, TableKind::Men);
        ASSERT_EQ(back.plans.size(), 2u);
        EXPECT_EQ(back.plans[0].source, PlaceSource::MenEntry);
        PersonRecord typedBack = *back.plans[0].record, lmtBack = *back.plans[1].record;
        for (PersonRecord* r : {&typedBack, &lmtBack}) r->Stamp.set("0000000000");
        PersonRecord typedWas = men.slot(1), lmtWas = men.slot(2);
        for (PersonRecord* r : {&typedWas, &lmtWas}) r->Stamp.set("0000000000");
        for (PersonRecord* r : {&typedBack, &lmtBack, &typedWas, &lmtWas}) BuildListLine(*r);
        EXPECT_EQ(std::memcmp(&typedBack, &typedWas, sizeof typedWas), 0);
        EXPECT_EQ(std::memcmp(&lmtBack, &lmtWas, sizeof lmtWas), 0) << lmtBack.Moment - lmtWas.Moment;
    }
}

}  // namespace
}  // namespace pelorin
