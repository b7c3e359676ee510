#include "base/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "base/errors.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
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
    struct stat st {};
    const bool exists = ::stat(fileName.c_str(), &st) == 0;
    // A file with no write permission at all counts as read-only, for root too.
    if (exists && (::access(fileName.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0))
        throw Error(failed + "файл защищён от записи");
    std::string tmpl = fileName + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) throw Error(failed + SystemErrorText());
    bool ok = WriteAll(fd, content) && (durability == Durability::Regenerated || ::fsync(fd) == 0);
    int savedErrno = errno;
    if (ok && exists) ::fchmod(fd, st.st_mode & 07777);
    else if (ok) ::fchmod(fd, 0644);
    if (::close(fd) != 0 && ok) { ok = false; savedErrno = errno; }
    if (ok && ::rename(tmpl.c_str(), fileName.c_str()) != 0) { ok = false; savedErrno = errno; }
    if (!ok) {
        ::unlink(tmpl.c_str());
        errno = savedErrno;
        throw Error(failed + SystemErrorText());
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
