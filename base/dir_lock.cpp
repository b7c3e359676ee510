#include "base/dir_lock.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "base/errors.h"
#include "base/file_io.h"
#include "base/native_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelorin {
namespace {

#ifdef _WIN32
using Handle = HANDLE;
#else
using Handle = int;
#endif

// One lock the process holds: the open lock file, which file it is, and how many
// guards share it.
struct Held {
    std::string identity;
    Handle handle;
    int guards = 0;
};

struct HeldLocks {
    std::mutex mutex;
    std::map<long long, Held> byKey;
    long long nextKey = 0;
};

HeldLocks& Locks() {
    static HeldLocks locks;
    return locks;
}

std::string Shown(const std::string& dir) { return dir.empty() ? std::string(".") : dir; }

std::string BusyMessage(const std::string& dir, std::chrono::milliseconds wait) {
    const long long seconds = (wait.count() + 999) / 1000;
    return "Каталог данных «" + Shown(dir) + "» занят другой копией программы или пакетным инструментом (ожидание " +
           std::to_string(seconds) + " с). Команда не выполнена, ничего не записано; повторите её позже.";
}

std::string OpenFailedMessage(const std::string& dir, const std::string& why) {
    return "Не удаётся открыть файл блокировки «" + std::string(kLockFileName) + "» в каталоге данных «" +
           Shown(dir) + "»: " + why + ". Команда не выполнена, ничего не записано.";
}

#ifdef _WIN32

// The lock file, or INVALID_HANDLE_VALUE when the directory cannot hold one for
// this user (absent or not writable, and no lock file there).
Handle OpenLockFile(const std::string& path, const std::string& dir, LockUse use, std::string& identity) {
    const std::wstring wide = WideText(path);
    Handle h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           use == LockUse::Change ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        if (e == ERROR_ACCESS_DENIED || e == ERROR_WRITE_PROTECT || e == ERROR_PATH_NOT_FOUND ||
            e == ERROR_FILE_NOT_FOUND)
            return INVALID_HANDLE_VALUE;
        throw Error(OpenFailedMessage(dir, WindowsErrorText(e)));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(h, &info);
    identity = std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
               std::to_string(info.nFileIndexLow);
    return h;
}

bool TryLock(Handle h) {
    OVERLAPPED o{};
    return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o) != 0;
}

void Release(Handle h) {
    OVERLAPPED o{};
    UnlockFileEx(h, 0, 1, 0, &o);
    CloseHandle(h);
}

bool Valid(Handle h) { return h != INVALID_HANDLE_VALUE; }

#else

Handle OpenLockFile(const std::string& path, const std::string& dir, LockUse use, std::string& identity) {
    // A symbolic link in place of the lock file is not followed: a dangling one
    // would otherwise make a file wherever it points, and two copies of the
    // program could lock two different files.
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (use == LockUse::Change ? O_CREAT : 0), 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);  // flock needs no write access
    if (fd < 0) {
        if (errno == EACCES || errno == EROFS || errno == EPERM || errno == ENOENT || errno == ENOTDIR) return -1;
        if (errno == ELOOP) throw Error(OpenFailedMessage(dir, "это символическая ссылка, а не файл"));
        throw Error(OpenFailedMessage(dir, SystemErrorText()));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const std::string why = SystemErrorText();
        ::close(fd);
        throw Error(OpenFailedMessage(dir, why));
    }
    identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    return fd;
}

bool TryLock(Handle fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return false;
        const std::string why = SystemErrorText();
        throw Error("Не удаётся заблокировать файл «" + std::string(kLockFileName) + "»: " + why);
    }
    return true;
}

void Release(Handle fd) { ::close(fd); }  // closing the only descriptor releases the lock

bool Valid(Handle fd) { return fd >= 0; }

#endif

}  // namespace

DirLock::DirLock(const std::string& dataDir, LockUse use, std::chrono::milliseconds wait) {
    std::string dir = dataDir;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    std::string identity;
    const Handle h = OpenLockFile(JoinPath(dir, kLockFileName), dataDir, use, identity);
    if (!Valid(h)) return;

    HeldLocks& locks = Locks();
    {
        std::lock_guard<std::mutex> guard(locks.mutex);
        for (auto& [key, held] : locks.byKey) {
            if (held.identity != identity) continue;
            // Already ours: share it. This descriptor is a second one of the same
            // file; closing it leaves the lock of the first in place (flock).
            Release(h);
            ++held.guards;
            key_ = key;
            return;
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    try {
        while (!TryLock(h)) {
            if (std::chrono::steady_clock::now() >= deadline) throw Error(BusyMessage(dataDir, wait));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    } catch (...) {
        Release(h);
        throw;
    }
    std::lock_guard<std::mutex> guard(locks.mutex);
    key_ = locks.nextKey++;
    locks.byKey[key_] = Held{identity, h, 1};
}

DirLock::~DirLock() {
    if (key_ < 0) return;
    HeldLocks& locks = Locks();
    std::lock_guard<std::mutex> guard(locks.mutex);
    auto it = locks.byKey.find(key_);
    if (it == locks.byKey.end()) return;
    if (--it->second.guards == 0) {
        Release(it->second.handle);
        locks.byKey.erase(it);
    }
}

std::string DirectoryOf(const std::string& fileName) {
    const std::size_t cut = fileName.find_last_of("/\\");
    if (cut == std::string::npos) return ".";
    return fileName.substr(0, cut + 1);
}

}  // namespace pelorin
