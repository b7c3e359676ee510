#include "app/core/startup.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>

#include "base/cp1251.h"
#include "base/errors.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ScratchDir;

struct FakeView : StartupView {
    std::vector<std::string> calls;
    std::vector<std::string> women, men;
    std::string womenCaption, menCaption;
    void ShowWomenList(const std::vector<std::string>& l, const std::string& c) override {
        calls.push_back("women");
        women = l;
        womenCaption = c;
    }
    void ShowMenList(const std::vector<std::string>& l, const std::string& c) override {
        calls.push_back("men");
        men = l;
        menCaption = c;
    }
    void SetDefaultCursor() override { calls.push_back("cursor"); }
    void DisableAnalysisCommands() override { calls.push_back("disable"); }
    void PrepareDrawingSurfaces() override { calls.push_back("surfaces"); }
};

PersonTable TableWith(TableKind kind, const std::vector<std::string>& utf8Names) {
    PersonTable t{kind, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
    int slot = 1;
    for (const std::string& n : utf8Names) {
        PersonRecord& r = t.slot(slot);
        r.Name.set(PadRight(Utf8ToCp1251(n), 20));
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "01010000%02d", slot);
        r.Stamp.set(stamp);
        r.DateText.set("01.01.1980");
        r.TimeText.set("12:00");
        r.Place.set(PadRight(Utf8ToCp1251("Россия, Москва"), 30));
        BuildListLine(r);
        ++slot;
    }
    return t;
}

struct DataDirFixture {
    ScratchDir dir;
    std::string config;
    DataDirFixture(const std::vector<std::string>& women, const std::vector<std::string>& men) {
        SavePersonFile(dir.file("FEMIN.DAT"), TableWith(TableKind::Women, women));
        SavePersonFile(dir.file("MEN.DAT"), TableWith(TableKind::Men, men));
        config = dir.file("main.dat");
        test::WriteFile(config, dir.path() + "system/\r\n" + dir.path() + "\r\n");
    }
};

TEST(Startup, GoodDataRunsEveryStepInOrder) {
    DataDirFixture s({"Вера", "Анна"}, {"Борис"});
    AppState state;
    state.PairDone = state.ScanDone = state.people.WomanChosen = true;
    FakeView view;
    std::vector<std::string> hooks;
    StartupHooks h{[&](const std::string& p) { hooks.push_back(p); },
                   [&](const std::string& d) { hooks.push_back("db " + d); }};
    const StartupResult r = RunStartup(s.config, state, view, h);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(view.calls, (std::vector<std::string>{"women", "men", "cursor", "disable", "surfaces"}));
    ASSERT_EQ(hooks.size(), 2u);
    EXPECT_EQ(hooks[0], s.dir.path() + "Fond.in");
    EXPECT_EQ(hooks[1], "db " + s.dir.path());
    ASSERT_EQ(view.women.size(), 2u);
    EXPECT_EQ(Cp1251ToUtf8(view.women[0].substr(0, 4)), "Анна");  // sorted
    EXPECT_EQ(view.womenCaption, "Список женщин.  Всего: 2 человек");
    EXPECT_EQ(view.menCaption, "Список мужчин.  Всего: 1 человек");
    EXPECT_EQ(state.people.WomenCount, 2);
    EXPECT_EQ(state.people.MenCount, 1);
    EXPECT_FALSE(state.PairDone || state.ScanDone || state.people.WomanChosen || state.people.ManChosen);
    for (const auto& row : state.AspectGrid)
        for (auto v : row) EXPECT_EQ(v, 255);
    EXPECT_EQ(state.config.SystemDir, s.dir.path() + "system/");
}

TEST(Startup, NumbersUseTheDotAfterStartup) {
    DataDirFixture s({}, {});
    AppState state;
    FakeView view;
    ASSERT_TRUE(RunStartup(s.config, state, view, {}).ok);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 2.5);
    EXPECT_STREQ(buf, "2.5");
}

TEST(Startup, EmptyAndFullLists) {
    std::vector<std::string> many;
    for (int i = 0; i < 99; ++i) many.push_back("Имя " + std::to_string(100 + i));
    DataDirFixture s({}, many);
    AppState state;
    FakeView view;
    ASSERT_TRUE(RunStartup(s.config, state, view, {}).ok);
    EXPECT_TRUE(view.women.empty());
    EXPECT_EQ(view.womenCaption, "Список женщин.  Всего: 0 человек");
    EXPECT_EQ(view.men.size(), 99u);
    EXPECT_EQ(state.people.MenCount, 99);
}

TEST(Startup, MissingConfigStopsBeforeAnything) {
    ScratchDir dir;
    AppState state;
    FakeView view;
    bool hookRan = false;
    StartupHooks h{[&](const std::string&) { hookRan = true; }, {}};
    const StartupResult r = RunStartup(dir.file("main.dat"), state, view, h);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::ReadConfig);
    EXPECT_NE(r.message.find("main.dat"), std::string::npos);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_FALSE(hookRan);
}

// An empty data line would have every file looked for in the current
// directory: it is named as what it is, and nothing is read or made anywhere.
TEST(Startup, AnEmptyDataLineIsNamedAsSuch) {
    ScratchDir dir;
    for (const char* text : {"sys/\r\n\r\n", "sys/\n   \n"}) {
        test::WriteFile(dir.file("main.dat"), text);
        AppState state;
        FakeView view;
        bool hookRan = false;
        StartupHooks h{[&](const std::string&) { hookRan = true; }, {}};
        const StartupResult r = RunStartup(dir.file("main.dat"), state, view, h);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.failedStep, StartupStep::ReadConfig);
        EXPECT_NE(r.message.find("пуста строка 2, каталог данных"), std::string::npos) << r.message;
        EXPECT_FALSE(hookRan);
    }
}

TEST(Startup, FailingTabulatedLoaderStopsBeforeTheLists) {
    DataDirFixture s({"Анна"}, {"Борис"});
    AppState state;
    FakeView view;
    StartupHooks h{[](const std::string& p) { throw Error("Нет файла " + p); }, {}};
    const StartupResult r = RunStartup(s.config, state, view, h);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadTabulated);
    EXPECT_NE(r.message.find("Fond.in"), std::string::npos);
    EXPECT_TRUE(view.calls.empty());
}

TEST(Startup, ShortMenFileKeepsTheWomenAndSkipsTheRest) {
    DataDirFixture s({"Анна"}, {"Борис"});
    test::WriteFile(s.dir.file("MEN.DAT"), std::string(501 * 50, ' '));
    AppState state;
    state.PairDone = true;
    FakeView view;
    bool dbRan = false;
    StartupHooks h{{}, [&](const std::string&) { dbRan = true; }};
    const StartupResult r = RunStartup(s.config, state, view, h);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadMen);
    EXPECT_NE(r.message.find("MEN.DAT"), std::string::npos);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"women"}));
    EXPECT_EQ(state.people.WomenCount, 1);
    EXPECT_TRUE(state.PairDone);  // step 6 did not run
    EXPECT_FALSE(dbRan);
}

TEST(Startup, FailingDatabasesComeLast) {
    DataDirFixture s({"Анна"}, {"Борис"});
    AppState state;
    FakeView view;
    StartupHooks h{{}, [](const std::string& d) { throw Error("Нет файла " + d + "as2.dat"); }};
    const StartupResult r = RunStartup(s.config, state, view, h);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadDatabases);
    EXPECT_EQ(view.calls.size(), 5u);
}

TEST(Startup, DataDirWithoutFinalSeparatorIsNotRepaired) {
    DataDirFixture s({"Анна"}, {});
    const std::string dir = s.dir.path().substr(0, s.dir.path().size() - 1);
    test::WriteFile(s.config, "sys/\r\n" + dir + "\r\n");
    AppState state;
    FakeView view;
    const StartupResult r = RunStartup(s.config, state, view, {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadWomen);
    EXPECT_NE(r.message.find(dir + "FEMIN.DAT"), std::string::npos);
}

TEST(Startup, ProgramLoadersReadTheShippedDataAndWarnAboutAMissingFondIn) {
    // A copy of the built data directory (person files, Fond.in and the packed
    // databases): start-up takes the directory's lock, and the build's own data
    // folder is what the package installs, so no test leaves a file there.
    const std::string built = std::string(PELORIN_BINARY_DIR) + "/data/";
    ScratchDir dir;
    ScratchDir data;
    for (const auto& e : std::filesystem::directory_iterator(built))
        if (e.is_regular_file()) std::filesystem::copy_file(e.path(), data.file(e.path().filename().string()));
    test::WriteFile(dir.file("main.dat"), dir.path() + "\r\n" + data.path() + "\r\n");
    AppState state;
    FakeView view;
    StartupResult r = RunStartup(dir.file("main.dat"), state, view, DefaultStartupHooks(state));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(state.StartupWarnings.empty());
    EXPECT_GT(state.databases.AspectTexts.lineCount(), 1000);
    EXPECT_GT(state.databases.SignTexts.lineCount(), 100);

    // Without Fond.in start-up goes on to the end, and says what is missing.
    DataDirFixture s({"Анна"}, {"Борис"});
    for (const char* f : {"data1.dat", "data1_d.dat", "as1.dat", "pla1.dat"})
        test::WriteFile(s.dir.file(f), test::ReadFile(built + f));
    for (const char* f : {"data2.dat", "data2_d.dat", "as2.dat", "pla2.dat"}) test::WriteFile(s.dir.file(f), "");
    // The directory is of an earlier version, without the database of her
    // planets in his houses: with the shipped data known it is taken from there.
    AppState other;
    other.ShippedDataDir = built;
    r = RunStartup(s.config, other, view, DefaultStartupHooks(other));
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(other.StartupWarnings.size(), 1u);
    EXPECT_NE(other.StartupWarnings[0].find("Fond.in"), std::string::npos);
    EXPECT_NE(other.StartupWarnings[0].find("Плутон"), std::string::npos);
    EXPECT_EQ(test::ReadFile(s.dir.file("data1_r.dat")), test::ReadFile(built + "data1_r.dat"));
    EXPECT_GT(other.databases.ReverseHouseTexts.lineCount(), 100);

    // Without the shipped data start-up goes on without it, and says so once.
    std::remove(s.dir.file("data1_r.dat").c_str());
    AppState without;
    r = RunStartup(s.config, without, view, DefaultStartupHooks(without));
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(without.StartupWarnings.size(), 2u);
    EXPECT_NE(without.StartupWarnings[1].find("data1_r.dat"), std::string::npos);
    EXPECT_EQ(without.StartupWarnings[1], without.databases.ReverseMissing);
    EXPECT_GT(without.databases.SignTexts.lineCount(), 100);

    // A missing work file of a database ends start-up at the last step.
    std::remove(s.dir.file("as2.dat").c_str());
    AppState third;
    r = RunStartup(s.config, third, view, DefaultStartupHooks(third));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadDatabases);
    EXPECT_NE(r.message.find("as2.dat"), std::string::npos);
    EXPECT_GT(third.databases.HouseTexts.lineCount(), 100);  // loaded before the failure
}

// A "Fond.in" that is there but damaged (here cut where its last byte is 0, so
// that it would read as a file of no bodies) stops the start-up naming it.
TEST(Startup, ADamagedFondInStopsTheStartupNamingIt) {
    DataDirFixture s({"Анна"}, {"Борис"});
    const std::string fond = test::ReadFile(test::SourceDataDir() + "Fond.in");
    std::size_t cut = fond.size() * 2 / 3;
    while (fond[cut - 1] != '\0') --cut;
    test::WriteFile(s.dir.file("Fond.in"), fond.substr(0, cut));
    AppState state;
    FakeView view;
    const StartupResult r = RunStartup(s.config, state, view, DefaultStartupHooks(state));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadTabulated);
    EXPECT_NE(r.message.find(s.dir.file("Fond.in")), std::string::npos) << r.message;
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(state.people.LoadFailedOn, "Fond.in");
}

// A database that reads but lacks keys is used, with a warning that names it
// and counts the keys missing; one that is empty stops the start-up.
TEST(Startup, AnIncompleteDatabaseIsUsedWithAWarningAnEmptyOneIsRefused) {
    const std::string built = std::string(PELORIN_BINARY_DIR) + "/data/";
    DataDirFixture s({"Анна"}, {"Борис"});
    for (const char* f : {"data1.dat", "data1_d.dat", "as1.dat", "data1_r.dat", "Fond.in"})
        test::WriteFile(s.dir.file(f), test::ReadFile(built + f));
    for (const char* f : {"data2.dat", "data2_d.dat", "as2.dat", "pla2.dat", "data2_r.dat"})
        test::WriteFile(s.dir.file(f), "");
    test::WriteFile(s.dir.file("pla1.dat"), ScrambleBytes("*   0   1   1   0   0   0   0\r\nt\r\nx\r\n@\r\n"));
    AppState state;
    FakeView view;
    StartupResult r = RunStartup(s.config, state, view, DefaultStartupHooks(state));
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(state.StartupWarnings.size(), 1u);
    EXPECT_NE(state.StartupWarnings[0].find(s.dir.file("pla1.dat")), std::string::npos) << state.StartupWarnings[0];
    EXPECT_NE(state.StartupWarnings[0].find("нет 59 из 60"), std::string::npos) << state.StartupWarnings[0];

    test::WriteFile(s.dir.file("pla1.dat"), "");
    AppState empty;
    r = RunStartup(s.config, empty, view, DefaultStartupHooks(empty));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedStep, StartupStep::LoadDatabases);
    EXPECT_NE(r.message.find("pla1.dat"), std::string::npos) << r.message;
    EXPECT_EQ(empty.people.LoadFailedOn, "pla1.dat");
}

}  // namespace
}  // namespace pelorin
