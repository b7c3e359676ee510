#pragma once
// Preparing a database from its UTF-8 source: the text converted to Windows-1251
// with CR LF line ends, checked so that the program can use every entry.
#include <string>
#include <string_view>

#include "analysis/text_base.h"

namespace pelorin {

struct PackedText {
    std::string plain;  // Windows-1251, every line ended by CR LF; not yet scrambled
    int lines = 0;
    int entries = 0;
};

// Converts and checks one source. Throws Error naming `sourceName` and the line
// when the source has more than 1995 lines, a character without a Windows-1251
// code, a header field the program converts that is not a number, a weight
// outside 1..10 in magnitude, an entry without its end line (or with its end line
// where the never-copied line after the header belongs), or a text line that
// begins with "*" (it would be taken for a header). A leading byte-order mark is
// dropped.
PackedText PackTextSource(EntryKind kind, std::string_view utf8, const std::string& sourceName);

}  // namespace pelorin
