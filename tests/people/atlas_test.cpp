#include "people/atlas.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/cp1251.h"
#include "base/errors.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

std::string C(const std::string& utf8) { return Utf8ToCp1251(utf8); }
std::string U(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

// A city line in the generated layout: name in 2..31, "%3d %02d %4d %02d".
std::string CityLine(const std::string& utf8Name, const std::string& coords) {
    std::string line = " " + C(utf8Name);
    line.resize(31, ' ');
    return line + coords;
}

std::string CountryLine(const std::string& utf8Name, const std::string& zones) {
    std::string line = "*" + C(utf8Name);
    line.resize(32, ' ');
    return line + zones;
}

// A list entry: the first 30 characters of a line, "*" shown as a blank.
std::string Entry(const std::string& utf8Name) {
    std::string e = " " + C(utf8Name);
    e.resize(30, ' ');
    return e;
}

std::string Coord(const std::string& coords) { return U(CoordText(CityLine("Город", coords), "t.wdt")); }

TEST(AtlasCoordText, WorkedLinesAndBlankRules) {
    // 5°30' N, 7°05' E: two blanks before the 7, three before the 5.
    EXPECT_EQ(Coord("  5 30    7 05"), "  7°05’ВД   5°30’СШ");
    // 10°00' S, 120°00' E: no leading blank, the south mark at the end.
    EXPECT_EQ(Coord("-10 00  120 00"), "120°00’ВД  10°00’ЮШ");
    EXPECT_EQ(Coord(" 44 53  -93 13"), " 93°13’ЗД  44°53’СШ");
    EXPECT_EQ(Coord(" 89 59 -179 59"), "179°59’ЗД  89°59’СШ");
    for (const char* c : {"  5 30    7 05", "-10 00  120 00", " 44 53  -93 13"})
        EXPECT_EQ(CoordText(CityLine("Город", c), "t.wdt").size(), 19u) << c;
}

TEST(AtlasCoordText, MinusBeforeZeroDegreesKeepsTheHemisphere) {
    // London and Quito: less than a degree west and south.
    EXPECT_EQ(Coord(" 51 31   -0 08"), "  0°08’ЗД  51°31’СШ");
    EXPECT_EQ(Coord(" -0 14  -78 31"), " 78°31’ЗД   0°14’ЮШ");
    // The add-city dialog writes the typed digits: "-00" and "-000".
    EXPECT_EQ(Coord("-00 30 -000 45"), "  0°45’ЗД   0°30’ЮШ");
    // Without a minus zero degrees read as before: north and east.
    EXPECT_EQ(Coord("  0 30    0 12"), "  0°12’ВД   0°30’СШ");
}

TEST(AtlasCoordText, UnreadableOrImpossibleDegreesAreDataErrors) {
    EXPECT_THROW(Coord(" 4x 53  -93 13"), Error);
    EXPECT_THROW(Coord(" 44 53  --9 13"), Error);
    EXPECT_THROW(Coord("    53  -93 13"), Error);
    EXPECT_THROW(Coord(" 90 00   10 00"), Error);
    EXPECT_THROW(Coord(" 10 00  180 00"), Error);
    EXPECT_THROW(CoordText(CityLine("Город", " 44 53  -9"), "t.wdt"), Error);  // short line
    EXPECT_THROW(CoordText("", "t.wdt"), Error);
    try {
        Coord(" 4x 53  -93 13");
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("t.wdt"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Город"), std::string::npos);
    }
}

TEST(AtlasCoordText, MinutesThatTheHousesCannotReadAreDataErrors) {
    // Minutes are copied into the coordinate text, which the houses read back
    // later: a city line with "1 " or "ab" there would give a person whose houses
    // fail, so the place is refused when it is chosen.
    EXPECT_THROW(Coord(" 11 40  -61 1 "), Error);
    EXPECT_THROW(Coord(" 11 4x  -61 10"), Error);
    EXPECT_THROW(Coord(" 11     -61 10"), Error);
    // A blank before a single digit reads, as the houses read it.
    EXPECT_EQ(Coord(" 11  4  -61 10"), " 61°10’ЗД  11° 4’СШ");
}

TEST(AtlasZone, JulianDayAndTheRangeBoundaries) {
    EXPECT_DOUBLE_EQ(JulianDayAt0h(1, 1, 2000), 2451544.5);
    EXPECT_DOUBLE_EQ(JulianDayAt0h(1, 5, 1924), 2423906.5);
    // The first day of every range, and the day before it.
    struct Start { int d, m, y; double jd; };
    const Start starts[] = {{16, 6, 1930, 2426143.5}, {9, 2, 1931, 2426381.5},  {1, 12, 1956, 2435808.5},
                            {1, 4, 1981, 2444695.5},  {1, 4, 1982, 2445060.5},  {26, 3, 1989, 2447611.5},
                            {25, 3, 1990, 2447975.5}, {30, 9, 1990, 2448164.5}, {19, 1, 1992, 2448640.5}};
    int field = 2;
    for (const Start& s : starts) {
        const double jd = JulianDayAt0h(s.d, s.m, s.y);
        EXPECT_DOUBLE_EQ(jd, s.jd) << s.d << "." << s.m << "." << s.y;
        EXPECT_EQ(ZoneFieldFor(jd), field);
        EXPECT_EQ(ZoneFieldFor(jd - 1), field - 1);
        ++field;
    }
    EXPECT_EQ(ZoneFieldFor(JulianDayAt0h(15, 6, 1930)), 1);
    EXPECT_EQ(ZoneFieldFor(JulianDayAt0h(1, 1, 1800)), 1);
    EXPECT_EQ(ZoneFieldFor(JulianDayAt0h(1, 1, 2090)), 10);
}

TEST(AtlasZone, FieldsReadAsNumbersOrFailNamingTheFile) {
    const std::string line = CountryLine("Страна", " 1.5-3.5  +2  10-4.7   0  -0 3.0   7   8");
    const double expected[] = {1.5, -3.5, 2, 10, -4.7, 0, 0, 3, 7, 8};
    for (int f = 1; f <= 10; ++f) EXPECT_DOUBLE_EQ(ReadZoneField(line, f, "z.wdt"), expected[f - 1]) << f;
    EXPECT_DOUBLE_EQ(ReadZoneField(line + "  11", 11, "z.wdt"), 11);
    const std::string bad = CountryLine("Страна", " 3.0 3x.  3.   . -   3 4");
    for (int f = 2; f <= 6; ++f) EXPECT_THROW(ReadZoneField(bad, f, "z.wdt"), Error) << f;
    EXPECT_THROW(ReadZoneField(CountryLine("Страна", "   3"), 2, "z.wdt"), Error);  // beyond the line
    try {
        ReadZoneField(bad, 2, "z.wdt");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("z.wdt"), std::string::npos);
    }
}

TEST(AtlasZone, ZoneTextHasOneDecimalInFiveCharacters) {
    EXPECT_EQ(ZoneText(3), "  3.0");
    EXPECT_EQ(ZoneText(-3.5), " -3.5");
    EXPECT_EQ(ZoneText(5.75), "  5.8");
    EXPECT_EQ(ZoneText(0.25), "  0.3");
    EXPECT_EQ(ZoneText(-0.74), " -0.7");
    EXPECT_EQ(ZoneText(-0.04), "  0.0");
    EXPECT_EQ(ZoneText(-10), "-10.0");
    EXPECT_EQ(ZoneText(12.75), " 12.8");
}

// A small region: two countries with a city of the same name.
std::vector<std::string> SampleRegion() {
    return {CountryLine("Бета", "   1   2   3   4   5   6   7   8   9  10  11"),
            CityLine("Ёлкино", " 55 00   37 00"),
            CityLine("Самый длинный город на свете и ещё", " 10 00   10 00").substr(0, 31) + " 10 00   10 00",
            CityLine("Енисейск", " 58 27   92 10"),
            CityLine("Общий", " 40 00   20 00"),
            "",
            CountryLine("Альфа", "   0   0   0   0   0   0   0   0   0 2.5   2"),
            CityLine("Общий", " -0 30   -0 15"),
            CityLine("Zurich", " 47 22    8 33")};
}

TEST(AtlasLists, CountryAndCityEntriesAsTheListsShowThem) {
    const auto lines = SampleRegion();
    const auto countries = CountryEntries(lines);
    ASSERT_EQ(countries.size(), 2u);
    std::string alfa = Entry("Альфа");
    alfa.resize(30, ' ');
    EXPECT_EQ(countries[0], alfa);
    EXPECT_EQ(countries[1].substr(0, 5), C(" Бета"));

    const auto cities = CityEntries(lines, countries[1]);
    ASSERT_EQ(cities.size(), 4u);  // the empty line is no city
    for (const auto& c : cities) EXPECT_EQ(c.size(), 30u);
    // Alphabetical: Ё right after Е, whatever the byte values say.
    EXPECT_EQ(cities[0].substr(0, 9), C(" Енисейск"));
    EXPECT_EQ(cities[1].substr(0, 7), C(" Ёлкино"));
    EXPECT_EQ(cities[2].substr(0, 6), C(" Общий"));
    const auto alfaCities = CityEntries(lines, countries[0]);
    ASSERT_EQ(alfaCities.size(), 2u);
    EXPECT_EQ(alfaCities[0].substr(0, 7), " Zurich");  // Latin before Cyrillic
    EXPECT_TRUE(CityEntries(lines, " Гамма").empty());
    EXPECT_TRUE(AtlasEntryLess(C("абв"), C("Абг")));
    EXPECT_TRUE(AtlasEntryLess(C("Е"), C("ё")) && AtlasEntryLess(C("ё"), C("Ж")));
}

TEST(AtlasChoose, TheCityAfterTheChosenCountryIsTaken) {
    const auto lines = SampleRegion();
    const auto countries = CountryEntries(lines);
    const std::string common = CityLine("Общий", "").substr(0, 30);
    PlaceChoice a = ChoosePlace(lines, countries[0], common, 1, 1, 2000, "r.wdt");
    EXPECT_EQ(U(a.CoordText), "  0°15’ЗД   0°30’ЮШ");
    EXPECT_DOUBLE_EQ(a.Zone, 2.5);
    EXPECT_EQ(a.ZoneText, "  2.5");
    PlaceChoice b = ChoosePlace(lines, countries[1], common, 1, 1, 2000, "r.wdt");
    EXPECT_EQ(U(b.CoordText), " 20°00’ВД  40°00’СШ");
    EXPECT_DOUBLE_EQ(b.Zone, 10);
    EXPECT_EQ(U(b.Place), "Общий                     ");
    // The zone follows the birth date.
    EXPECT_DOUBLE_EQ(ChoosePlace(lines, countries[1], common, 15, 6, 1930, "r.wdt").Zone, 1);
    EXPECT_DOUBLE_EQ(ChoosePlace(lines, countries[1], common, 16, 6, 1930, "r.wdt").Zone, 2);
    EXPECT_DOUBLE_EQ(ChoosePlace(lines, countries[1], common, 18, 1, 1992, "r.wdt").Zone, 9);
}

TEST(AtlasChoose, LongNamesAreCutAndMissingEntriesRefused) {
    const auto lines = SampleRegion();
    const auto countries = CountryEntries(lines);
    const auto cities = CityEntries(lines, countries[1]);
    PlaceChoice p = ChoosePlace(lines, countries[1], cities[3], 1, 1, 1970, "r.wdt");
    EXPECT_EQ(p.Place.size(), 26u);
    EXPECT_EQ(U(p.Place), "Самый длинный город на све");
    EXPECT_EQ(cities[3].size(), 30u);
    // A city of another country's block is not this country's city.
    EXPECT_THROW(ChoosePlace(lines, countries[1], " Zurich", 1, 1, 1970, "r.wdt"), Error);
    EXPECT_THROW(ChoosePlace(lines, " Гамма", cities[0], 1, 1, 1970, "r.wdt"), Error);
}

TEST(AtlasRegions, FileNamesOfTheSevenRegions) {
    EXPECT_EQ(RegionFileName("/d/", "sng"), "/d/sng.wdt");
    EXPECT_EQ(RegionFileName("/d/", "austral.wdt"), "/d/austral.wdt");
    EXPECT_FALSE(RegionFileName("/d/", "asia"));
    EXPECT_FALSE(RegionFileName("/d/", ""));
}

NewCity TypedCity() {
    NewCity c;
    c.name = C("Тверь");
    c.lonDeg = "035";
    c.lonMin = "55";
    c.latDeg = "56";
    c.latMin = "52";
    return c;
}

TEST(AtlasAddCity, BuildsTheLineFromTheTypedFields) {
    NewCity c = TypedCity();
    c.name = C("Орёл");
    const std::string line = BuildCityLine(c);
    ASSERT_EQ(line.size(), 45u);
    EXPECT_EQ(line.substr(0, 31), " " + C("Орёл") + std::string(26, ' '));
    EXPECT_EQ(line.substr(31), " 56 52  035 55");
    c.latDeg = "05";
    c.south = true;
    c.lonDeg = "07";
    c.west = true;
    EXPECT_EQ(BuildCityLine(c).substr(31), "-05 52  -07 55");
    EXPECT_EQ(BuildCityLine(c).substr(38, 4), " -07");
    // Degrees of 0 keep the minus and read back as south and west.
    c.latDeg = "00";
    c.lonDeg = "000";
    EXPECT_EQ(U(CoordText(BuildCityLine(c), "t.wdt")), "  0°55’ЗД   0°52’ЮШ");
    // A name is cut to 30 characters; a line break in it cannot split the file.
    c.name = std::string(40, 'x');
    EXPECT_EQ(BuildCityLine(c).substr(1, 30), std::string(30, 'x'));
    c.name = "A\r\n*B";
    EXPECT_EQ(BuildCityLine(c).substr(0, 7), " A  *B ");
}

TEST(AtlasAddCity, IncompleteOrUnreadableFieldsAreRefused) {
    EXPECT_TRUE(NewCityAcceptable(TypedCity()));
    auto with = [](auto change) {
        NewCity c = TypedCity();
        change(c);
        return NewCityAcceptable(c);
    };
    EXPECT_FALSE(with([](NewCity& c) { c.latDeg = "5"; }));  // one digit without its leading zero
    EXPECT_FALSE(with([](NewCity& c) { c.lonMin = "7"; }));
    EXPECT_FALSE(with([](NewCity& c) { c.name = "N"; }));
    EXPECT_FALSE(with([](NewCity& c) { c.lonDeg = ""; }));
    EXPECT_FALSE(with([](NewCity& c) { c.latDeg = "5a"; }));
    EXPECT_FALSE(with([](NewCity& c) { c.lonDeg = "-35"; }));
    EXPECT_FALSE(with([](NewCity& c) { c.latDeg = "90"; }));
    EXPECT_FALSE(with([](NewCity& c) { c.lonDeg = "180"; }));
    EXPECT_FALSE(with([](NewCity& c) { c.latMin = "60"; }));
    EXPECT_TRUE(with([](NewCity& c) { c.lonDeg = "179"; c.latDeg = "89"; c.latMin = "59"; }));
}

TEST(AtlasAddCity, InsertsAfterTheCountryAndCutsLinesAt80) {
    const std::string longCity = CityLine("Длинный", " 10 00   10 00") + std::string(50, '#');
    const std::string content = CountryLine("Альфа", "   1") + "\r\n" + longCity + "\n" +
                                CountryLine("Бета", "   2") + "\r\n" + CityLine("Старый", " 20 00   20 00");
    const std::string added = CityLine("Новый", " 30 00   30 00");
    const std::string out = InsertCityLine(content, Entry("Бета"), added, "r.wdt");
    const std::string expected = CountryLine("Альфа", "   1") + "\r\n" + longCity.substr(0, 80) + "\r\n" +
                                 CountryLine("Бета", "   2") + "\r\n" + added + "\r\n" +
                                 CityLine("Старый", " 20 00   20 00") + "\r\n";
    EXPECT_EQ(out, expected);
    EXPECT_THROW(InsertCityLine(content, Entry("Гамма"), added, "r.wdt"), Error);
}

TEST(AtlasAddCity, RewritesTheRegionFileAndTheChooserFindsTheCity) {
    test::ScratchDir dir;
    const std::string file = dir.file("europa.wdt");
    const std::string content = CountryLine("Альфа", "   1   1   1   1   1   1   1   1   1   3   3") + "\r\n" +
                                CityLine("Старый", " 20 00   20 00") + "\r\n";
    test::WriteFile(file, content);
    NewCity incomplete = TypedCity();
    incomplete.latMin = "2";
    EXPECT_FALSE(AddCityToRegion(file, Entry("Альфа"), incomplete));
    EXPECT_EQ(test::ReadFile(file), content);

    ASSERT_TRUE(AddCityToRegion(file, Entry("Альфа"), TypedCity()));
    const auto lines = ReadRegionLines(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], BuildCityLine(TypedCity()));
    const auto cities = CityEntries(lines, Entry("Альфа"));
    ASSERT_EQ(cities.size(), 2u);
    EXPECT_EQ(cities[1].substr(0, 6), C(" Тверь"));  // in alphabetical place
    PlaceChoice p = ChoosePlace(lines, Entry("Альфа"), cities[1], 1, 1, 2000, file);
    EXPECT_EQ(U(p.CoordText), " 35°55’ВД  56°52’СШ");
    EXPECT_EQ(U(p.Place), "Тверь                     ");
    EXPECT_DOUBLE_EQ(p.Zone, 3);

    // A region file that cannot be replaced stays as it was.
    const std::string before = test::ReadFile(file);
    ::chmod(file.c_str(), 0444);
    EXPECT_THROW(AddCityToRegion(file, Entry("Альфа"), TypedCity()), Error);
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(test::ReadFile(file), before);
    EXPECT_THROW(AddCityToRegion(dir.file("absent.wdt"), Entry("Альфа"), TypedCity()), Error);
}

}  // namespace
}  // namespace pelorin

namespace pelorin {
namespace {

// Region files of arbitrary bytes: every entry either gives a place or a data
// error, never a read out of bounds (run under the sanitizer build too).
TEST(AtlasRobustness, ArbitraryRegionBytesGivePlacesOrErrors) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const std::string alphabet = "*  -+0123456789.\r\n\xC0\xFF";
    int places = 0, errors = 0;
    for (int round = 0; round < 300; ++round) {
        std::string content;
        const int n = static_cast<int>(next() % 400);
        for (int i = 0; i < n; ++i)
            content += (next() % 8 == 0) ? static_cast<char>(next() & 0xFF) : alphabet[next() % alphabet.size()];
        if (round % 3 == 0) content = CountryLine("Страна", "   1   2   3   4   5   6   7   8   9  10  11") +
                                      "\r\n" + CityLine("Город", " 10 00   20 00").substr(0, next() % 46) +
                                      "\r\n" + content;
        const auto lines = SplitRegionLines(content);
        for (const auto& line : lines) ASSERT_LE(line.size(), kAtlasLineWidth);
        for (const auto& country : CountryEntries(lines)) {
            for (const auto& city : CityEntries(lines, country)) {
                for (int date : {1, 2448640}) {
                    try {
                        PlaceChoice p = ChoosePlace(lines, country, city, 1, 1, date == 1 ? 1900 : 2000, "f.wdt");
                        EXPECT_EQ(p.CoordText.size(), 19u);
                        EXPECT_EQ(p.ZoneText.size(), 5u);
                        ++places;
                    } catch (const Error&) {
                        ++errors;
                    }
                }
            }
            EXPECT_EQ(SplitRegionLines(InsertCityLine(content, country, BuildCityLine(TypedCity()), "f.wdt")).size(),
                      lines.size() + 1);
        }
    }
    EXPECT_GT(places, 0);
    EXPECT_GT(errors, 0);
}

}  // namespace
}  // namespace pelorin
