#include "base/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/errors.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pelorin {

std::string SystemErrorText() { return std::strerror(errno); }

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw Error("Не удаётся открыть файл «" + fileName + "»: " + SystemErrorText());
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw Error("Ошибка чтения файла «" + fileName + "»");
    return ss.str();
}

bool FileReadable(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return static_cast<bool>(in);
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
    const std::string tmp = fileName + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw Error(failed + SystemErrorText());
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(tmp.c_str());
            throw Error(failed + "ошибка записи");
        }
    }
    const DWORD flags = durability == Durability::Synced ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
                                                         : MOVEFILE_REPLACE_EXISTING;
    if (!MoveFileExA(tmp.c_str(), fileName.c_str(), flags)) {
        std::remove(tmp.c_str());
        throw Error(failed + "не удалось заменить файл");
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
    // The temporary file has one fixed name here, which the next rewrite reuses.
    (void)fileName;
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
    std::ofstream out(fileName, std::ios::binary | std::ios::app);
    if (!out) throw Error("Не удаётся открыть файл «" + fileName + "» для дополнения: " + SystemErrorText());
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) throw Error("Ошибка записи в файл «" + fileName + "»");
}

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string joined;
    joined.reserve(dir.size() + name.size());
    joined.append(dir);
    joined.append(name);
#ifdef _WIN32
    return joined;
#else
    std::string out;
    out.reserve(joined.size());
    for (char c : joined) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    return out;
#endif
}

}  // namespace pelorin
