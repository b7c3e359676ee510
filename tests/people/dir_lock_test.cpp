#include "base/dir_lock.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "base/errors.h"
#include "base/native_path.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using namespace std::chrono_literals;

// The lock as another process holds it: a descriptor of its own, outside the guards.
#ifdef _WIN32
struct OtherHolder {
    HANDLE h;
    explicit OtherHolder(const std::string& dir)
        : h(CreateFileW(WideText(dir + kLockFileName).c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OtherHolder() { CloseHandle(h); }
    bool Take() {
        OVERLAPPED o{};
        return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o) != 0;
    }
};
#else
struct OtherHolder {
    int fd;
    explicit OtherHolder(const std::string& dir) : fd(::open((dir + kLockFileName).c_str(), O_RDWR | O_CREAT, 0644)) {}
    ~OtherHolder() { ::close(fd); }
    bool Take() { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }
};
#endif

TEST(DirLock, WaitsThenGivesUpNamingTheDirectoryAndNestedGuardsShareTheLock) {
    test::ScratchDir dir;
    EXPECT_FALSE(DirLock(dir.path(), LockUse::Read).locked());  // a reader creates no lock file
    {
        OtherHolder other(dir.path());
        ASSERT_TRUE(other.Take());
        try {
            DirLock lock(dir.path(), LockUse::Read, 50ms);
            FAIL() << "the lock was taken twice";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("«" + dir.path() + "» занят"), std::string::npos) << e.what();
        }
    }
    DirLock outer(dir.path(), LockUse::Change, 50ms);
    EXPECT_TRUE(outer.locked());
    { const DirLock inner(dir.path().substr(0, dir.path().size() - 1), LockUse::Change, 50ms); }  // the same directory
    OtherHolder other(dir.path());
    EXPECT_FALSE(other.Take());  // the inner guard's end did not release the outer one
}

#ifndef _WIN32
// A symbolic link in place of the lock file is not followed: a dangling one
// makes no file where it points, and the command is refused naming the lock file.
TEST(DirLock, ALinkInPlaceOfTheLockFileIsNotFollowed) {
    test::ScratchDir dir, elsewhere;
    const std::string target = elsewhere.file("made.lck");
    ASSERT_EQ(::symlink(target.c_str(), dir.file(kLockFileName).c_str()), 0);
    for (LockUse use : {LockUse::Change, LockUse::Read}) {
        try {
            DirLock lock(dir.path(), use, 50ms);
            ADD_FAILURE() << "a link was taken for the lock file";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(kLockFileName), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("ссылка"), std::string::npos) << e.what();
        }
    }
    EXPECT_NE(::access(target.c_str(), F_OK), 0);
}
#endif

}  // namespace
}  // namespace pelorin
