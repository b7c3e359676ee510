#pragma once
// A grid painted cell by cell by its owner: fixed row heights, column widths the
// user can drag in the header row, lines between all cells.
#include <QWidget>
#include <functional>
#include <vector>

namespace pelorin {

class DrawGrid : public QWidget {
    Q_OBJECT
public:
    using CellPainter = std::function<void(QPainter&, int column, int row, const QRect& cell)>;

    explicit DrawGrid(QWidget* parent = nullptr);

    void SetSize(int columns, int rows);
    void SetDefaultRowHeight(int height);
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    int ColumnCount() const { return static_cast<int>(widths_.size()); }
    int RowCount() const { return rows_; }
    void SetCellPainter(CellPainter painter) { painter_ = std::move(painter); update(); }

    // Rectangle of a cell, without the lines around it.
    QRect CellRect(int column, int row) const;

    // Paints the whole grid into `p` (what paintEvent shows).
    void PaintGrid(QPainter& p) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int BorderNear(int x) const;  // column whose right border is under x, or -1

    static constexpr int kLine = 1;
    std::vector<int> widths_;
    int rows_ = 0;
    int rowHeight_ = 24;
    CellPainter painter_;
    int dragColumn_ = -1;
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
};

}  // namespace pelorin
