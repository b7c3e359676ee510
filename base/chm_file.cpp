#include "base/chm_file.h"

#include <chm_lib.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace pelorin {

namespace {

constexpr long long kMaxFileSize = 64ll << 20;

std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint64_t U64(const std::string& b, std::size_t at) {
    return U32(b, at) | static_cast<std::uint64_t>(U32(b, at + 4)) << 32;
}

// A number of the directory: 7 bits a byte, high bit set on all bytes but the last.
bool ReadEncInt(const std::string& b, std::size_t& at, std::size_t end, std::uint64_t& value) {
    value = 0;
    for (int n = 0; n < 9; ++n) {
        if (at >= end) return false;
        const unsigned char c = static_cast<unsigned char>(b[at++]);
        value = value << 7 | (c & 0x7f);
        if (!(c & 0x80)) return true;
    }
    return false;
}

constexpr char kControlDataName[] = "::DataSpace/Storage/MSCompressed/ControlData";

// The LZX parameters as chmlib derives them from the control data: a window of
// 2^15 to 2^21 bytes (other sizes leave it without a decompressor, which it then
// uses), a reset interval of whole half windows and at least one block between
// resets (it divides by these). The window's bits, or 0 when they are unsound.
int LzxWindowBits(const std::string& c) {
    if (c.size() < 0x18 || c.compare(4, 4, "LZXC") != 0) return 0;
    const std::uint32_t version = U32(c, 8);
    std::uint32_t resetInterval = U32(c, 12), windowSize = U32(c, 16);
    const std::uint32_t windowsPerReset = U32(c, 20);
    if (version == 2) {
        resetInterval *= 0x8000u;
        windowSize *= 0x8000u;
    } else if (version != 1) {
        return 0;
    }
    if (windowSize < 2 || resetInterval == 0 || resetInterval % (windowSize / 2) != 0) return 0;
    int bits = 0;
    for (std::uint32_t w = windowSize; w >>= 1;) ++bits;
    if (bits < 15 || bits > 21) return 0;
    if (resetInterval / (windowSize / 2) * windowsPerReset == 0) return 0;
    return bits;
}

// chmlib trusts the directory of the file: a chain of listing blocks or a tree
// of index blocks that loops makes it read for ever, and a name longer than its
// buffer overruns it. The directory is checked here before chmlib sees the file:
// the listing chain ends, the index blocks form no cycle, and every name of
// every block fits.
bool DirectorySound(const std::string& b) {
    if (b.size() < 0x58 || b.compare(0, 4, "ITSF") != 0) return false;
    const std::uint32_t version = U32(b, 4);
    if (version != 2 && version != 3) return false;
    const std::uint64_t dirOffset = U64(b, 0x48);
    if (dirOffset > b.size() || b.size() - dirOffset < 0x54 || b.compare(dirOffset, 4, "ITSP") != 0) return false;
    const std::uint64_t headerLen = U32(b, dirOffset + 8);
    const std::uint64_t blockLen = U32(b, dirOffset + 16);
    const std::int32_t root = static_cast<std::int32_t>(U32(b, dirOffset + 28));
    const std::int32_t head = static_cast<std::int32_t>(U32(b, dirOffset + 32));
    // The count of blocks comes from the directory's length: the header's count
    // field is not written by every compiler (chmcmd leaves it at -1).
    const std::uint64_t dirLen = U64(b, 0x50);
    if (blockLen < 0x20 || blockLen > (1u << 20) || headerLen < 0x54 || dirLen < headerLen) return false;
    const std::uint64_t first = dirOffset + headerLen;
    const std::uint64_t blocks = (dirLen - headerLen) / blockLen;
    // Where the objects of the uncompressed section start, as chmlib takes it.
    const std::uint64_t dataOffset =
        version == 3 && b.size() >= 0x60 ? U64(b, 0x58) : dirOffset + dirLen;
    if (blocks == 0 || first > b.size() || (b.size() - first) / blockLen < blocks) return false;
    if (head < 0 || static_cast<std::uint64_t>(head) >= blocks) return false;
    if (root < -1 || (root >= 0 && static_cast<std::uint64_t>(root) >= blocks)) return false;

    // Children of each index block, and the names of every block.
    std::vector<std::vector<std::uint64_t>> children(blocks);
    for (std::uint64_t i = 0; i < blocks; ++i) {
        const std::size_t start = first + i * blockLen;
        const bool listing = b.compare(start, 4, "PMGL") == 0;
        const bool index = b.compare(start, 4, "PMGI") == 0;
        if (!listing && !index) continue;
        const std::uint32_t free = U32(b, start + 4);
        const std::size_t headLen = listing ? 20 : 8;
        if (free > blockLen - headLen) return false;
        const std::size_t end = start + blockLen - free;
        std::size_t at = start + headLen;
        while (at < end) {
            std::uint64_t nameLen = 0, number = 0;
            if (!ReadEncInt(b, at, end, nameLen) || nameLen > CHM_MAX_PATHLEN || nameLen > end - at) return false;
            const std::size_t nameStart = at;
            at += nameLen;
            if (index) {
                if (!ReadEncInt(b, at, end, number)) return false;
                children[i].push_back(number);
            } else {
                std::uint64_t entry[3];  // space, start, length
                for (std::uint64_t& n : entry)
                    if (!ReadEncInt(b, at, end, n)) return false;
                // chmlib knows sections 0 and 1 only and takes any other for the
                // compressed one, which it reads while opening before it has the
                // reset table: a division by zero.
                if (entry[0] > 1) return false;
                // chmlib reads the LZX control data while opening, and divides by
                // what it finds there: it must be sound before chmlib sees it.
                if (nameLen == sizeof kControlDataName - 1 &&
                    strncasecmp(b.data() + nameStart, kControlDataName, nameLen) == 0) {
                    const std::uint64_t from = dataOffset + entry[1];
                    if (entry[0] != 0 || dataOffset > b.size() || entry[1] > b.size() - dataOffset ||
                        entry[2] > b.size() - from || LzxWindowBits(b.substr(from, entry[2])) == 0)
                        return false;
                }
            }
        }
    }
    // The listing chain from its head ends within the number of blocks.
    std::int64_t page = head;
    for (std::uint64_t steps = 0; page != -1; ++steps) {
        if (page < 0 || static_cast<std::uint64_t>(page) >= blocks || steps >= blocks) return false;
        const std::size_t start = first + static_cast<std::uint64_t>(page) * blockLen;
        if (b.compare(start, 4, "PMGL") != 0) return false;
        page = static_cast<std::int32_t>(U32(b, start + 16));
    }
    // No index block reaches itself (depth-first search, colours 0 new, 1 open, 2 done).
    std::vector<char> colour(blocks, 0);
    std::vector<std::pair<std::uint64_t, std::size_t>> stack;
    for (std::uint64_t s = 0; s < blocks; ++s) {
        if (colour[s]) continue;
        stack.push_back({s, 0});
        colour[s] = 1;
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next == children[node].size()) {
                colour[node] = 2;
                stack.pop_back();
                continue;
            }
            const std::uint64_t child = children[node][next++];
            if (child >= blocks) continue;
            if (colour[child] == 1) return false;
            if (colour[child] == 0) {
                colour[child] = 1;
                stack.push_back({child, 0});
            }
        }
    }
    return true;
}

// A regular file of a sane size whose directory chmlib may walk.
bool LooksLikeChm(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0x60 || st.st_size > kMaxFileSize)
        return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    const bool read = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    std::fclose(f);
    return read && DirectorySound(bytes);
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
    std::unique_ptr<ChmFile> file(new ChmFile(h));
    file->CheckResetTable();
    return file;
}

void ChmFile::CheckResetTable() {
    static constexpr char kResetTable[] =
        "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    chmUnitInfo ui {};
    if (chm_resolve_object(handle_, kResetTable, &ui) != CHM_RESOLVE_SUCCESS || ui.space != CHM_UNCOMPRESSED ||
        ui.length < 0x28 || ui.length > kMaxObjectSize)
        return;
    std::string t(static_cast<std::size_t>(ui.length), '\0');
    if (chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(t.data()), 0,
                            static_cast<LONGINT64>(ui.length)) != static_cast<LONGINT64>(ui.length))
        return;
    const std::uint64_t count = U32(t, 4), offset = U32(t, 12);
    const std::uint64_t uncompressed = U64(t, 16), compressed = U64(t, 24), blockLen = U64(t, 32);
    if (count == 0 || blockLen == 0 || blockLen > (1u << 20) || offset > t.size() || (t.size() - offset) / 8 < count)
        return;
    if (uncompressed > count * blockLen) return;
    const std::uint64_t limit = blockLen + 6144;
    std::uint64_t previous = U64(t, offset);
    for (std::uint64_t i = 1; i <= count; ++i) {
        const std::uint64_t next = i < count ? U64(t, offset + 8 * i) : compressed;
        if (next < previous || next - previous > limit) return;
        previous = next;
    }
    if (!ControlDataSound(blockLen)) return;
    blockLen_ = blockLen;
    blockCount_ = count;
    uncompressedLen_ = uncompressed;
    compressionSound_ = true;
}

bool ChmFile::ControlDataSound(unsigned long long blockLen) const {
    chmUnitInfo ui {};
    if (chm_resolve_object(handle_, kControlDataName, &ui) != CHM_RESOLVE_SUCCESS || ui.space != CHM_UNCOMPRESSED ||
        ui.length < 0x18 || ui.length > 4096)
        return false;
    std::string c(static_cast<std::size_t>(ui.length), '\0');
    if (chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(c.data()), 0,
                            static_cast<LONGINT64>(ui.length)) != static_cast<LONGINT64>(ui.length))
        return false;
    const int bits = LzxWindowBits(c);
    return bits > 0 && blockLen <= (std::uint64_t{1} << bits);
}

bool ChmFile::CompressedRangeSound(unsigned long long start, unsigned long long length) const {
    return compressionSound_ && start <= uncompressedLen_ && length <= uncompressedLen_ - start;
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
    if (ui.space != CHM_UNCOMPRESSED && !CompressedRangeSound(ui.start, ui.length)) return std::nullopt;
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
