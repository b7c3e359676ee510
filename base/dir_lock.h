#pragma once
// The data directory's lock. Several copies of the program and the batch tool may
// share one data directory; every command that reads or writes files there holds
// this lock for as long as it does, so that the commands of different processes
// take turns. The lock is the lock file "pelorin.lck" in the directory, locked
// with flock (LockFileEx on Windows); it is released when the guard goes out of
// scope or the process ends, however it ends.
//
// Guards nest: within one process a second guard on a directory already locked
// by that process shares the lock (a command that calls another command keeps the
// lock it holds). The lock orders processes, not threads.
#include <chrono>
#include <string>

namespace pelorin {

inline constexpr const char* kLockFileName = "pelorin.lck";
// How long a command waits for another process to finish before it gives up.
inline constexpr std::chrono::milliseconds kDirLockWait{5000};

// A command that only reads (a chart, the people, a place) finds the lock file
// or does without: it never creates one, so that reading a directory, the
// shipped data for one, leaves nothing behind. Where no lock file exists, no
// command has ever changed the directory under the lock, and since every change
// replaces a file in one rename, a reader sees each file whole either way.
enum class LockUse { Change, Read };

class DirLock {
public:
    // Waits up to `wait` for the lock of `dataDir` (a directory text as the
    // configuration writes it, with or without its trailing separator). Throws
    // Error with a message naming the directory when another process holds it all
    // that time, or when the lock file cannot be opened for a reason other than
    // the directory being absent or not writable: a directory that this user can
    // neither create the lock file in nor holds it is used unlocked, because the
    // commands of this user cannot change it either.
    explicit DirLock(const std::string& dataDir, LockUse use = LockUse::Change,
                     std::chrono::milliseconds wait = kDirLockWait);
    ~DirLock();
    DirLock(const DirLock&) = delete;
    DirLock& operator=(const DirLock&) = delete;

    // False when the directory is used unlocked (see above).
    bool locked() const { return key_ >= 0; }

private:
    long long key_ = -1;  // entry of the process's table of held locks
};

// The directory of a file path ("." for a bare name), for commands that are given
// a file of the data directory rather than the directory itself.
std::string DirectoryOf(const std::string& fileName);

}  // namespace pelorin
