#pragma once
// Painting of the compatibility diagram of the page "Совместимость": the
// header picture (`Image3`, 803 x 63) and the list picture (`Image2`, 782 wide).
// The positions, colours and texts come from graphics/diagram.h; this layer
// only paints them, in font "Arial".
#include <QImage>
#include <QPainter>
#include <QSize>

#include "graphics/diagram.h"

namespace pelorin {

// Paints a list of diagram operations in order.
void PaintDiagramOps(QPainter& canvas, const DiagramOps& ops);

// The font of the diagram texts: "Arial" of `pointSize` at the pictures' 96 dpi.
QFont DiagramFont(int pointSize, bool bold);

// The header picture: column header and scale marks; in PairBarMode::Full also
// the pair's row with the man's texts, the percentage and the bar from the two
// totals (or "факторы не найдены" when both are 0). `picture` is the size of the
// surface `canvas` paints on.
void DrawPairBar(QPainter& canvas, const QSize& picture, PairBarMode mode, std::int32_t minusTotal,
                 std::int32_t plusTotal, const PairRowTexts& man, const PairBarExtras& extras = {});
void DrawPairBar(QImage& picture, PairBarMode mode, std::int32_t minusTotal, std::int32_t plusTotal,
                 const PairRowTexts& man);

// The list picture: white; in RankingMode::List also one row per man of
// `ranking` (RankedResults) up to its first unused entry, at most 99.
void DrawRanking(QPainter& canvas, const QSize& picture, const ScanTable& ranking, RankingMode mode);
// On an image: in list mode an image shorter than RankingPictureHeight(ranking)
// is first replaced by a white one of that height (same width and format), so
// that no row is cut off; the control showing it must take the new height.
void DrawRanking(QImage& picture, const ScanTable& ranking, RankingMode mode);

// One row of the list: entry i (1-based) of `ranking` at (x0, y).
void DrawRankingRow(QPainter& canvas, int x0, int y, const ScanTable& ranking, int i);

}  // namespace pelorin
