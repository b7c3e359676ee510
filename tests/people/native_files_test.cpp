// Files and the lock under names that are not ASCII, and the atomic replace where
// another program holds the file open.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "base/native_path.h"
#include "people/config.h"
#include "people/first_start.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

int FilesIn(const std::string& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(NativePath(dir))) ++n;
    return n;
}

TEST(NativeFiles, CyrillicAndBlankNamesReachTheSystemWhole) {
    test::ScratchDir top;
    const std::string dir = top.path() + "Данные Ольги/";
    fs::create_directory(NativePath(dir));
    const std::string file = dir + "Список женщин.DAT";
    WriteFileAtomic(file, "первое");
    WriteFileAtomic(file, "второе");
    AppendToFile(file, "+");
    EXPECT_TRUE(FileReadable(file));
    EXPECT_EQ(ReadWholeFile(file), "второе+");
    // The name is the one given, not a lookalike in another code page.
    EXPECT_TRUE(fs::exists(NativePath(dir) / NativePath("Список женщин.DAT")));
    EXPECT_EQ(PathText(fs::directory_iterator(NativePath(dir))->path().filename()), "Список женщин.DAT");
    {
        const DirLock lock(dir);
        EXPECT_TRUE(lock.locked());
        EXPECT_TRUE(fs::exists(NativePath(dir + kLockFileName)));
    }
    EXPECT_EQ(FilesIn(dir), 2);  // the file and the lock file: no temporary left
    EXPECT_THROW(ReadWholeFile(dir + "нет такого"), Error);
}

#ifdef _WIN32
TEST(NativeFiles, ReplaceWaitsForAReaderThatHoldsTheFileAndGivesUpCleanly) {
    test::ScratchDir dir;
    const std::string file = dir.path() + "MEN.DAT";
    WriteFileAtomic(file, "old");
    const auto holdOpen = [&] {
        return CreateFileW(WideText(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    // A reader that lets go after a moment: the replacement goes through.
    HANDLE reader = holdOpen();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread release([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(reader);
    });
    WriteFileAtomic(file, "new");
    release.join();
    EXPECT_EQ(ReadWholeFile(file), "new");

    // One that keeps it: an error naming the file, the old content, no leftover.
    reader = holdOpen();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    try {
        WriteFileAtomic(file, "newer");
        ADD_FAILURE() << "replaced a file another program holds open";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("MEN.DAT"), std::string::npos) << e.what();
    }
    CloseHandle(reader);
    EXPECT_EQ(ReadWholeFile(file), "new");
    EXPECT_EQ(FilesIn(dir.path()), 1);

    // A read-only file stays as it is.
    SetFileAttributesW(WideText(file).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(WriteFileAtomic(file, "newest"), Error);
    SetFileAttributesW(WideText(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile(file), "new");
}
#endif

}  // namespace
}  // namespace pelorin

namespace pelorin {
namespace {

// main.dat keeps the encoding the program's first versions read (Windows-1251 on
// Windows), and a directory that encoding cannot spell still round-trips.
TEST(NativeConfig, MainDatNamesCyrillicDirectoriesAndAnyOther) {
    test::ScratchDir dir;
    const std::string config = dir.path() + "main.dat";
    for (const std::string& data : {std::string("C:\\Users\\Ольга\\AppData\\Local\\Pelorin\\data\\"),
                                    std::string("D:\\数据 и данные\\")}) {
        WriteFileAtomic(config, ConfigFileText("C:\\Pelorin\\system\\", data));
        const Config c = ReadConfig(config);
        EXPECT_EQ(c.SystemDir, "C:\\Pelorin\\system\\");
        EXPECT_EQ(c.DataDir, data);
    }
#ifdef _WIN32
    // Written by another program: Windows-1251 bytes.
    test::WriteFile(config, "C:\\\xCF\xF0\xEE\xE3\\\r\nC:\\\xC4\xE0\xED\xED\xFB\xE5\\\r\n");
    EXPECT_EQ(ReadConfig(config).DataDir, "C:\\Данные\\");
    EXPECT_EQ(ConfigFileText("C:\\Прог\\", "C:\\Данные\\"), test::ReadFile(config));
#endif
}

#ifdef _WIN32
TEST(NativeConfig, PerUserPlacesFollowTheEnvironment) {
    if (FileReadable(kFixedConfigPath)) GTEST_SKIP() << "this machine keeps the fixed main.dat";
    const std::string app = EnvironmentText("APPDATA"), local = EnvironmentText("LOCALAPPDATA");
    _wputenv_s(L"APPDATA", L"C:\\Users\\Ольга\\AppData\\Roaming");
    _wputenv_s(L"LOCALAPPDATA", L"C:\\Users\\Ольга\\AppData\\Local");
    _wputenv_s(L"PELORIN_CONFIG", L"");
    EXPECT_EQ(ResolveConfigPath(""), "C:\\Users\\Ольга\\AppData\\Roaming\\Pelorin\\main.dat");
    EXPECT_EQ(DefaultUserDataDir(), "C:\\Users\\Ольга\\AppData\\Local\\Pelorin\\data\\");
    EXPECT_EQ(ResolveConfigPath("x.dat"), "x.dat");
    _wputenv_s(L"APPDATA", WideText(app).c_str());
    _wputenv_s(L"LOCALAPPDATA", WideText(local).c_str());
}
#endif

}  // namespace
}  // namespace pelorin
