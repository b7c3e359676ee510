#include "graphics/ui/draw_grid.h"

#include <QMouseEvent>
#include <QPainter>

namespace pelorin {

DrawGrid::DrawGrid(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void DrawGrid::SetSize(int columns, int rows) {
    widths_.assign(static_cast<std::size_t>(std::max(columns, 0)), 64);
    rows_ = std::max(rows, 0);
    updateGeometry();
    update();
}

void DrawGrid::SetDefaultRowHeight(int height) {
    rowHeight_ = std::max(height, 1);
    updateGeometry();
    update();
}

void DrawGrid::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= ColumnCount()) return;
    widths_[static_cast<std::size_t>(column)] = std::max(width, 0);
    updateGeometry();
    update();
}

int DrawGrid::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount()) return 0;
    return widths_[static_cast<std::size_t>(column)];
}

QRect DrawGrid::CellRect(int column, int row) const {
    int x = 0;
    for (int c = 0; c < column && c < ColumnCount(); ++c) x += ColumnWidth(c) + kLine;
    return QRect(x, row * (rowHeight_ + kLine), ColumnWidth(column), rowHeight_);
}

QSize DrawGrid::sizeHint() const {
    int w = 0;
    for (int c = 0; c < ColumnCount(); ++c) w += ColumnWidth(c) + kLine;
    return QSize(w, rows_ * (rowHeight_ + kLine));
}

void DrawGrid::PaintGrid(QPainter& p) const {
    const QSize all = sizeHint();
    p.fillRect(QRect(QPoint(0, 0), all), Qt::white);
    p.setPen(QColor(160, 160, 160));
    for (int r = 0; r < rows_; ++r) {
        const int y = r * (rowHeight_ + kLine) + rowHeight_;
        p.drawLine(0, y, all.width() - 1, y);
    }
    int x = 0;
    for (int c = 0; c < ColumnCount(); ++c) {
        x += ColumnWidth(c);
        p.drawLine(x, 0, x, all.height() - 1);
        x += kLine;
    }
    if (!painter_) return;
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < ColumnCount(); ++c) {
            const QRect cell = CellRect(c, r);
            if (cell.width() <= 0) continue;
            p.save();
            p.setClipRect(cell);  // a narrowed column clips what is painted in it
            painter_(p, c, r, cell);
            p.restore();
        }
    }
}

void DrawGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintGrid(p);
}

int DrawGrid::BorderNear(int x) const {
    int right = 0;
    for (int c = 0; c < ColumnCount(); ++c) {
        right += ColumnWidth(c);
        if (std::abs(x - right) <= 2) return c;
        right += kLine;
    }
    return -1;
}

void DrawGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::LeftButton && pos.y() < rowHeight_) {
        dragColumn_ = BorderNear(pos.x());
        dragStartX_ = pos.x();
        dragStartWidth_ = ColumnWidth(dragColumn_);
    }
}

void DrawGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (dragColumn_ >= 0) {
        SetColumnWidth(dragColumn_, dragStartWidth_ + pos.x() - dragStartX_);
        resize(sizeHint());
        return;
    }
    setCursor(pos.y() < rowHeight_ && BorderNear(pos.x()) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void DrawGrid::mouseReleaseEvent(QMouseEvent*) { dragColumn_ = -1; }

}  // namespace pelorin
