#pragma once
// The legend of symbols: the ten planets, the twelve signs and the five aspects
// with their names and glyphs, in the owner-drawn grid DrawGrid5.
#include <QDialog>
#include <memory>

class QPainter;
class QRect;

namespace Ui {
class TOboznachForm;
}

namespace pelorin {

class DrawGrid;

class TOboznachForm : public QDialog {
    Q_OBJECT
public:
    explicit TOboznachForm(QWidget* parent = nullptr);
    ~TOboznachForm() override;

    DrawGrid* Grid() const;

    // Paints cell (column, row) of the legend's grid.
    static void DrawGrid5DrawCell(QPainter& p, int column, int row, const QRect& cell);
    // Background colour of a cell of the legend's grid.
    static QColor CellColour(int column, int row);

    void FormActivate();

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Ui::TOboznachForm> ui;
};

}  // namespace pelorin
