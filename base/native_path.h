#pragma once
// Paths and environment texts as the system has them. Inside the program a path
// is a byte string: on Windows it is UTF-8 and reaches the system as UTF-16
// through the wide API (never through the ANSI code page), elsewhere it is the
// bytes the system gave, passed on unchanged.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// fopen of a path; nullptr with errno set on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);

// The path for std::filesystem, and a filesystem path back as the program's text.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

// The value of an environment variable, empty when it is not set.
std::string EnvironmentText(const char* name);

// The program's arguments as UTF-8 on Windows (from the wide command line; argv
// holds them in the ANSI code page, which cannot spell every name), as given
// elsewhere. Element 0 is the program.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The directory of the running program (from the system; `argv0` when the
// system cannot say), without a trailing separator.
std::string ExecutableDir(const std::string& argv0);

// Standard output and error carry the same bytes on every system: no CR added
// before LF on Windows, and a console there shows them as UTF-8.
void UseBinaryStandardStreams();

// The separator the system prefers in the paths the program makes itself.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

#ifdef _WIN32
// UTF-8 <-> UTF-16. A malformed UTF-8 sequence becomes U+FFFD.
std::wstring WideText(std::string_view utf8);
std::string Utf8Text(std::wstring_view wide);
// The message of a Windows error code (GetLastError), in UTF-8.
std::string WindowsErrorText(unsigned long code);
#endif

}  // namespace pelorin
