#include "base/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/errors.h"
#include "base/native_path.h"

#ifdef _WIN32
#include <windows.h>

#include <random>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelorin {

std::string SystemErrorText() { return std::strerror(errno); }

std::string ReadWholeFile(const std::string& fileName) {
    std::FILE* f = OpenFile(fileName, "rb");
    if (!f) throw Error("Не удаётся открыть файл «" + fileName + "»: " + SystemErrorText());
    std::string bytes;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) throw Error("Ошибка чтения файла «" + fileName + "»");
    return bytes;
}

bool FileReadable(const std::string& fileName) {
    std::FILE* f = OpenFile(fileName, "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

#ifndef _WIN32
namespace {

bool WriteAll(int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The file a rewrite replaces: a symbolic link is followed to the file it names
// (a rename over the link itself would turn the link into a plain file). A path
// that is not a link is returned as it is.
std::string RewriteTarget(const std::string& fileName) {
    std::string path = fileName;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
            if (n < 0) return path;
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty()) return path;
        if (target[0] != '/') {
            const std::size_t slash = path.rfind('/');
            if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
        }
        path = target;
    }
    errno = ELOOP;
    throw Error("Не удалось записать файл «" + fileName + "»: " + SystemErrorText());
}

}  // namespace
#endif

void WriteFileAtomic(const std::string& fileName, std::string_view content, Durability durability) {
    const std::string failed = "Не удалось записать файл «" + fileName + "»: ";
#ifdef _WIN32
    const std::wstring target = WideText(fileName);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw Error(failed + "файл защищён от записи");
    // A temporary file beside the target, named as on other systems (".XXXXXX").
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::wstring tmp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        std::string suffix = ".";
        for (int i = 0; i < 6; ++i) suffix += kLetters[random() % (sizeof kLetters - 1)];
        tmp = target + WideText(suffix);
        h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (h == INVALID_HANDLE_VALUE) throw Error(failed + WindowsErrorText(GetLastError()));
    bool ok = true;
    const char* p = content.data();
    std::size_t left = content.size();
    while (ok && left > 0) {
        const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = WriteFile(h, p, chunk, &written, nullptr) != 0 && written == chunk;
        p += chunk;
        left -= chunk;
    }
    if (ok && durability == Durability::Synced) ok = FlushFileBuffers(h) != 0;
    DWORD error = ok ? 0 : GetLastError();
    if (!CloseHandle(h) && ok) { ok = false; error = GetLastError(); }
    const DWORD flags = durability == Durability::Synced ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
                                                         : MOVEFILE_REPLACE_EXISTING;
    // Another program that has the file open without sharing its deletion (a
    // virus scanner, a backup) holds the replacement off for a moment: try again
    // for up to two seconds before giving up.
    for (int attempt = 0; ok && !MoveFileExW(tmp.c_str(), target.c_str(), flags); ++attempt) {
        error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_LOCK_VIOLATION) ||
            attempt == 40)
            ok = false;
        else
            Sleep(50);
    }
    if (!ok) {
        DeleteFileW(tmp.c_str());
        throw Error(failed + WindowsErrorText(error));
    }
#else
    const std::string target = RewriteTarget(fileName);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // A file with no write permission at all counts as read-only, for root too.
    if (exists && (::access(target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0))
        throw Error(failed + "файл защищён от записи");
    std::string tmpl = target + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) throw Error(failed + SystemErrorText());
    bool ok = WriteAll(fd, content) && (durability == Durability::Regenerated || ::fsync(fd) == 0);
    int savedErrno = errno;
    if (ok && exists) ::fchmod(fd, st.st_mode & 07777);
    else if (ok) ::fchmod(fd, 0644);
    if (::close(fd) != 0 && ok) { ok = false; savedErrno = errno; }
    if (ok && ::rename(tmpl.c_str(), target.c_str()) != 0) { ok = false; savedErrno = errno; }
    if (!ok) {
        ::unlink(tmpl.c_str());
        errno = savedErrno;
        throw Error(failed + SystemErrorText());
    }
#endif
}

bool IsRewriteTemporary(std::string_view base, std::string_view candidate) {
    if (candidate.size() <= base.size() + 1 || candidate.substr(0, base.size()) != base ||
        candidate[base.size()] != '.')
        return false;
    const std::string_view suffix = candidate.substr(base.size() + 1);
    if (suffix == "tmp") return true;
    if (suffix.size() != 6) return false;
    for (char c : suffix)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

void RemoveLeftoverTemporaries(const std::string& fileName) {
#ifdef _WIN32
    namespace fs = std::filesystem;
    const fs::path file = NativePath(fileName);
    const std::string base = PathText(file.filename());
    std::error_code ec;
    std::vector<fs::path> leftovers;
    for (const fs::directory_entry& e :
         fs::directory_iterator(file.has_parent_path() ? file.parent_path() : fs::path(L"."), ec))
        if (IsRewriteTemporary(base, PathText(e.path().filename())) && e.is_regular_file(ec))
            leftovers.push_back(e.path());
    for (const fs::path& p : leftovers) fs::remove(p, ec);
#else
    std::string target;
    try {
        target = RewriteTarget(fileName);
    } catch (const Error&) {
        return;
    }
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    std::vector<std::string> leftovers;
    while (const dirent* e = ::readdir(d))
        if (IsRewriteTemporary(base, e->d_name)) leftovers.push_back(e->d_name);
    ::closedir(d);
    for (const std::string& name : leftovers) {
        const std::string path = (dir == "." ? std::string() : dir) + name;
        struct stat st {};
        // Only plain files: a link of that name is nothing a rewrite made.
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
    }
#endif
}

void AppendToFile(const std::string& fileName, std::string_view content) {
    std::FILE* f = OpenFile(fileName, "ab");
    if (!f) throw Error("Не удаётся открыть файл «" + fileName + "» для дополнения: " + SystemErrorText());
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw Error("Ошибка записи в файл «" + fileName + "»");
}

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string joined;
    joined.reserve(dir.size() + name.size());
    joined.append(dir);
    joined.append(name);
    std::string out;
    out.reserve(joined.size());
#ifdef _WIN32
    const auto separator = [](char c) { return c == '/' || c == '\\'; };
    // Both separators are Windows's own; a doubled one collapses, except the two
    // that open a network path (\\server\share).
    for (std::size_t i = 0; i < joined.size(); ++i) {
        const char c = joined[i];
        if (separator(c) && i > 1 && separator(out.back())) continue;
        out += c;
    }
#else
    for (char c : joined) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
#endif
    return out;
}

}  // namespace pelorin
