#include "graphics/ui/diagram.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

namespace pelorin {

namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QRect ToQRect(const DiagramRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

void PaintOp(QPainter& canvas, const DiagramOp& op) {
    const QColor colour = ToQColor(op.colour);
    const DiagramRect& r = op.rect;
    switch (op.kind) {
        case DiagramOp::Kind::Fill:
            if (r.width() > 0 && r.height() > 0) canvas.fillRect(ToQRect(r), colour);
            break;
        case DiagramOp::Kind::Frame:
            if (r.width() <= 0 || r.height() <= 0) break;
            canvas.fillRect(QRect(r.left, r.top, r.width(), 1), colour);
            canvas.fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), colour);
            canvas.fillRect(QRect(r.left, r.top, 1, r.height()), colour);
            canvas.fillRect(QRect(r.right - 1, r.top, 1, r.height()), colour);
            break;
        case DiagramOp::Kind::Line:
            // The diagram's lines are upright or level; the end point is left out.
            if (r.left == r.right && r.bottom != r.top)
                canvas.fillRect(QRect(r.left, std::min(r.top, r.bottom + 1), 1, std::abs(r.bottom - r.top)), colour);
            else if (r.top == r.bottom && r.right != r.left)
                canvas.fillRect(QRect(std::min(r.left, r.right + 1), r.top, std::abs(r.right - r.left), 1), colour);
            break;
        case DiagramOp::Kind::Text: {
            const QFont font = DiagramFont(op.pointSize, op.bold);
            const QFontMetrics metrics(font, canvas.device());
            QString text = QString::fromUtf8(op.text);
            // A text wider than its column is cut and ends in "…".
            if (op.maxWidth > 0 && metrics.horizontalAdvance(text) > op.maxWidth)
                text = metrics.elidedText(text.trimmed(), Qt::ElideRight, op.maxWidth);
            // The canvas writes text on an opaque box of its brush colour.
            canvas.fillRect(QRect(r.left, r.top, metrics.horizontalAdvance(text), metrics.height()),
                            ToQColor(op.background));
            canvas.setFont(font);
            canvas.setPen(colour);
            canvas.drawText(QPoint(r.left, r.top + metrics.ascent()), text);
            break;
        }
    }
}

}  // namespace

QFont DiagramFont(int pointSize, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(DiagramFontPixels(pointSize));
    f.setBold(bold);
    return f;
}

void PaintDiagramOps(QPainter& canvas, const DiagramOps& ops) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    for (const DiagramOp& op : ops) PaintOp(canvas, op);
    canvas.restore();
}

void DrawPairBar(QPainter& canvas, const QSize& picture, PairBarMode mode, std::int32_t minusTotal,
                 std::int32_t plusTotal, const PairRowTexts& man, const PairBarExtras& extras) {
    PaintDiagramOps(canvas, PairBarOps(mode, minusTotal, plusTotal, man, picture.width(), picture.height(), extras));
}

void DrawPairBar(QImage& picture, PairBarMode mode, std::int32_t minusTotal, std::int32_t plusTotal,
                 const PairRowTexts& man) {
    if (picture.isNull()) return;
    QPainter canvas(&picture);
    DrawPairBar(canvas, picture.size(), mode, minusTotal, plusTotal, man);
}

void DrawRanking(QPainter& canvas, const QSize& picture, const ScanTable& ranking, RankingMode mode) {
    PaintDiagramOps(canvas, RankingOps(mode, ranking, picture.width(), picture.height()));
}

void DrawRanking(QImage& picture, const ScanTable& ranking, RankingMode mode) {
    if (mode == RankingMode::List) {
        const int needed = RankingPictureHeight(ranking);
        if (picture.height() < needed) {
            const int width = picture.isNull() ? kRankingWidth : picture.width();
            const QImage::Format format = picture.isNull() ? QImage::Format_RGB32 : picture.format();
            picture = QImage(width, needed, format);
        }
    }
    if (picture.isNull()) return;
    QPainter canvas(&picture);
    DrawRanking(canvas, picture.size(), ranking, mode);
}

void DrawRankingRow(QPainter& canvas, int x0, int y, const ScanTable& ranking, int i) {
    if (i < 1 || i > kScanEntries) return;
    PaintDiagramOps(canvas, RankingRowOps(x0, y, ranking[static_cast<std::size_t>(i - 1)], i));
}

}  // namespace pelorin
