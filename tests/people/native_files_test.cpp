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
