#pragma once
// Reading the pages, pictures and style sheets of a compiled help file (.chm)
// through chmlib. The file comes from outside: every size is checked before
// anything is read.
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace pelorin {

class ChmFile {
public:
    // Objects larger than this are not read (no page or picture of a help file comes near it).
    static constexpr unsigned long long kMaxObjectSize = 16u << 20;

    // Opens the file; null when it is missing, unreadable or no help file.
    static std::unique_ptr<ChmFile> Open(const std::string& path);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // The object at an absolute path inside the file ("/10.html",
    // "/img/legend.png"); nullopt when there is none or it cannot be read.
    std::optional<std::string> Read(const std::string& objectPath) const;
    bool Contains(const std::string& objectPath) const;

    // The paths of the files stored in it (not its internal "/#…" and "/$…" objects).
    std::vector<std::string> Files() const;

private:
    explicit ChmFile(chmFile* handle) : handle_(handle) {}
    void CheckResetTable();
    bool ControlDataSound(unsigned long long blockLen) const;
    bool CompressedRangeSound(unsigned long long start, unsigned long long length) const;
    chmFile* handle_;
    // The compressed section's reset table, when it is sound (chmlib reads each
    // compressed block into a buffer of the table's block length plus 6144
    // bytes, whatever the table says the block's length is).
    bool compressionSound_ = false;
    unsigned long long blockLen_ = 0, blockCount_ = 0, uncompressedLen_ = 0;
};

// The object path of a topic as the program names it ("::40.html", "::/40.html",
// "40.html") or of a link resolved inside the file: a leading "/", no "::", no
// fragment, "." and ".." folded; empty when it leaves the file.
std::string ChmObjectPath(const std::string& topic);

}  // namespace pelorin
