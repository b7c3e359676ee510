#include "people/first_start.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "people/config.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

int People(const std::string& file, TableKind kind) {
    PersonTable t{kind, {}};
    LoadPersonFile(file, t);
    return static_cast<int>(UsedSlots(t).size());
}

// A directory text as the program writes it: with the system's own separators.
std::string Native(std::string path) {
#ifdef _WIN32
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

TEST(FirstStart, MakesTheUserDataAndMainDatOnceAndKeepsWhatIsThere) {
    test::ScratchDir top;
    // An installed layout: <prefix>/bin and <prefix>/share/pelorin/data.
    const fs::path shippedData = fs::path(top.path()) / "usr/share/pelorin/data";
    fs::create_directories(shippedData);
    fs::create_directories(fs::path(top.path()) / "usr/bin");
    for (const char* n : {"FEMIN.DAT", "MEN.DAT", "sng.wdt"})
        fs::copy_file(fs::path(test::SourceDataDir()) / n, shippedData / n);
    const auto shipped = FindShippedDirs(top.path() + "usr/bin");
    ASSERT_TRUE(shipped.has_value());
    EXPECT_EQ(shipped->systemDir, Native(top.path() + "usr/share/pelorin/system/"));
    EXPECT_FALSE(FindShippedDirs(top.path()).has_value());

    const std::string user = top.path() + "home/.local/share/pelorin/data/";
    fs::create_directories(user);
    test::WriteFile(user + "sng.wdt", "mine");  // the user's own file
    const std::string config = top.path() + "home/.config/pelorin/main.dat";
    const FirstStartResult r = EnsureFirstStart(config, *shipped, user);
    EXPECT_TRUE(r.created);
    EXPECT_EQ(r.samplesAdded, 8);
    EXPECT_EQ(test::ReadFile(config), shipped->systemDir + "\r\n" + Native(user) + "\r\n");
    EXPECT_EQ(ReadConfig(config).DataDir, Native(user));
    EXPECT_EQ(test::ReadFile(user + "sng.wdt"), "mine");
    const int women = People(user + "FEMIN.DAT", TableKind::Women);
    EXPECT_EQ(women, People((shippedData / "FEMIN.DAT").string(), TableKind::Women) + 3);

    // A second start with main.dat present changes nothing.
    EXPECT_FALSE(EnsureFirstStart(config, *shipped, user).created);
    EXPECT_EQ(People(user + "FEMIN.DAT", TableKind::Women), women);
}

}  // namespace
}  // namespace pelorin
