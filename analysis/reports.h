#pragma once
// The two rich-text reports of a pair analysis, written in the data directory:
//   "Itogo.rtf"     the compatibility of the pair, with the matched texts and
//                   their points under the positive and the negative factors;
//   "Itogo_Men.rtf" the man's own horoscope from his signs and natal aspects.
// Each works in two stages: the matched texts are appended to two plain files
// ("Plus.txt"/"Minus.txt", "Plus_Men.txt"/"Minus_Men.txt"), then the rich-text
// frame is written with the two files copied into it line by line. Windows-1251,
// lines ended by CR LF. An error (of a lookup or of a file) stops the report
// where it is; the rich-text file is then left as it was.
#include <string>
#include <string_view>

#include "analysis/aspects.h"
#include "analysis/score.h"
#include "analysis/text_base.h"
#include "astro/chart_types.h"
#include "people/person_record.h"

namespace pelorin {

inline constexpr const char* kPlusFile = "Plus.txt";
inline constexpr const char* kMinusFile = "Minus.txt";
inline constexpr const char* kPairReportFile = "Itogo.rtf";
inline constexpr const char* kManPlusFile = "Plus_Men.txt";
inline constexpr const char* kManMinusFile = "Minus_Men.txt";
inline constexpr const char* kManReportFile = "Itogo_Men.rtf";

// What line 11 of the pair report says instead of a number when no entry of the
// databases matched, so that there is no percentage (UTF-8).
inline constexpr const char* kNoFactorsText = "не определена: факторы не найдены";

// `text` with the rich-text control characters '\', '{' and '}' escaped by a
// backslash; every other byte stays as it is.
std::string RtfEscape(std::string_view text);

// "\par    " and the person's Name (20 characters at most), Place (26), DateText
// and TimeText, each without its padding blanks and escaped for rich text, the
// fields apart by "\tab " (the identity paragraph sets the tab stops).
std::string IdentityLine(const PersonRecord& person);

// "   Знак Зодиака <sign>  (Солнце в <SignDeg + 1> градусе знака)" of the man's
// Sun, cut to 24 characters after the sign's name and to 36 after "  (Солнце в ".
std::string SignLine(const TChart& man);

// Name of sign 1..12 (Windows-1251), empty for other numbers.
std::string SignName(int sign);

// Class of a natal aspect in the databases: 0 for a conjunction, 120 for a
// sextile or a trine, 180 for a square or an opposition.
int NatalAspectClass(std::uint8_t angle);

// Venus is afflicted by a square or an opposition with Mars, Saturn, Uranus,
// Neptune or Pluto; Mars by one with Saturn, Uranus, Neptune or Pluto.
bool VenusAfflicted(const NatalAspectGrid& grid);
bool MarsAfflicted(const NatalAspectGrid& grid);

// The heading of the section on her bodies in his houses (UTF-8).
inline constexpr const char* kReverseSectionTitle = "Её планеты в его домах";

// Scores the pair with the writing lookups (the texts go to "Plus.txt" and
// "Minus.txt", both emptied first) and writes "Itogo.rtf". The house texts
// count only when the woman's birth time is known.
struct PairReportInput {
    const PersonRecord& woman;
    const PersonRecord& man;
    const AspectGrid& grid;
    const HouseOverlay& overlay;
    const TextBase& aspectTexts;
    const TextBase& houseTexts;
    std::string dataDir;
};

// Her bodies in his houses, for a man whose houses are known: `overlay` gives
// the house of his that each of her bodies stands in, `texts` their database.
// `bothHouses`: the woman has houses too, so the second figure is written.
// `missing` (UTF-8), when not empty, says why there is no database of them.
struct ReverseReportInput {
    const HouseOverlay& overlay;
    const TextBase& texts;
    bool bothHouses = false;
    std::string missing;
};

// With `reverse` her bodies in his houses are scored apart from the percentage
// (PairScore::Reverse) and written in their own section after the negative
// factors, each with its points and text; with `bothHouses` the second figure
// "с его домами: N %" follows the percentage. When the database is missing the
// section says so instead. Without `reverse` the report is the one a pair
// always had.
PairScore WritePairReport(const PairReportInput& input, const ReverseReportInput* reverse = nullptr);

// "   Асцендент: <sign> <d>°<m>’" and "   Середина неба: <sign> <d>°<m>’" of
// cusps 1 and 10 (Windows-1251): the sign and the degrees and minutes within it.
std::string AngleLine(const char* utf8Name, double longitude);

// Appends the man's sign and natal aspect texts to "Plus_Men.txt" and
// "Minus_Men.txt" (both emptied first) and writes "Itogo_Men.rtf". With his
// `cusps` (his houses known) his Ascendant and Midheaven follow the sign line.
struct ManReportInput {
    const PersonRecord& man;
    const TChart& chart;
    const NatalAspectGrid& natal;
    const TextBase& natalTexts;
    const TextBase& signTexts;
    std::string dataDir;
};
void WriteManReport(const ManReportInput& input, const TCusps* cusps = nullptr);

}  // namespace pelorin
