#include "base/native_path.h"

#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

namespace pelorin {

#ifdef _WIN32

std::wstring WideText(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8Text(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

std::string WindowsErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (n > 0 && text) message = Utf8Text(std::wstring_view(text, n));
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    if (message.empty()) message = "ошибка " + std::to_string(code);
    return message;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int n = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
    std::vector<std::string> args;
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    for (int i = 0; i < n; ++i) args.push_back(Utf8Text(wide[i]));
    LocalFree(wide);
    return args;
}

std::string ExecutableDir(const std::string& argv0) {
    std::wstring name(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    std::error_code ec;
    const std::filesystem::path exe = n > 0 && n < name.size() ? std::filesystem::path(name.substr(0, n))
                                                               : std::filesystem::absolute(NativePath(argv0), ec);
    return PathText(exe.parent_path());
}

void UseBinaryStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(WideText(path).c_str(), WideText(mode).c_str());
}

std::filesystem::path NativePath(const std::string& path) { return std::filesystem::path(WideText(path)); }

std::string PathText(const std::filesystem::path& path) { return Utf8Text(path.native()); }

std::string EnvironmentText(const char* name) {
    const wchar_t* value = _wgetenv(WideText(name).c_str());
    return value ? Utf8Text(value) : std::string();
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

std::string ExecutableDir(const std::string& argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string();
}

void UseBinaryStandardStreams() {}

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::filesystem::path NativePath(const std::string& path) { return std::filesystem::path(path); }

std::string PathText(const std::filesystem::path& path) { return path.native(); }

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

#endif

}  // namespace pelorin
