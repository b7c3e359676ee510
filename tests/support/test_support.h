#pragma once
// Helpers shared by the tests: scratch directories and running the batch tool.
#include <string>
#include <vector>

namespace pelorin::test {

// A fresh empty directory under the system's temporary directory, removed when
// the object goes out of scope. `path()` ends with '/'.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs pelorin-cli with the given argument string (already shell-quoted).
RunResult RunCli(const std::string& args);

// Runs it with a standard output that takes no byte (a full disk: /dev/full, or
// on Windows a handle without write access); `out` stays empty.
RunResult RunCliWithLostOutput(const std::string& args);

// The numbers of the flat list `"key": [...]` in the batch tool's JSON; empty
// where the key is missing or null.
std::vector<double> JsonNumbers(const std::string& json, const std::string& key);

// Shell-quotes one argument.
std::string Quote(const std::string& arg);

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);

// The data directory of the repository.
std::string SourceDataDir();

}  // namespace pelorin::test
