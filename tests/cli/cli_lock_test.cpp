// Several processes on one data directory, and directories that cannot be written
// (the processes are started by bash, the full disk is a tmpfs: not on Windows).
#ifndef _WIN32
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::ReadFile;
using test::RunCli;
using test::ScratchDir;

const std::string kCli = Quote(PELORIN_CLI_PATH);

// Empty person files, the databases, Fond.in and the atlas of the build in `dir`.
void FillDataDir(const std::string& dir, bool withAtlas) {
    for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data")) {
        const std::string ext = f.path().extension().string();
        if (ext == ".dat" || ext == ".in" || (withAtlas && (f.path().filename() == "sng.wdt" || ext == ".tzt")))
            fs::copy_file(f.path(), dir + f.path().filename().string(), fs::copy_options::overwrite_existing);
    }
    PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
    for (int i = 1; i <= kTableSlots; ++i) {
        ClearSlot(women, i);
        ClearSlot(men, i);
    }
    SavePersonFile(dir + "FEMIN.DAT", women);
    SavePersonFile(dir + "MEN.DAT", men);
}

std::string ConfigFor(const ScratchDir& home, const std::string& dataDir) {
    test::WriteFile(home.file("main.dat"), dataDir + "\n" + dataDir + "\n");
    return Quote(home.file("main.dat"));
}

std::string AddMan(const std::string& config, const std::string& name) {
    return "add --config " + config + " --list men --name " + name + " --date 15.06.1970 --place Omsk";
}

TEST(CliLock, TwoProcessesAddingFortyEachStoreAllEighty) {
    ScratchDir dir;
    FillDataDir(dir.path(), false);
    const std::string config = ConfigFor(dir, dir.path());
    std::string script;
    for (const char* who : {"A", "B"})
        script += "(for i in $(seq 40); do " + kCli + " " + AddMan(config, std::string(who) + "$i") +
                  " >/dev/null || echo failed; done) & ";
    script += "wait";
    const std::string failures = dir.file("failures");
    ASSERT_EQ(std::system(("bash -c " + Quote(script) + " >" + Quote(failures) + " 2>&1").c_str()), 0);
    EXPECT_EQ(ReadFile(failures), "");
    PersonTable men{TableKind::Men, {}};
    LoadPersonFile(dir.file("MEN.DAT"), men);
    const std::vector<int> used = UsedSlots(men);
    ASSERT_EQ(used.size(), 80u);
    std::set<std::string> stamps;
    for (int slot : used) stamps.insert(men.slot(slot).Stamp.str());
    EXPECT_EQ(stamps.size(), 80u);  // every stamp names one person
}

TEST(CliLock, PairAnalysesOfTwoProcessesEqualEachPairAlone) {
    ScratchDir dir;
    FillDataDir(dir.path(), true);
    const std::string config = ConfigFor(dir, dir.path());
    auto stampOf = [](const test::RunResult& r) { return r.out.substr(r.out.find("\"stamp\": \"") + 10, 10); };
    std::string w[2], m[2];
    const char* women[2][2] = {{"05.06.1975", "14:30"}, {"12.11.1982", "08:15"}};
    for (int i = 0; i < 2; ++i) {
        const test::RunResult a = RunCli("add --config " + config + " --list women --name W" + std::to_string(i) +
                                         " --date " + women[i][0] + " --time " + women[i][1] +
                                         " --region sng --country " + Quote("Россия (Москва)") + " --city " +
                                         Quote("Москва"));
        ASSERT_EQ(a.exitCode, 0) << a.err;
        w[i] = stampOf(a);
        const test::RunResult b = RunCli(AddMan(config, "M" + std::to_string(i)));
        ASSERT_EQ(b.exitCode, 0) << b.err;
        m[i] = stampOf(b);
    }
    std::string alone[2];
    for (int i = 0; i < 2; ++i) {
        const test::RunResult r = RunCli("pair --config " + config + " --woman " + w[i] + " --man " + m[1 - i]);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        alone[i] = r.out;
    }
    ASSERT_NE(alone[0], alone[1]);
    std::string script;
    for (int i = 0; i < 2; ++i)
        script += "(for n in $(seq 25); do " + kCli + " pair --config " + config + " --woman " + w[i] + " --man " +
                  m[1 - i] + " > " + Quote(dir.path() + "out" + std::to_string(i) + "-") + "$n 2>&1; done) & ";
    ASSERT_EQ(std::system(("bash -c " + Quote(script + "wait")).c_str()), 0);
    for (int i = 0; i < 2; ++i)
        for (int n = 1; n <= 25; ++n)
            EXPECT_EQ(ReadFile(dir.path() + "out" + std::to_string(i) + "-" + std::to_string(n)), alone[i])
                << "pair " << i << ", round " << n;
}

// A small tmpfs as the data directory: full, then read-only. Needs the right to
// mount; skipped without it.
TEST(CliLock, FullAndReadOnlyDataDirectoriesChangeNothingAndSaySo) {
    ScratchDir home;
    const std::string dir = home.file("data/");
    fs::create_directory(dir);
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=200k") != 0) GTEST_SKIP() << "mount not permitted";
    struct Unmount {
        std::string dir;
        ~Unmount() { ::umount2(dir.c_str(), MNT_DETACH); }
    } unmount{dir};
    PersonTable table{TableKind::Men, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(table, i);
    SavePersonFile(dir + "FEMIN.DAT", table);
    SavePersonFile(dir + "MEN.DAT", table);
    const std::string config = ConfigFor(home, dir);
    ASSERT_EQ(RunCli(AddMan(config, "Before")).exitCode, 0);
    const std::string men = ReadFile(dir + "MEN.DAT");

    // Full: what is left cannot take a second copy of the file.
    test::WriteFile(dir + "filler", "");
    std::system(("dd if=/dev/zero of=" + Quote(dir + "filler") + " bs=1k count=400 2>/dev/null").c_str());
    test::RunResult r = RunCli(AddMan(config, "Full"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Не удалось записать файл «" + dir + "MEN.DAT»"), std::string::npos) << r.err;
    EXPECT_TRUE(ReadFile(dir + "MEN.DAT") == men);

    fs::remove(dir + "filler");
    ASSERT_EQ(::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    r = RunCli(AddMan(config, "ReadOnly"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Не удалось записать файл «" + dir + "MEN.DAT»"), std::string::npos) << r.err;
    EXPECT_TRUE(ReadFile(dir + "MEN.DAT") == men);
    EXPECT_EQ(RunCli("people --config " + config).exitCode, 0);  // reading still works
}

// A command writes its output only after it has released the data directory's
// lock: a reader that does not read (here a pipe that stays full for seconds)
// keeps no other command waiting.
TEST(CliLock, AStalledReaderKeepsNobodyWaiting) {
    ScratchDir dir;
    FillDataDir(dir.path(), false);
    // 98 men with long comments: more output than a pipe holds.
    PersonTable men{TableKind::Men, {}};
    LoadPersonFile(dir.file("MEN.DAT"), men);
    for (int i = 1; i < kUsableSlots; ++i) {
        PersonRecord& r = men.slot(i);
        r.Name.set(PadRight("Man" + std::to_string(i), 20));
        r.Stamp.set(std::to_string(1000000000 + i));
        r.Comment.set(std::string(255, '\xE6'));  // "ж", two bytes in UTF-8
        BuildListLine(r);
    }
    SavePersonFile(dir.file("MEN.DAT"), men);
    const std::string config = ConfigFor(dir, dir.path());
    const std::string done = dir.file("reader-done");
    const std::string reader = "(" + kCli + " people --config " + config + " | (sleep 4; cat >/dev/null); touch " +
                               Quote(done) + ") >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(("bash -c " + Quote(reader)).c_str()), 0);
    std::system("sleep 1");
    const auto start = std::chrono::steady_clock::now();
    const test::RunResult r = RunCli(AddMan(config, "Meanwhile"));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_LT(seconds, 3.0);
    for (int i = 0; i < 100 && !fs::exists(done); ++i) std::system("sleep 0.1");
    EXPECT_TRUE(fs::exists(done));
}

}  // namespace
}  // namespace pelorin
#endif
