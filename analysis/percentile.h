#pragma once
// Where a pair's percentage stands among pairs in general: the spread of the
// percentage over a large set of random pairs, scored with the shipped
// databases, kept in the data directory as a small text table ("pairs.tbl",
// made by tools/score_distribution.cpp). One line per percentage 0..100 with the
// number of random pairs that reached it, once scored as if the woman's birth
// time were unknown (aspects only) and once as if known (aspects and houses):
//   # comment lines
//   # texts <fingerprint of the aspect and house databases>
//   <percent> <pairs, time unknown> <pairs, time known>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/text_base.h"

namespace pelorin {

inline constexpr const char* kPercentileFile = "pairs.tbl";

struct PercentileTable {
    std::array<std::int64_t, 101> unknownTime{};  // pairs per percentage, aspects only
    std::array<std::int64_t, 101> knownTime{};    // pairs per percentage, aspects and houses
    std::string textsFingerprint;                 // of the databases it was made from
};

// The table of `dataDir`; nothing when the file does not exist. A damaged file
// throws Error naming the file and the line.
std::optional<PercentileTable> LoadPercentileTable(const std::string& dataDir);

// The text of a table (for the tool), in the format above.
std::string PercentileTableText(const PercentileTable& table, const std::string& comment);

// The share, in whole per cent rounded down, of the random pairs whose
// percentage is lower than `percent` (the pair's percentage "выше, чем у N %
// пар"), for a woman whose birth time is known or not. Nothing when the table
// holds no pair or `percent` lies outside 0..100.
std::optional<int> PercentileOf(const PercentileTable& table, int percent, bool womanTimeKnown);

// A fingerprint (16 hex digits) of the keys and weights (the header lines) of
// the aspect and house databases, all that enters the score: a table made from
// other keys or weights is out of date.
std::string TextsFingerprint(const TextDatabases& texts);

}  // namespace pelorin
