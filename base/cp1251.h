#pragma once
// Windows-1251 <-> UTF-8. All texts in records and data files are Windows-1251
// bytes; conversion happens only at the edge of the user interface and in the
// tools that turn UTF-8 sources into data files.
//
// The byte 0x98 has no character in Windows-1251. It is mapped to the C1 control
// U+0098 and back, so that any byte string survives a round trip unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// Unicode code point of a Windows-1251 byte.
char32_t Cp1251ToCodePoint(unsigned char byte);

// Windows-1251 byte of a code point, or nothing when the code point has none.
std::optional<unsigned char> CodePointToCp1251(char32_t cp);

std::string Cp1251ToUtf8(std::string_view cp1251);

// Converts UTF-8 to Windows-1251. A character without a Windows-1251 code (or a
// malformed UTF-8 sequence) becomes '?'; when `firstBad` is given it receives the
// byte offset in the input of the first such character, or npos when none.
std::string Utf8ToCp1251(std::string_view utf8, std::size_t* firstBad = nullptr);

// Decodes one UTF-8 sequence at `pos`; advances `pos`. Returns U+FFFD for a
// malformed sequence (and advances by one byte).
char32_t DecodeUtf8(std::string_view s, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t cp);

// A value as a message quotes it (UTF-8): at most `maxChars` characters, and
// "…" after a text that was cut, so that a name of megabytes or a line of a
// damaged file never fills a message box or a terminal.
inline constexpr std::size_t kEchoChars = 60;
std::string EchoText(std::string_view utf8, std::size_t maxChars = kEchoChars);

}  // namespace pelorin
