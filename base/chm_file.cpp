#include "base/chm_file.h"

#include <chm_lib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace pelorin {

namespace {

// The header of every compiled help file: "ITSF", version 2 or 3.
bool LooksLikeChm(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0x60) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char head[8] = {};
    const bool read = std::fread(head, 1, sizeof head, f) == sizeof head;
    std::fclose(f);
    return read && std::memcmp(head, "ITSF", 4) == 0 && (head[4] == 2 || head[4] == 3) && head[5] == 0 &&
           head[6] == 0 && head[7] == 0;
}

int CollectFile(chmFile*, chmUnitInfo* ui, void* context) {
    const std::string path(ui->path, strnlen(ui->path, CHM_MAX_PATHLEN));
    if (path.size() > 1 && path[0] == '/' && path[1] != '#' && path[1] != '$' && path.back() != '/')
        static_cast<std::vector<std::string>*>(context)->push_back(path);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

std::unique_ptr<ChmFile> ChmFile::Open(const std::string& path) {
    if (!LooksLikeChm(path)) return nullptr;
    chmFile* h = chm_open(path.c_str());
    if (!h) return nullptr;
    return std::unique_ptr<ChmFile>(new ChmFile(h));
}

ChmFile::~ChmFile() { chm_close(handle_); }

bool ChmFile::Contains(const std::string& objectPath) const {
    if (objectPath.empty() || objectPath.size() > CHM_MAX_PATHLEN) return false;
    chmUnitInfo ui {};
    return chm_resolve_object(handle_, objectPath.c_str(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmFile::Read(const std::string& objectPath) const {
    if (objectPath.empty() || objectPath.size() > CHM_MAX_PATHLEN) return std::nullopt;
    chmUnitInfo ui {};
    if (chm_resolve_object(handle_, objectPath.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (ui.length > kMaxObjectSize) return std::nullopt;
    std::string out(static_cast<std::size_t>(ui.length), '\0');
    if (ui.length == 0) return out;
    const LONGINT64 got = chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(out.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got != static_cast<LONGINT64>(ui.length)) return std::nullopt;
    return out;
}

std::vector<std::string> ChmFile::Files() const {
    std::vector<std::string> files;
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectFile, &files);
    return files;
}

std::string ChmObjectPath(const std::string& topic) {
    std::string t = topic;
    if (t.rfind("::", 0) == 0) t.erase(0, 2);
    if (const auto hash = t.find('#'); hash != std::string::npos) t.erase(hash);
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= t.size()) {
        std::size_t slash = t.find('/', from);
        if (slash == std::string::npos) slash = t.size();
        const std::string part = t.substr(from, slash - from);
        if (part == "..") {
            if (parts.empty()) return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        from = slash + 1;
    }
    if (parts.empty()) return {};
    std::string out;
    for (const std::string& p : parts) out += "/" + p;
    return out;
}

}  // namespace pelorin
