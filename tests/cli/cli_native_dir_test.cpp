// A person's data directory whose path holds Cyrillic letters and blanks, as
// Windows gives it (C:\Users\Ольга\AppData\Local\Pelorin\data\): every command
// works on it, with the same results as on a plain one.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "base/native_path.h"
#include "people/config.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunCli;

// The shipped data, no people, under `dir` (made here), and a main.dat naming it.
std::string MakeDataDir(const std::string& dir) {
    fs::create_directories(NativePath(dir));
    for (const auto& f : fs::directory_iterator(NativePath(std::string(PELORIN_BINARY_DIR) + "/data"))) {
        if (PathText(f.path().filename()) == "pelorin.lck") continue;
        fs::copy_file(f.path(), NativePath(dir) / f.path().filename());
    }
    const std::string config = dir + "main.dat";
    test::WriteFile(config, ConfigFileText(dir, dir));
    return config;
}

std::string Field(const std::string& json, const std::string& name) {
    std::smatch m;
    return std::regex_search(json, m, std::regex("\"" + name + "\": \"([^\"]*)\"")) ? m[1].str() : "";
}

// Adds a woman and a man, analyses the pair and ranks the men; the pair's JSON.
std::string Work(const std::string& config) {
    const auto woman = RunCli("add --config " + Quote(config) + " --list women --name " + Quote("Ольга Ким") +
                              " --date 05.06.1975 --time 14:30 --region sng --country " + Quote("Россия (Москва)") +
                              " --city " + Quote("Москва"));
    EXPECT_EQ(woman.exitCode, 0) << woman.err;
    const auto man = RunCli("add --config " + Quote(config) + " --list men --name " + Quote("Пётр Ли") +
                            " --date 15.06.1970 --place " + Quote("Россия, Тверь"));
    EXPECT_EQ(man.exitCode, 0) << man.err;
    const std::string w = Field(woman.out, "stamp"), m = Field(man.out, "stamp");
    const auto pair = RunCli("pair --config " + Quote(config) + " --woman " + w + " --man " + m);
    EXPECT_EQ(pair.exitCode, 0) << pair.err;
    const auto scan = RunCli("scan --config " + Quote(config) + " --woman " + w);
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_NE(scan.out.find("Пётр Ли"), std::string::npos) << scan.out;
    return pair.out;
}

TEST(CliNativeDir, CyrillicAndBlanksInTheDataDirectoryPath) {
    test::ScratchDir top;
    const std::string dir = top.path() + "Мои данные/Ольга К/";
    const std::string config = MakeDataDir(dir);
    const std::string pair = Work(config);
    EXPECT_NE(pair.find("\"percent\""), std::string::npos);
    // The reports are written where main.dat says.
    EXPECT_TRUE(fs::exists(NativePath(dir + "Itogo.rtf")));
    EXPECT_TRUE(fs::exists(NativePath(dir + "Itogo_Men.rtf")));

    const std::string csv = dir + "список женщин.csv";
    const auto exported = RunCli("export --config " + Quote(config) + " --list women --format csv --out " + Quote(csv));
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(test::ReadFile(csv).find("Ольга Ким"), std::string::npos);

    // A plain directory gives the same analysis.
    EXPECT_EQ(Work(MakeDataDir(top.path() + "plain/")), pair);
}

}  // namespace
}  // namespace pelorin
