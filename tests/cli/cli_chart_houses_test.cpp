#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::RunCli;
using test::ScratchDir;

std::vector<double> CuspsOf(const std::string& json) {
    std::smatch m;
    std::vector<double> out;
    if (!std::regex_search(json, m, std::regex("\"cusps\": \\[([^\\]]*)\\]"))) return out;
    const std::string list = m[1];
    const std::regex num("-?[0-9.eE+-]+");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), num); it != std::sregex_iterator(); ++it)
        out.push_back(std::stod(it->str()));
    return out;
}

double PlutoLon(const std::string& json) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"Pluto\", \"lon\": (-?[0-9.eE+-]+)"))) return -1;
    return std::stod(m[1]);
}

TEST(CliChartHouses, CoordsAddTheTwelveCusps) {
    const auto r = RunCli("chart --date 01.01.2000 --time 12:00 --coords " + Quote(" 37°37’ВД  55°45’СШ"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto c = CuspsOf(r.out);
    ASSERT_EQ(c.size(), 12u);
    for (int n = 0; n < 6; ++n) EXPECT_NEAR(std::fmod(c[n] + 180, 360), c[n + 6], 1e-9);
    // Moscow, at the moment the entry forms for that date and time (day number
    // 36524.9583); Swiss Ephemeris there: Ascendant 71.253, MC 300.819.
    EXPECT_NEAR(c[0], 71.253, 0.015);
    EXPECT_NEAR(c[9], 300.819, 0.015);
    EXPECT_NE(r.out.find("\"houses_computed\": true"), std::string::npos);
}

TEST(CliChartHouses, NoHousesBeyondSixtyFiveDegrees) {
    const auto r = RunCli("chart --moment 36524.5 --coords " + Quote(" 18°57’ВД  69°39’СШ"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto c = CuspsOf(r.out);
    ASSERT_EQ(c.size(), 12u);
    for (double v : c) EXPECT_EQ(v, 0);
    EXPECT_NE(r.out.find("\"houses_computed\": false"), std::string::npos);
}

TEST(CliChartHouses, CoordinateErrors) {
    const auto bad = RunCli("chart --moment 1 --coords " + Quote(" 3x°37’ВД  55°45’СШ"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("не число"), std::string::npos) << bad.err;
    EXPECT_EQ(RunCli("chart --moment 1 --coords " + Quote(" 37°37’ВД")).exitCode, 2);
    EXPECT_EQ(RunCli("chart --moment 1 --coords " + Quote(" 37°37’ВД  55°45’СШ€")).exitCode, 0);
    EXPECT_EQ(RunCli("chart --moment 1 --coords " + Quote(" 37°37’ВД  55°45’С😀")).exitCode, 2);
}

TEST(CliChartHouses, PlutoComesFromTheDataDirectory) {
    const auto none = RunCli("chart --moment 36525");
    EXPECT_EQ(PlutoLon(none.out), 0);
    const auto shipped = RunCli("chart --moment 36525 --data " + Quote(test::SourceDataDir()));
    ASSERT_EQ(shipped.exitCode, 0) << shipped.err;
    EXPECT_NEAR(PlutoLon(shipped.out), 251.45, 0.01);
    // The directory may be named without its trailing separator.
    std::string bare = test::SourceDataDir();
    bare.pop_back();
    const auto withoutSeparator = RunCli("chart --moment 36525 --data " + Quote(bare));
    ASSERT_EQ(withoutSeparator.exitCode, 0) << withoutSeparator.err;
    EXPECT_TRUE(withoutSeparator.err.empty()) << withoutSeparator.err;
    EXPECT_EQ(withoutSeparator.out, shipped.out);

    ScratchDir dir;
    test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + dir.path() + "\n");
    // Missing: Pluto at 0 Aries, as the program has it, and a word on stderr.
    const auto missing = RunCli("chart --moment 36525 --config " + Quote(dir.file("main.dat")));
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(PlutoLon(missing.out), 0);
    EXPECT_NE(missing.err.find("Fond.in"), std::string::npos);
    // Damaged: a data error naming the file.
    test::WriteFile(dir.file("Fond.in"), std::string("\x10\x00\x00\x00\x07", 5));
    const auto damaged = RunCli("chart --moment 36525 --data " + Quote(dir.path()));
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find("повреждён"), std::string::npos) << damaged.err;
}

}  // namespace
}  // namespace pelorin
