#include "people/city_search.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

std::string Line(const std::string& utf8Name, const std::string& coords, bool country = false) {
    std::string line = (country ? "*" : " ") + Utf8ToCp1251(utf8Name);
    line.resize(country ? 32 : 31, ' ');
    return line + coords;
}

std::string Trim(const std::string& cp1251) {
    std::string s = Cp1251ToUtf8(cp1251);
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::vector<std::string> Names(const std::vector<CityHit>& hits) {
    std::vector<std::string> out;
    for (const CityHit& h : hits) out.push_back(Trim(h.city) + "/" + Trim(h.country) + "/" + std::to_string(h.region));
    return out;
}

// Namesakes of all regions with their country, case and "ё" folded, the
// leading blank ignored, Latin queries reaching Russian names, signed coordinates.
TEST(CitySearch, FindsByBeginningAcrossRegions) {
    const std::string zones = "   3   3   3   3   3   3   3   3   3   3   3";
    const CitySearch s = CitySearch::FromLines({
        {Line("Россия (Москва)", zones, true), Line("Москва", " 55 45   37 37"), Line("Мосальск", " 54 30   34 59"),
         Line("Ёлкино", " 56 00   40 00")},
        {},
        {Line("США", zones, true), Line("Moscow", " 46 44 -116 59"), Line("Мосс", " -0 30   -0 10")},
        {},
        {},
        {},
        {Line("Австралия", zones, true), Line("Moss Vale", "-34 33  150 22")},
    });
    EXPECT_EQ(Names(s.Find(Utf8ToCp1251("  мОс"))),
              (std::vector<std::string>{"Мосальск/Россия (Москва)/0", "Москва/Россия (Москва)/0", "Мосс/США/2"}));
    EXPECT_EQ(Names(s.Find("mos")), (std::vector<std::string>{"Moscow/США/2", "Moss Vale/Австралия/6",
                                                               "Мосальск/Россия (Москва)/0",
                                                               "Москва/Россия (Москва)/0", "Мосс/США/2"}));
    EXPECT_EQ(Names(s.Find("MOSKVA")), (std::vector<std::string>{"Москва/Россия (Москва)/0"}));
    EXPECT_EQ(Names(s.Find(Utf8ToCp1251("ел"))), (std::vector<std::string>{"Ёлкино/Россия (Москва)/0"}));
    EXPECT_EQ(Names(s.Find("yolkino")).size(), 0u);  // ё is read as е
    EXPECT_TRUE(s.Find("   ").empty());
    const std::vector<CityHit> south = s.Find("moss v");
    ASSERT_EQ(south.size(), 1u);
    EXPECT_EQ(south[0].latMinutes, -(34 * 60 + 33));
    EXPECT_EQ(south[0].lonMinutes, 150 * 60 + 22);
    const std::vector<CityHit> minus0 = s.Find(Utf8ToCp1251("мосс"));
    ASSERT_EQ(minus0.size(), 1u);
    EXPECT_EQ(minus0[0].latMinutes, -30);
    EXPECT_EQ(minus0[0].lonMinutes, -10);
    EXPECT_EQ(s.Find("m", 2).size(), 2u);
}

// The names people type in other languages and former names find a city; a
// name equal to the whole query comes first, then the biggest cities.
TEST(CitySearch, OtherNamesAndRanking) {
    const std::string zones = "   3   3   3   3   3   3   3   3   3   3   3";
    const CitySearch s = CitySearch::FromLines(
        {
            {Line("Россия (Москва)", zones, true), Line("Москва", " 55 45   37 37"),
             Line("Санкт-Михайловка", " 50 00   40 00"), Line("Санкт-Петербург", " 59 56   30 19")},
            {Line("Германия", zones, true), Line("Мюнхен", " 48 08   11 34"),
             Line("Франция", zones, true), Line("Париж", " 48 51    2 21"), Line("Parish", " 45 00    1 00")},
            {Line("США", zones, true), Line("Paris", " 33 40  -95 33")},
            {}, {}, {},
            {Line("Армения", zones, true), Line("Ванадзор", " 40 48   44 29")},
        },
        {"PELORIN CITIES 1",
         Utf8ToCp1251("sng\tРоссия (Москва)\tМосква\t12000000\tMoscow\tMoskau\tМосква"),
         Utf8ToCp1251("sng\tРоссия (Москва)\tСанкт-Михайловка\t900\tSankt-Mikhaylovka"),
         Utf8ToCp1251("sng\tРоссия (Москва)\tСанкт-Петербург\t5000000\tSaint Petersburg"),
         Utf8ToCp1251("europa\tГермания\tМюнхен\t1260000\tMunich\tMunchen"),
         Utf8ToCp1251("europa\tФранция\tПариж\t2100000\tParis\tParigi"),
         Utf8ToCp1251("europa\tФранция\tParish\t9000000"),
         Utf8ToCp1251("namerica\tСША\tParis\t25000"),
         Utf8ToCp1251("austral\tАрмения\tВанадзор\t100000\tVanadzor\tКировакан"),
         "broken line", "sng\tx\ty\tmany", "END"});
    EXPECT_EQ(Names(s.Find("Moscow")), (std::vector<std::string>{"Москва/Россия (Москва)/0"}));
    EXPECT_EQ(Names(s.Find("munich")), (std::vector<std::string>{"Мюнхен/Германия/1"}));
    EXPECT_EQ(Names(s.Find(Utf8ToCp1251("кировак"))), (std::vector<std::string>{"Ванадзор/Армения/6"}));
    // Both whole "paris" first, the bigger one before; the bigger "Parish" after them.
    EXPECT_EQ(Names(s.Find("paris")),
              (std::vector<std::string>{"Париж/Франция/1", "Paris/США/2", "Parish/Франция/1"}));
    // No whole name: the biggest first, not the alphabet's first.
    EXPECT_EQ(Names(s.Find(Utf8ToCp1251("санкт"))),
              (std::vector<std::string>{"Санкт-Петербург/Россия (Москва)/0", "Санкт-Михайловка/Россия (Москва)/0"}));
    EXPECT_EQ(s.Find("moscow")[0].population, 12000000);

    // Typed with accents Windows-1251 lacks.
    std::string q;
    ASSERT_TRUE(SearchQueryOf("München", q));
    EXPECT_EQ(q, "Munchen");
    EXPECT_EQ(Names(s.Find(q)), (std::vector<std::string>{"Мюнхен/Германия/1"}));
    ASSERT_TRUE(SearchQueryOf("Łódź Ærø Straße", q));
    EXPECT_EQ(q, "Lodz AEro Strasse");
    EXPECT_FALSE(SearchQueryOf("東京", q));
}

// The batch tool lists the shipped atlas's namesakes with what `place` needs.
TEST(CitySearch, CliFindsInTheShippedAtlas) {
    test::ScratchDir dir;
    test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + std::string(PELORIN_BINARY_DIR) + "/data/\n");
    const test::RunResult r = test::RunCli("place --config " + test::Quote(dir.file("main.dat")) + " --find " +
                                           test::Quote("ноВОСИбирск"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(R"({"region": "sng", "region_caption": "СНГ", "country": "Россия (Новосибирск))"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(R"("city": "Новосибирск", "lat": 55.0333)"), std::string::npos) << r.out;
    EXPECT_EQ(test::RunCli("place --config x --find a --region sng").exitCode, 2);

    // Names in other languages and the population order of the shipped names file.
    for (const char* exonym : {"Moscow", "Kyiv", "Munich", "München", "New York", "Paris"}) {
        const test::RunResult e = test::RunCli("place --config " + test::Quote(dir.file("main.dat")) + " --find " +
                                               test::Quote(exonym));
        ASSERT_EQ(e.exitCode, 0) << exonym << e.err;
        const std::string first = e.out.substr(0, e.out.find('}'));
        const char* city = std::string(exonym) == "Moscow" ? "\"city\": \"Москва\"" :
                           std::string(exonym) == "Kyiv"   ? "\"city\": \"Киев\"" :
                           std::string(exonym) == "Paris"  ? "\"city\": \"Париж\"" :
                           std::string(exonym) == "New York" ? "\"city\": \"Нью-Йорк\"" : "\"city\": \"Мюнхен\"";
        EXPECT_NE(first.find(city), std::string::npos) << exonym << ": " << first;
    }
    const test::RunResult sankt = test::RunCli("place --config " + test::Quote(dir.file("main.dat")) + " --find " +
                                               test::Quote("санкт"));
    EXPECT_NE(sankt.out.substr(0, sankt.out.find('}')).find("Санкт-Петербург"), std::string::npos) << sankt.out;
}

}  // namespace
}  // namespace pelorin
