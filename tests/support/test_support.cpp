#include "support/test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "base/native_path.h"

namespace pelorin::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path p = fs::temp_directory_path() / ("pelorin-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = PathText(p) + "/";
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch directory");
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::permissions(NativePath(path_), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(NativePath(path_), ec);
}

#ifdef _WIN32

// Quoted as the C run-time splits a command line: backslashes are literal except
// before a double quote.
std::string Quote(const std::string& arg) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}

#else

std::string Quote(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

#endif

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

#ifdef _WIN32

namespace {

HANDLE OpenForChild(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(WideText(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

RunResult Run(const std::string& args, bool loseOutput) {
    ScratchDir tmp;
    const std::string outFile = tmp.file("out"), errFile = tmp.file("err");
    std::wstring commandLine = WideText(Quote(PELORIN_CLI_PATH) + " " + args);
    HANDLE out = OpenForChild(outFile), err = OpenForChild(errFile);
    if (loseOutput) {
        // Writes to a handle opened for reading only fail, as on a full disk.
        CloseHandle(out);
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        out = CreateFileW(WideText(outFile).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                            nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    RunResult r;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                       &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        r.exitCode = static_cast<int>(code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    r.out = ReadFile(outFile);
    r.err = ReadFile(errFile);
    return r;
}

}  // namespace

#else

namespace {

RunResult Run(const std::string& args, bool loseOutput) {
    ScratchDir tmp;
    const std::string outFile = tmp.file("out"), errFile = tmp.file("err");
    const std::string cmd = Quote(PELORIN_CLI_PATH) + " " + args + " >" + (loseOutput ? "/dev/full" : Quote(outFile)) +
                            " 2>" + Quote(errFile);
    if (loseOutput) WriteFile(outFile, "");
    int status = std::system(cmd.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(outFile);
    r.err = ReadFile(errFile);
    return r;
}

}  // namespace

#endif

RunResult RunCli(const std::string& args) { return Run(args, false); }

RunResult RunCliWithLostOutput(const std::string& args) { return Run(args, true); }

std::string SourceDataDir() { return std::string(PELORIN_SOURCE_DIR) + "/data/"; }

std::vector<double> JsonNumbers(const std::string& json, const std::string& key) {
    std::smatch m;
    std::vector<double> out;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": \\[([^\\[\\]]*)\\]"))) return out;
    const std::string list = m[1];
    const std::regex number(R"(-?[0-9.eE+-]+)");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), number); it != std::sregex_iterator(); ++it)
        out.push_back(std::stod((*it)[0]));
    return out;
}

}  // namespace pelorin::test
