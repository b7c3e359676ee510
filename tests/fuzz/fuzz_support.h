// Helpers shared by the libFuzzer entries (not part of the test suite).
#pragma once
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace pelorin::fuzz {

// A file name of its own per fuzzing process, in the temporary directory.
inline std::string ScratchFile(const char* stem) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/pelorin-fuzz-" + stem + "-" + std::to_string(::getpid());
}

inline void WriteBytes(const std::string& file, std::string_view bytes) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    if (std::fclose(f) != 0) std::abort();
}

inline std::string ReadBytes(const std::string& file) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) std::abort();
    std::string out;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
    std::fclose(f);
    return out;
}

// Fails the run with a message naming the broken property.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

inline void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

}  // namespace pelorin::fuzz
