#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "astro/birth_moment.h"
#include "base/cp1251.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::JsonNumbers;
using test::Quote;
using test::ReadFile;
using test::RunCli;

// A data directory as built (databases, Fond.in, atlas, zone table) with one
// woman born at a known time in Moscow and no man yet.
struct ExactDir {
    test::ScratchDir dir;
    std::string config = dir.file("main.dat");
    ExactDir() {
        namespace fs = std::filesystem;
        for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data")) {
            const std::string ext = f.path().extension().string();
            if (ext != ".DAT") fs::copy_file(f.path(), dir.file(f.path().filename().string()));
        }
        PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(women, i), ClearSlot(men, i);
        SavePersonFile(dir.file("FEMIN.DAT"), women);
        SavePersonFile(dir.file("MEN.DAT"), men);
        test::WriteFile(config, dir.path() + "\n" + dir.path() + "\n");
    }
    std::string Add(const std::string& list, const std::string& rest) const {
        const auto r = RunCli("add --config " + Quote(config) + " --list " + list + " " + rest);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::smatch m;
        EXPECT_TRUE(std::regex_search(r.out, m, std::regex(R"re("stamp": "(\d{10})")re"))) << r.out;
        return m[1];
    }
    PersonRecord Man(int slot) const {
        PersonTable men{TableKind::Men, {}};
        LoadPersonFile(dir.file("MEN.DAT"), men);
        return men.slot(slot);
    }
};

int Field(const std::string& json, const std::string& key) {
    std::smatch m;
    EXPECT_TRUE(std::regex_search(json, m, std::regex("\"" + key + "\": (-?\\d+)"))) << key << " in " << json;
    return std::stoi(m[1]);
}

// A man born in London at 14:30 on 15 July 1990 is stored at 13:30 UT (summer
// time, as tzdata has it); his cusps in the pair analysis are those of `chart`
// at his moment and place; her bodies in his houses are scored and the second
// figure adds them to the totals.
TEST(CliManHouses, AtlasManWithTimeHasTheExactMomentAndHisHouses) {
    ExactDir d;
    const std::string woman = d.Add("women", "--name " + Quote("Анна") + " --date 05.06.1975 --time 09:36 --region sng "
                                             "--country " + Quote("Россия (Москва)") + " --city " + Quote("Москва"));
    const std::string man = d.Add("men", "--name " + Quote("Борис") + " --date 15.07.1990 --time 14:30 --region europa "
                                         "--country " + Quote("Великобритания") + " --city " + Quote("Лондон"));
    const PersonRecord m = d.Man(1);
    EXPECT_EQ(m.ShiftFlag.str(), "Z");
    EXPECT_EQ(m.ZoneText.str(), "  1.0");
    EXPECT_EQ(m.TimeText.str(), "14:30");
    EXPECT_EQ(Cp1251ToUtf8(m.CoordText.str()), "  0°08’ЗД  51°31’СШ");
    EXPECT_DOUBLE_EQ(m.Moment, FormBirthMoment(15, 7, 1990, 13, 30, true, 0, false));

    const auto pair = RunCli("pair --config " + Quote(d.config) + " --woman " + woman + " --man " + man);
    ASSERT_EQ(pair.exitCode, 0) << pair.err;
    char moment[64];
    std::snprintf(moment, sizeof moment, "%.17g", double(m.Moment));
    const auto chart = RunCli(std::string("chart --moment ") + moment + " --coords " +
                              Quote(Cp1251ToUtf8(m.CoordText.str())) + " --data " + Quote(d.dir.path()));
    ASSERT_EQ(chart.exitCode, 0) << chart.err;
    const std::vector<double> his = JsonNumbers(pair.out, "man_cusps"), expected = JsonNumbers(chart.out, "cusps");
    ASSERT_EQ(his.size(), 12u) << pair.out;
    ASSERT_EQ(expected.size(), 12u) << chart.out;
    for (int i = 0; i < 12; ++i) EXPECT_NEAR(his[i], expected[i], 1e-9) << "cusp " << i + 1;

    const std::vector<double> reverse = JsonNumbers(pair.out, "reverse_overlay");
    ASSERT_EQ(reverse.size(), 10u);
    for (double h : reverse) EXPECT_TRUE(h >= 1 && h <= 12) << pair.out;
    // Every one of her bodies has a text in the shipped database: ten factors,
    // and the second figure is the percentage of the totals with them added.
    std::smatch f;
    const std::string out = pair.out;
    ASSERT_TRUE(std::regex_search(out, f, std::regex(R"("reverse_factors": \[(.*?)\], "percent_with)")));
    const std::string factors = f[1];
    const std::regex item(R"re(\{"woman_body": "[A-Za-z]+", "house": (\d+), "weight": (-?\d+)\})re");
    int rp = 0, rm = 0, count = 0;
    for (auto it = std::sregex_iterator(factors.begin(), factors.end(), item); it != std::sregex_iterator(); ++it) {
        const int w = std::stoi((*it)[2]);
        (w > 0 ? rp : rm) += w;
        ++count;
    }
    EXPECT_EQ(count, 10) << factors;
    const int plus = Field(out, "plus") + rp, minus = Field(out, "minus") + rm;
    const int second = Field(out, "percent_with_his_houses");
    EXPECT_LE(std::fabs(second - 100.0 * plus / (plus - minus)), 0.5);

    const std::string rtf = Cp1251ToUtf8(ReadFile(d.dir.file("Itogo.rtf")));
    EXPECT_NE(rtf.find("с его домами: " + std::to_string(second) + " %\r\n"), std::string::npos);
    EXPECT_NE(rtf.find("Её планеты в его домах"), std::string::npos);
    EXPECT_NE(Cp1251ToUtf8(ReadFile(d.dir.file("Itogo_Men.rtf"))).find("\\par    Асцендент: "), std::string::npos);

    // A time with a typed place has no zone to be read in: refused as usage.
    EXPECT_EQ(RunCli("add --config " + Quote(d.config) + " --list men --name X --date 15.07.1990 --time 10:00 "
                     "--place Omsk").exitCode,
              2);
}

}  // namespace
}  // namespace pelorin
