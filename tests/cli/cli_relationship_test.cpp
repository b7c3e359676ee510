// pelorin-cli composite and davison against the batch tool's own charts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "analysis/relationship_charts.h"
#include "base/cp1251.h"
#include "people/person_chart.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::JsonNumbers;
using test::Quote;
using test::RunCli;

// A data directory as built with a woman and a man born at known times and
// atlas places, and a man whose place was typed.
struct PairDir {
    test::ScratchDir dir;
    std::string config = dir.file("main.dat");
    std::string woman, man, typed;
    PairDir() {
        namespace fs = std::filesystem;
        for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data"))
            if (f.path().extension().string() != ".DAT") fs::copy_file(f.path(), dir.file(f.path().filename().string()));
        PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
        for (int i = 1; i <= kTableSlots; ++i) ClearSlot(women, i), ClearSlot(men, i);
        SavePersonFile(dir.file("FEMIN.DAT"), women);
        SavePersonFile(dir.file("MEN.DAT"), men);
        test::WriteFile(config, dir.path() + "\n" + dir.path() + "\n");
        woman = Add("women", "--name " + Quote("Анна") + " --date 05.06.1975 --time 09:36 --region sng --country " +
                                 Quote("Россия (Москва)") + " --city " + Quote("Москва"));
        man = Add("men", "--name " + Quote("Борис") + " --date 15.07.1972 --time 14:30 --region europa --country " +
                             Quote("Великобритания") + " --city " + Quote("Лондон"));
        typed = Add("men", "--name " + Quote("Виктор") + " --date 20.03.1970 --place " + Quote("Россия, Тула"));
    }
    std::string Add(const std::string& list, const std::string& rest) const {
        const auto r = RunCli("add --config " + Quote(config) + " --list " + list + " " + rest);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::smatch m;
        EXPECT_TRUE(std::regex_search(r.out, m, std::regex(R"re("stamp": "(\d{10})")re"))) << r.out;
        return m[1];
    }
    PersonRecord Person(TableKind kind, int slot) const {
        PersonTable t{kind, {}};
        LoadPersonFile(dir.file(kind == TableKind::Women ? "FEMIN.DAT" : "MEN.DAT"), t);
        return t.slot(slot);
    }
    test::RunResult Run(const std::string& command, const std::string& manStamp) const {
        return RunCli(command + " --config " + Quote(config) + " --woman " + woman + " --man " + manStamp);
    }
    // The bodies' longitudes and the cusps of `chart` at a moment (and a place).
    test::RunResult Chart(double moment, const std::string& coords = {}) const {
        char m[64];
        std::snprintf(m, sizeof m, "%.17g", moment);
        return RunCli(std::string("chart --moment ") + m + " --data " + Quote(dir.path()) +
                      (coords.empty() ? "" : " --coords " + Quote(coords)));
    }
};

std::vector<double> Lons(const std::string& json) {
    std::vector<double> out;
    const std::regex body(R"re("body": "[A-Za-z]+", "lon": (-?[0-9.eE+-]+))re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), body); it != std::sregex_iterator(); ++it)
        out.push_back(std::stod((*it)[1]));
    return out;
}

TEST(CliRelationship, CompositeIsTheMidpointOfTheTwoChartsOfTheTool) {
    PairDir d;
    const PersonRecord w = d.Person(TableKind::Women, 1), m = d.Person(TableKind::Men, 1);
    const auto her = d.Chart(w.Moment, Cp1251ToUtf8(w.CoordText.str()));
    const auto his = d.Chart(m.Moment, Cp1251ToUtf8(m.CoordText.str()));
    ASSERT_EQ(her.exitCode, 0) << her.err;
    ASSERT_EQ(his.exitCode, 0) << his.err;
    const auto c = d.Run("composite", d.man);
    ASSERT_EQ(c.exitCode, 0) << c.err;
    const std::vector<double> lons = Lons(c.out), a = Lons(her.out), b = Lons(his.out);
    ASSERT_EQ(lons.size(), 10u) << c.out;
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(lons[i], MidpointLongitude(a[i], b[i]), 1e-9) << i;
    // The midpoint-cusp houses of the two cusps the tool gives.
    const std::vector<double> hc = JsonNumbers(her.out, "cusps"), mc = JsonNumbers(his.out, "cusps"),
                              cc = JsonNumbers(c.out, "cusps");
    ASSERT_EQ(cc.size(), 12u) << c.out;
    TCusps hers{}, hisCusps{};
    for (int i = 1; i <= 12; ++i) hers[i] = hc[i - 1], hisCusps[i] = mc[i - 1];
    const TCusps expected = CompositeCusps(hers, hisCusps);
    for (int i = 1; i <= 12; ++i) EXPECT_NEAR(cc[i - 1], expected[i], 1e-9) << i;
    EXPECT_EQ(c.out.find("\"house\": null"), std::string::npos);
    EXPECT_NE(c.out.find("\"aspects\": [[0, "), std::string::npos);  // the Sun with itself

    // The man whose place was typed: a composite without houses.
    const auto bare = d.Run("composite", d.typed);
    ASSERT_EQ(bare.exitCode, 0) << bare.err;
    EXPECT_NE(bare.out.find("\"cusps\": null"), std::string::npos);
    EXPECT_NE(bare.out.find("\"house\": null"), std::string::npos);
}

TEST(CliRelationship, DavisonIsTheToolsChartAtTheMeanMomentAndTheMidpoint) {
    PairDir d;
    const PersonRecord w = d.Person(TableKind::Women, 1), m = d.Person(TableKind::Men, 1);
    const auto r = d.Run("davison", d.man);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const double moment = (w.Moment + m.Moment) / 2;
    std::smatch mm;
    ASSERT_TRUE(std::regex_search(r.out, mm, std::regex(R"re("moment": (-?[0-9.eE+-]+))re"))) << r.out;
    EXPECT_NEAR(std::stod(mm[1]), moment, 1e-9);
    const auto place = GreatCircleMidpoint(ParseCoordText(w.CoordText.str()), ParseCoordText(m.CoordText.str()));
    ASSERT_TRUE(place);
    std::smatch ll;
    ASSERT_TRUE(std::regex_search(r.out, ll, std::regex(R"re("lat": (-?[0-9.eE+-]+), "lon": (-?[0-9.eE+-]+)\})re")))
        << r.out;
    EXPECT_NEAR(std::stod(ll[1]), place->latitude, 1e-9);
    EXPECT_NEAR(std::stod(ll[2]), place->longitude, 1e-9);
    const auto engine = d.Chart(moment);
    ASSERT_EQ(engine.exitCode, 0) << engine.err;
    const std::vector<double> lons = Lons(r.out), expected = Lons(engine.out);
    ASSERT_EQ(lons.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(lons[i], expected[i], 1e-9) << i;
    EXPECT_EQ(JsonNumbers(r.out, "cusps").size(), 12u);
}

TEST(CliRelationship, DavisonRefusesAManWithoutAPlace) {
    PairDir d;
    const auto r = d.Run("davison", d.typed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Карта Давидсона не построена"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("«Виктор»"), std::string::npos) << r.err;
    EXPECT_EQ(RunCli("davison --config " + Quote(d.config) + " --woman " + d.woman).exitCode, 2);
    EXPECT_EQ(d.Run("composite", "0000000000").exitCode, 1);  // no such man
}

}  // namespace
}  // namespace pelorin
