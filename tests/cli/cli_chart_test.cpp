#include <gtest/gtest.h>


#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::RunCli;
using test::ScratchDir;

// The value of `"key": number` occurrences, in order.
std::vector<double> Numbers(const std::string& json, const std::string& key) {
    std::vector<double> out;
    const std::regex re("\"" + key + "\": (-?[0-9.eE+-]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), re); it != std::sregex_iterator(); ++it)
        out.push_back(std::stod((*it)[1]));
    return out;
}

TEST(CliChart, TenBodiesInChartOrder) {
    const auto r = RunCli("chart --moment 36525");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> names;
    const std::regex re("\"body\": \"([A-Za-z]+)\"");
    for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), re); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    EXPECT_EQ(names, (std::vector<std::string>{"Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn",
                                               "Uranus", "Neptune", "Pluto"}));
    const auto lon = Numbers(r.out, "lon"), sign = Numbers(r.out, "sign"), deg = Numbers(r.out, "sign_deg");
    ASSERT_EQ(lon.size(), 10u);
    ASSERT_EQ(sign.size(), 10u);
    ASSERT_EQ(deg.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(sign[i], static_cast<int>(lon[i]) / 30 + 1) << i;
        EXPECT_EQ(deg[i], static_cast<int>(lon[i]) % 30) << i;
    }
    // 2000 January 1.5: the Sun near 280.4 degrees, the Moon near 223.3.
    EXPECT_NEAR(lon[0], 280.377, 0.01);
    EXPECT_NEAR(lon[1], 223.32, 0.05);
    EXPECT_EQ(Numbers(r.out, "moment").at(0), 36525);
    EXPECT_EQ(Numbers(r.out, "ra").size(), 10u);
    EXPECT_EQ(r.out.find("cusps"), std::string::npos);
}

TEST(CliChart, DateFormsTheMomentAsTheMomentCommandDoes) {
    const std::string when = "--date 17.03.1985 --time 06:45 --zone 3";
    const double moment = std::stod(RunCli("moment " + when).out);
    const auto r = RunCli("chart " + when);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(Numbers(r.out, "moment").at(0), moment, 1e-9);
    // And the same chart as from the day number itself.
    const auto direct = RunCli("chart --moment " + std::to_string(Numbers(r.out, "moment").at(0)));
    EXPECT_NEAR(Numbers(direct.out, "lon").at(1), Numbers(r.out, "lon").at(1), 1e-4);
    // Unknown time: 12:00.
    EXPECT_EQ(RunCli("chart --date 01.01.2000").out, RunCli("chart --date 01.01.2000 --time 12:00").out);
}

TEST(CliChart, DataDirectoryOptions) {
    ScratchDir dir;
    test::WriteFile(dir.file("main.dat"), dir.path() + "\n" + dir.path() + "\n");
    EXPECT_EQ(RunCli("chart --moment 100 --data " + Quote(dir.path())).exitCode, 0);
    EXPECT_EQ(RunCli("chart --moment 100 --config " + Quote(dir.file("main.dat"))).exitCode, 0);
    // A configuration file that is not there is a data error.
    const auto missing = RunCli("chart --moment 100 --config " + Quote(dir.file("nothere.dat")));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
}

TEST(CliChart, UsageErrorsExitWithTwo) {
    for (const char* bad : {"chart", "chart --moment 1 --date 01.01.2000", "chart --moment x",
                            "chart --moment nan", "chart --moment inf", "chart --moment 1 --time 12:00",
                            "chart --date 01.01.2000 --zone 20", "chart --date 01.01.2000 --zone nan",
                            "chart --moment 1 --data /tmp --config /tmp/main.dat",
                            "chart --moment 1 --coords x", "chart --moment 1 --bogus 2",
                            // moments the engine does not serve
                            "chart --moment 1e155", "chart --moment -109572.5", "chart --moment 182621.5",
                            "chart --date 31.12.1599", "chart --date 01.01.2400"}) {
        const auto r = RunCli(bad);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
    }
}

// A batch tool built without the window library knows the picture commands and
// says why it cannot run them.
TEST(CliPictures, WithoutTheWindowLibraryTheyAreAUsageError) {
    if (PELORIN_CLI_HAS_WINDOW_LIBRARY) GTEST_SKIP() << "this batch tool paints";
    for (const char* args : {"render --config x --woman 1 --man 2 --out x.png", "print --page women --out x.pdf"}) {
        const test::RunResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("без оконной библиотеки"), std::string::npos) << r.err;
    }
}

// Output that cannot be written (a full disk) is no success.
TEST(CliOutput, UnwritableOutputExitsWithOneAndSaysSo) {
    for (const char* args : {"moment --date 05.06.1975", "chart --moment 36525", "--help"}) {
        const test::RunResult r = test::RunCliWithLostOutput(args);
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.err.find("вывод не записан"), std::string::npos) << args;
    }
}

}  // namespace
}  // namespace pelorin
