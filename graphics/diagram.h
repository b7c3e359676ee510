#pragma once
// The compatibility diagram of the page "Совместимость", apart from any canvas:
// the header picture (column header, scale marks and the bar of the pair just
// analysed) and the list picture (one bar per man of a scan, in ranking order).
// Both are computed as a list of drawing operations in pixels that the Qt layer
// (graphics/ui/diagram.h) paints one by one, in order.
//
// Rectangles follow the canvas convention of the pictures: from (left, top) to
// (right, bottom) with the right column and the bottom row excluded. Lines are
// 1 pixel wide and leave out their end point.
#include "graphics/rgb.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/pair_analysis.h"
#include "people/person_record.h"

namespace pelorin {


inline constexpr Rgb kDiagramWhite{255, 255, 255};
inline constexpr Rgb kDiagramBlack{0, 0, 0};
inline constexpr Rgb kBarFilled{111, 129, 230};       // filled part of a bar
inline constexpr Rgb kBarRest{192, 192, 192};         // unfilled rest
inline constexpr Rgb kPercentBlue{0, 0, 255};         // percentage text, header title
inline constexpr Rgb kDiagramGrey{128, 128, 128};     // row frames, header band marks
inline constexpr Rgb kPairRowBackground{255, 224, 193};
inline constexpr Rgb kOddRowBackground{220, 250, 218};
inline constexpr Rgb kEvenRowBackground{252, 249, 214};
inline constexpr Rgb kListMark{238, 238, 238};        // band marks of the list rows

// Sizes of the two pictures as the page lays them out.
inline constexpr int kPairBarWidth = 803;
inline constexpr int kPairBarHeight = 63;
inline constexpr int kRankingWidth = 782;
inline constexpr int kRankingHeight = 1500;

// Shown instead of a percentage and a bar when no database entry matched
// (both totals 0), which leaves the percentage undefined.
inline constexpr const char* kNoFactorsText = "факторы не найдены";

// Pixel height of a font of `pointSize` points on the 96 dpi screen the
// pictures are laid out for (the character height, leading excluded).
int DiagramFontPixels(int pointSize);

struct DiagramRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const DiagramRect&) const = default;
};

struct DiagramOp {
    enum class Kind {
        Fill,   // rect filled with colour
        Frame,  // 1-pixel border along the inside of rect, in colour
        Line,   // from (rect.left, rect.top) to (rect.right, rect.bottom), end left out
        Text,   // text with its top-left corner at (rect.left, rect.top)
    };
    Kind kind = Kind::Fill;
    DiagramRect rect;
    Rgb colour;
    // Text only: UTF-8, font "Arial" of pointSize, on an opaque box of
    // `background` (the canvas brush at the time of writing).
    std::string text;
    int pointSize = 0;
    bool bold = false;
    Rgb background = kDiagramWhite;
    // The room of the text's column in pixels: a wider text is cut and ends in
    // "…", so that it never runs into the next column; 0: no limit.
    int maxWidth = 0;
};

using DiagramOps = std::vector<DiagramOp>;

// ---- Bars ----------------------------------------------------------------

// The percentage the bar of two totals shows: round(100 P / (P + |M|)), halves
// to even, or nothing when both totals are 0.
std::optional<int> DiagramPercent(std::int32_t plusTotal, std::int32_t minusTotal);

struct BarLengths {
    int filled = 0;  // blue part, pixels
    int rest = 0;    // grey rest, pixels
};

// Header bar: 200 pixels for 30 % to 90 %, 3 pixels taken off the blue part;
// above 90 % all 205 pixels are blue.
BarLengths PairBarLengths(int percent);
// List bar: the same without the 3 pixels; above 90 % 205 blue pixels.
BarLengths RankingBarLengths(int percent);

// ---- Header picture --------------------------------------------------------

enum class PairBarMode {
    ScaleOnly,  // column header and scale marks only (the totals are not read)
    Full,       // with the pair's row and bar
};

// The man's texts of the pair row (Windows-1251), as a scan entry holds them.
struct PairRowTexts {
    std::string Name;
    std::string Place;  // 25 characters at most
    std::string Date;
};
PairRowTexts PairRowTextsOf(const PersonRecord& man);

// What the header picture adds beyond its row: the column headers of a ranking
// of women ("Имя женщины", "Родилась"), and beside the percentage of the pair
// where it stands among pairs in general ("выше, чем у N % пар").
// The second figure "с его домами: N %" (both have houses) stands under it.
struct PairBarExtras {
    bool women = false;
    std::optional<int> percentile;
    std::optional<int> percentWithHisHouses;
};

// "выше, чем у N % пар".
std::string PercentileText(int percentile);

// Everything drawn on the header picture of `width` x `height` pixels.
DiagramOps PairBarOps(PairBarMode mode, std::int32_t minusTotal, std::int32_t plusTotal, const PairRowTexts& man,
                      int width = kPairBarWidth, int height = kPairBarHeight, const PairBarExtras& extras = {});

// ---- Factors of the percentage ---------------------------------------------

// One factor as the list under the bar shows it (UTF-8): the signed weight and
// the fact, "+3  Венера мужчины – тригон – Солнце женщины" or
// "-2  Сатурн мужчины в 7-м доме женщины".
std::string FactorLabel(const ScoreFactor& factor);

// ---- List picture ----------------------------------------------------------

enum class RankingMode {
    Clear,  // a white picture
    List,   // the rows of the ranking
};

// Rows the list shows: entries 1, 2, ... up to the first unused entry (a name
// of a single blank), at most 99.
int RankingRowCount(const ScanTable& ranking);

// Top of row i (1-based) and its height: rows are 24 pixels high and 23 apart,
// so neighbouring frames share a line.
inline constexpr int kRankingX0 = 5;
inline constexpr int kRankingRowPitch = 23;
inline constexpr int kRankingRowHeight = 24;
int RankingRowTop(int i);

// Height the list picture needs for the rows of `ranking`: the page's 1500
// pixels, or more when the rows (99 men reach 2283) would run past them, with
// the top margin repeated under the last row.
int RankingPictureHeight(const ScanTable& ranking);

// One row, entry i (1-based) of the ranking, at (x0, y); where the entry has
// the second figure, "с его домами: N %" right of the row.
DiagramOps RankingRowOps(int x0, int y, const ScanEntry& entry, int i);

// Everything drawn on the list picture of `width` x `height` pixels.
DiagramOps RankingOps(RankingMode mode, const ScanTable& ranking, int width = kRankingWidth,
                      int height = kRankingHeight);

}  // namespace pelorin
