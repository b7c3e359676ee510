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

// A fingerprint (16 hex digits) of the aspect and house databases from which
// the score comes, every line of them: a table made for other databases is not
// the spread of these ones.
std::string TextsFingerprint(const TextDatabases& texts);

// Where a pair's percentage stands, as the program shows it: the percentile
// from the table of `dataDir`, given only when the table was made for the
// databases in use (its fingerprint). Otherwise nothing, and `note` (UTF-8)
// says why when there is a reason to tell: a damaged table, or one made for
// other databases. No table, or no percentage, is nothing without a note.
struct PairPercentile {
    std::optional<int> percentile;
    std::string note;
};
PairPercentile PercentileForPair(const std::string& dataDir, const TextDatabases& texts,
                                 std::optional<std::int32_t> percent, bool womanTimeKnown);

}  // namespace pelorin
