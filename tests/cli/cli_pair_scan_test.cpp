#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/text_base.h"
#include "base/cp1251.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::ReadFile;
using test::RunCli;
using test::ScratchDir;

PersonRecord Person(const std::string& name, const std::string& stamp, double moment, bool timeKnown) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Stamp.set(stamp);
    p.DateText.set("01.01.1970");
    p.TimeText.set(timeKnown ? "12:00" : " --- ");
    p.TimeKnown = timeKnown ? 1 : 0;
    p.Place.set(Utf8ToCp1251("Москва"));
    p.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    p.Moment = moment;
    return p;
}

// A data directory with the built databases and Fond.in, two women and seven men
// in scattered slots, two of them born at the same moment.
struct DataDir {
    ScratchDir dir;
    std::string config = dir.file("main.dat");
    DataDir() {
        namespace fs = std::filesystem;
        for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data")) {
            const std::string ext = f.path().extension().string();
            if (ext == ".dat" || ext == ".in" || ext == ".tbl") fs::copy_file(f.path(), dir.file(f.path().filename().string()));
        }
        PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
        for (int i = 1; i <= kTableSlots; ++i) {
            ClearSlot(women, i);
            ClearSlot(men, i);
        }
        women.slot(3) = Person("Анна", "0101000001", 25000.3, true);
        women.slot(4) = Person("Вера", "0101000002", 26100.7, false);
        const int slots[] = {2, 5, 6, 11, 40, 41, 99};
        for (int i = 0; i < 7; ++i)
            men.slot(slots[i]) = Person("Муж" + std::to_string(i), "020000000" + std::to_string(i),
                                        i == 6 ? 24000 : 24000 + i * 97.3, false);
        SavePersonFile(dir.file("FEMIN.DAT"), women);
        SavePersonFile(dir.file("MEN.DAT"), men);
        test::WriteFile(config, dir.path() + "\n" + dir.path() + "\n");
    }
};

std::string Pair(const DataDir& d, const char* woman, const char* man) {
    return "pair --config " + Quote(d.config) + " --woman " + Quote(woman) + " --man " + Quote(man);
}

TEST(CliPair, PrintsTheAnalysisAndWritesTheReports) {
    DataDir d;
    const auto r = RunCli(Pair(d, "0101000001", "0200000003"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(r.out, m,
                                 std::regex(R"(\{"plus": (\d+), "minus": (-?\d+), "percent": (\d+|null), )"
                                            R"("aspects": (\[.*\]), "overlay": \[([0-9, ]+)\], "natal": (\[.*\]), )"
                                            R"("factors": \[(.*)\], "percentile": (\d+), )"
                                            // The men of this directory have no birth time: no houses.
                                            R"("man_cusps": null, "reverse_overlay": null, "reverse_factors": null, )"
                                            R"("percent_with_his_houses": null\}\n)")));
    const int plus = std::stoi(m[1]), minus = std::stoi(m[2]);
    EXPECT_GT(plus + -minus, 0);
    EXPECT_LE(std::fabs(std::stoi(m[3]) - 100.0 * plus / (plus - minus)), 0.5);
    // Ten rows of ten; the man's natal grid has 0 on its diagonal.
    EXPECT_EQ(std::count(m[4].first, m[4].second, '['), 11);
    const std::string natal = m[6];
    EXPECT_EQ(natal.rfind("[[0, ", 0), 0u);
    EXPECT_NE(natal.find(", 0]]"), std::string::npos);
    EXPECT_EQ(std::count(m[5].first, m[5].second, ','), 9);
    // The factors, strongest first, sum to the totals; the percentile comes from
    // the shipped table.
    const std::regex factor(R"re(\{"kind": "(aspect|house)", "man_body": "[A-Za-z]+", )re"
                            R"re(("woman_body": "[A-Za-z]+", "aspect": (0|60|90|120|180)|"house": ([1-9]|1[0-2])), )re"
                            R"re("weight": (-?\d+)\})re");
    const std::string factors = m[7];
    int sumPlus = 0, sumMinus = 0, last = 11, count = 0;
    for (auto it = std::sregex_iterator(factors.begin(), factors.end(), factor); it != std::sregex_iterator(); ++it) {
        const int w = std::stoi((*it)[5]);
        (w > 0 ? sumPlus : sumMinus) += w;
        EXPECT_LE(std::abs(w), last);
        last = std::abs(w);
        ++count;
    }
    EXPECT_GT(count, 0) << factors;
    EXPECT_EQ(sumPlus, plus);
    EXPECT_EQ(sumMinus, minus);
    EXPECT_LE(std::stoi(m[8]), 100);

    const std::string rtf = ReadFile(d.dir.file("Itogo.rtf"));
    EXPECT_NE(rtf.find(Utf8ToCp1251("\\par    Анна")), std::string::npos);
    EXPECT_NE(rtf.find(Utf8ToCp1251("СОВМЕСТИМОСТЬ ") + std::string(m[3]) + "%\r\n"), std::string::npos);
    EXPECT_NE(ReadFile(d.dir.file("Itogo_Men.rtf")).find(Utf8ToCp1251("\\par    Муж3")), std::string::npos);

    // Again: the same output and byte-identical files.
    const auto again = RunCli(Pair(d, "0101000001", "0200000003"));
    EXPECT_EQ(again.out, r.out);
    EXPECT_EQ(ReadFile(d.dir.file("Itogo.rtf")), rtf);
}

TEST(CliPair, UnknownStampsAndUsage) {
    DataDir d;
    for (const auto& [woman, man, who] : {std::tuple{"0101000009", "0200000003", "FEMIN.DAT"},
                                           std::tuple{"0101000001", "0200000009", "MEN.DAT"},
                                           std::tuple{"          ", "0200000003", "FEMIN.DAT"},  // a free slot
                                           std::tuple{"0200000003", "0101000001", "FEMIN.DAT"}}) {
        const auto r = RunCli(Pair(d, woman, man));
        EXPECT_EQ(r.exitCode, 1) << woman << " " << man;
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(std::string("с отметкой «") + (std::string(who) == "MEN.DAT" ? man : woman)),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find(who), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(d.dir.file("Itogo.rtf")));
    EXPECT_EQ(RunCli("pair --config " + Quote(d.config) + " --woman 0101000001").exitCode, 2);
    EXPECT_EQ(RunCli("scan --config " + Quote(d.config)).exitCode, 2);
    // A data directory without its databases is a data error naming the file.
    std::filesystem::remove(d.dir.file("as1.dat"));
    const auto r = RunCli(Pair(d, "0101000001", "0200000003"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("as1.dat"), std::string::npos) << r.err;
}

TEST(CliScan, RanksEveryManHighestFirst) {
    DataDir d;
    const auto r = RunCli("scan --config " + Quote(d.config) + " --woman 0101000002");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::regex item(R"(\{"name": "(Муж\d) +", "date": "01\.01\.1970", "place": "Москва", )"
                          R"("plus": \d+, "minus": -?\d+, "percent": (\d+|null), "percent_with_his_houses": null\})");
    std::vector<std::string> names;
    std::vector<int> percents;
    for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), item); it != std::sregex_iterator(); ++it) {
        names.push_back((*it)[1]);
        percents.push_back((*it)[2] == "null" ? -1 : std::stoi((*it)[2]));
    }
    ASSERT_EQ(names.size(), 7u) << r.out;
    EXPECT_TRUE(std::is_sorted(percents.rbegin(), percents.rend()));
    // Муж0 and Муж6 were born at the same moment: equal percentages, slot order.
    const auto at0 = std::find(names.begin(), names.end(), "Муж0");
    const auto at6 = std::find(names.begin(), names.end(), "Муж6");
    ASSERT_NE(at6, names.end());
    EXPECT_LT(at0, at6) << r.out;
    EXPECT_EQ(percents[static_cast<std::size_t>(at0 - names.begin())],
              percents[static_cast<std::size_t>(at6 - names.begin())]);
    // The pair analysis of the top man agrees with the ranking.
    const auto pair = RunCli(Pair(d, "0101000002", ("020000000" + names[0].substr(names[0].size() - 1)).c_str()));
    EXPECT_NE(pair.out.find("\"percent\": " + std::to_string(percents[0]) + ","), std::string::npos) << pair.out;
}

// A record whose moment is damaged is refused by name, never computed, and
// nothing in its file is changed by reading it. The pair analysis of that man
// fails; a scan ranks the others and lists him after them with the reason.
TEST(CliPair, ADamagedMomentIsRefusedAndTheFileLeftAlone) {
    DataDir d;
    PersonTable men{TableKind::Men, {}};
    LoadPersonFile(d.dir.file("MEN.DAT"), men);
    men.slot(5).Moment = 1e155;
    SavePersonFile(d.dir.file("MEN.DAT"), men);
    const std::string before = ReadFile(d.dir.file("MEN.DAT"));
    const auto pair = RunCli(Pair(d, "0101000001", "0200000001"));
    EXPECT_EQ(pair.exitCode, 1);
    EXPECT_TRUE(pair.out.empty()) << pair.out;
    EXPECT_NE(pair.err.find("«Муж1»"), std::string::npos) << pair.err;
    EXPECT_NE(pair.err.find("MEN.DAT"), std::string::npos) << pair.err;
    EXPECT_FALSE(std::filesystem::exists(d.dir.file("Itogo.rtf")));

    const auto scan = RunCli("scan --config " + Quote(d.config) + " --woman 0101000001");
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_NE(scan.err.find("«Муж1»"), std::string::npos) << scan.err;
    EXPECT_NE(scan.err.find("MEN.DAT"), std::string::npos) << scan.err;
    const std::regex ranked(R"(\{"name": "Муж\d +", [^{}]*"percent": \d+[,}])");
    EXPECT_EQ(std::distance(std::sregex_iterator(scan.out.begin(), scan.out.end(), ranked), std::sregex_iterator()),
              6)
        << scan.out;
    EXPECT_NE(scan.out.find(R"("name": "Муж1                ", "date": "01.01.1970", "place": "Москва", )"
                            R"("plus": null, "minus": null, "percent": null, "skipped": "момент рождения)"),
              std::string::npos)
        << scan.out;
    EXPECT_EQ(scan.out.rfind("}]\n"), scan.out.size() - 3);  // he comes last
    EXPECT_EQ(ReadFile(d.dir.file("MEN.DAT")), before);
}

TEST(CliScan, OneManAgainstAllWomenAgreesWithThePairs) {
    DataDir d;
    const auto r = RunCli("scan --config " + Quote(d.config) + " --man 0200000003");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::regex item(R"(\{"name": "(Анна|Вера) +", "date": "01\.01\.1970", "place": "Москва", )"
                          R"("plus": \d+, "minus": -?\d+, "percent": (\d+|null), "percent_with_his_houses": null\})");
    int seen = 0;
    for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), item); it != std::sregex_iterator(); ++it) {
        const char* stamp = (*it)[1] == "Анна" ? "0101000001" : "0101000002";
        const auto pair = RunCli(Pair(d, stamp, "0200000003"));
        EXPECT_NE(pair.out.find("\"percent\": " + std::string((*it)[2]) + ","), std::string::npos) << pair.out;
        ++seen;
    }
    EXPECT_EQ(seen, 2) << r.out;
    EXPECT_EQ(RunCli("scan --config " + Quote(d.config) + " --man 0200000003 --woman 0101000001").exitCode, 2);
}

// A database emptied or not a database is refused naming it; one that lacks
// keys is used with a warning (on standard error and in "warnings"), and the
// percentile of a table made for other databases is withheld with a note.
TEST(CliPair, DamagedDatabasesAreRefusedAndIncompleteOnesWarned) {
    DataDir d;
    const std::string shipped = ReadFile(d.dir.file("data1.dat"));
    test::WriteFile(d.dir.file("data1.dat"), shipped.substr(0, shipped.size() / 2));
    for (const std::string& cmd : {Pair(d, "0101000001", "0200000003"),
                                   "scan --config " + Quote(d.config) + " --woman 0101000001"}) {
        const auto r = RunCli(cmd);
        EXPECT_EQ(r.exitCode, 1) << cmd;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(d.dir.file("data1.dat")), std::string::npos) << r.err;
    }
    // The first entry of the database taken out.
    std::string plain = ScrambleBytes(shipped);
    plain[0] = '#';
    test::WriteFile(d.dir.file("data1.dat"), ScrambleBytes(plain));
    const auto r = RunCli(Pair(d, "0101000001", "0200000003"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("нет 1 из 450"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\"percentile\": null, "), std::string::npos) << r.out;
    std::string inJson = d.dir.file("data1.dat");  // a Windows path's backslashes are escaped
    for (std::size_t at = 0; (at = inJson.find('\\', at)) != std::string::npos; at += 2) inJson.insert(at, 1, '\\');
    EXPECT_NE(r.out.find("\"warnings\": [\"База «" + inJson + "» неполна: в ней нет 1 из 450"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("составлена для других баз"), std::string::npos) << r.out;
    const auto scan = RunCli("scan --config " + Quote(d.config) + " --woman 0101000001");
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_NE(scan.err.find("нет 1 из 450"), std::string::npos) << scan.err;
}

}  // namespace
}  // namespace pelorin
