// The shipped region files: their layout, and the places the chooser takes from
// them, also through pelorin-cli.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "people/atlas.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::RunCli;

std::string C(const std::string& utf8) { return Utf8ToCp1251(utf8); }

TEST(AtlasShippedFiles, EveryLineHasTheLayoutTheChooserReads) {
    const ZoneTable zones = ZoneTable::Load(JoinPath(test::SourceDataDir(), kZoneTableFile));
    std::size_t cities = 0;
    for (const AtlasRegion& region : kAtlasRegions) {
        const std::string file = JoinPath(test::SourceDataDir(), region.file);
        const std::string content = test::ReadFile(file);
        ASSERT_FALSE(content.empty()) << file;
        ASSERT_EQ(content.substr(content.size() - 2), "\r\n") << file;
        // Every line ends in CR LF and has no stray CR or LF inside.
        std::size_t crlf = 0;
        for (std::size_t p = content.find('\n'); p != std::string::npos; p = content.find('\n', p + 1)) {
            ASSERT_GT(p, 0u);
            ASSERT_EQ(content[p - 1], '\r') << file << " at " << p;
            ++crlf;
        }
        const auto lines = SplitRegionLines(content);
        ASSERT_EQ(lines.size(), crlf) << file;
        ASSERT_EQ(std::count(content.begin(), content.end(), '\r'), static_cast<long>(crlf)) << file;
        ASSERT_EQ(lines[0][0], '*') << file;

        std::set<std::string> countryKeys, cityKeys;
        std::string country;
        for (const std::string& line : lines) {
            ASSERT_FALSE(line.empty()) << file;
            if (line[0] == '*') {
                ASSERT_EQ(line.size(), 80u) << file << ": " << Cp1251ToUtf8(line);
                ASSERT_NE(zones.zone(ZoneNumberOf(line, true, file)), nullptr) << Cp1251ToUtf8(line);
                ASSERT_EQ(line.substr(30, 2), "  ") << Cp1251ToUtf8(line);
                ASSERT_TRUE(countryKeys.insert(EntryKey(line)).second) << Cp1251ToUtf8(line);
                for (int f = 1; f <= 11; ++f) {
                    const double z = ReadZoneField(line, f, file);
                    ASSERT_TRUE(z >= -12 && z <= 14) << Cp1251ToUtf8(line);
                }
                country = line;
                cityKeys.clear();
                continue;
            }
            ASSERT_EQ(line.size(), 49u) << Cp1251ToUtf8(line);
            ASSERT_NE(zones.zone(ZoneNumberOf(line, false, file)), nullptr) << Cp1251ToUtf8(line);
            ASSERT_EQ(line[0], ' ');
            ASSERT_EQ(line[30], ' ') << Cp1251ToUtf8(line);  // 29 characters of name at most
            ASSERT_EQ(line[34], ' ');
            ASSERT_EQ(line[37], ' ');
            ASSERT_EQ(line[42], ' ');
            // Names are unique within their country as far as the list shows them.
            ASSERT_TRUE(cityKeys.insert(EntryKey(line)).second) << Cp1251ToUtf8(country) << Cp1251ToUtf8(line);
            ASSERT_EQ(CoordText(line, file).size(), 19u) << Cp1251ToUtf8(line);
            ++cities;
        }
    }
    EXPECT_GT(cities, 23000u);
}

TEST(AtlasShippedFiles, PlacesNearTheZeroMeridianAndTheEquatorKeepTheirHemisphere) {
    struct Case { const char* region; const char* country; const char* city; const char* date;
                  const char* coord; double zone; };
    const Case cases[] = {
        {"europa", "Великобритания", "Лондон", "01.07.1975", "  0°08’ЗД  51°31’СШ", 0},
        {"samerica", "Эквадор", "Кито", "01.07.1975", " 78°31’ЗД   0°14’ЮШ", -5},
        {"africa", "Гана", "Аккра", "01.07.1975", "  0°12’ЗД   5°33’СШ", 0},
        {"sng", "Россия (Москва)", "Москва", "19.01.1992", " 37°37’ВД  55°45’СШ", 3},
        {"sng", "Россия (Москва)", "Москва", "18.01.1992", " 37°37’ВД  55°45’СШ", 2},
        {"sng", "Россия (Новосибирск)", "Новосибирск", "01.07.1975", " 82°56’ВД  55°02’СШ", 7},
        {"austral", "Австралия (Аделаида)", "Аделаида", "01.07.1975", "138°36’ВД  34°56’ЮШ", 9.5},
        {"namerica", "США (Нью-Йорк)", "Нью-Йорк", "01.07.1975", " 74°00’ЗД  40°43’СШ", -5},
    };
    for (const Case& c : cases) {
        const std::string file = *RegionFileName(test::SourceDataDir(), c.region);
        const auto lines = ReadRegionLines(file);
        std::string country = " " + C(c.country);
        country.resize(30, ' ');
        std::string city = " " + C(c.city);
        city.resize(30, ' ');
        const int d = std::stoi(std::string(c.date).substr(0, 2));
        const int m = std::stoi(std::string(c.date).substr(3, 2));
        const int y = std::stoi(std::string(c.date).substr(6));
        const PlaceChoice p = ChoosePlace(lines, country, city, d, m, y, file);
        EXPECT_EQ(Cp1251ToUtf8(p.CoordText), c.coord) << c.city;
        EXPECT_DOUBLE_EQ(p.Zone, c.zone) << c.city << " " << c.date;
    }
}

class AtlasCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(dir.file("main.dat"), dir.path() + "\r\n" + dir.path() + "\r\n");
        std::string region = "*" + C("Бета");
        region.resize(32, ' ');
        region += "   1   2   3   4   5   6   7   8   9  10  11\r\n";
        std::string city = " " + C("Город");
        city.resize(31, ' ');
        region += city + " -0 30 -120 05\r\n";
        test::WriteFile(dir.file("azia.wdt"), region);
    }
    std::string Run(const std::string& country, const std::string& city, const std::string& date,
                    int* exitCode = nullptr, const std::string& region = "azia") {
        const auto r = RunCli("place --config " + Quote(dir.file("main.dat")) + " --region " + region +
                              " --country " + Quote(country) + " --city " + Quote(city) + " --date " + date);
        if (exitCode) *exitCode = r.exitCode;
        return r.exitCode == 0 ? r.out : r.err;
    }
    test::ScratchDir dir;
};

TEST_F(AtlasCli, PrintsThePlaceFieldsAsJson) {
    int rc = -1;
    EXPECT_EQ(Run("Бета", "Город", "16.06.1930", &rc),
              "{\"place\": \"Город                     \", \"coord_text\": \"120°05’ЗД   0°30’ЮШ\", "
              "\"zone\": 2, \"zone_text\": \"  2.0\", \"shift_flag\": \"L\", \"clock\": \"plain\", "
              "\"moment\": 11123.875}\n");
    EXPECT_EQ(rc, 0);
    // The entries as the lists show them: leading blank, trailing blanks optional.
    EXPECT_NE(Run(" Бета      ", " Город", "15.06.1930", &rc).find("\"zone\": 1,"), std::string::npos);
    EXPECT_EQ(rc, 0);
}

TEST_F(AtlasCli, UnknownEntriesAreDataErrorsAndBadArgumentsUsageErrors) {
    int rc = -1;
    EXPECT_NE(Run("Бета", "Деревня", "01.01.2000", &rc).find("Деревня"), std::string::npos);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(Run("Гамма", "Город", "01.01.2000", &rc).find("azia.wdt"), std::string::npos);
    EXPECT_EQ(rc, 1);
    Run("Бета", "Город", "01.01.2000", &rc, "sng");  // the file is missing
    EXPECT_EQ(rc, 1);
    Run("Бета", "Город", "01.01.2000", &rc, "asia");
    EXPECT_EQ(rc, 2);
    Run("Бета", "Город", "2000-01-01", &rc);
    EXPECT_EQ(rc, 2);
}

}  // namespace
}  // namespace pelorin
