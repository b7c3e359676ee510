#pragma once
// Whole-file reading and writing. Every rewrite goes through a temporary file in
// the same directory and an atomic rename: a failure leaves the old file untouched.
#include <string>
#include <string_view>

namespace pelorin {

// The whole file; throws Error naming the file when it cannot be read.
std::string ReadWholeFile(const std::string& fileName);

// True when the file exists (and can be opened for reading).
bool FileReadable(const std::string& fileName);

// Replaces the file with `content`. Throws Error naming the file on failure (also
// when the file exists and is read-only); the old content then stays as it was.
void WriteFileAtomic(const std::string& fileName, std::string_view content);

// Appends to an existing file or creates it. Throws Error naming the file.
void AppendToFile(const std::string& fileName, std::string_view content);

// Joins a directory text and a file name as the configuration writes them: the
// directory carries its trailing separator and the name is appended unchanged. On
// systems whose separator is '/', every '\' becomes '/' and doubled separators
// collapse, so "\sng.wdt" appended to a data directory still names the file.
std::string JoinPath(std::string_view dir, std::string_view name);

// Text of the last system error (errno), for messages.
std::string SystemErrorText();

}  // namespace pelorin
