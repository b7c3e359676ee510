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
}

}  // namespace
}  // namespace pelorin
