#include "graphics/ui/oboznach_form.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "graphics/ui/draw_grid.h"

namespace pelorin {
namespace {

QImage Render(DrawGrid& g) {
    QImage img(g.sizeHint(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    g.PaintGrid(p);
    return img;
}

// Pixels of the cell other than its background colour.
int InkIn(const QImage& img, const QRect& cell, const QColor& background) {
    int ink = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (img.pixelColor(x, y) != background) ++ink;
    return ink;
}

TEST(Legend, FormAndGridLayout) {
    TOboznachForm form;
    EXPECT_EQ(form.size(), QSize(684, 512));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("   Основные астрологические обозначения и символы"));
    DrawGrid* g = form.Grid();
    EXPECT_EQ(g->objectName(), QStringLiteral("DrawGrid5"));
    // The grid draws all its text itself: a screen reader has only its name.
    EXPECT_EQ(g->accessibleName(), QString::fromUtf8("Основные астрологические обозначения и символы"));
    EXPECT_EQ(g->ColumnCount(), 8);
    EXPECT_EQ(g->RowCount(), 13);
    const int widths[] = {30, 100, 60, 100, 60, 110, 60, 60};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(g->ColumnWidth(c), widths[c]);
    EXPECT_EQ(g->CellRect(0, 1).height(), 33);
    auto* exit = form.findChild<QWidget*>(QStringLiteral("BitBtn3"));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->geometry(), QRect(264, 5, 120, 30));
}

TEST(Legend, CellsPaintedFromTheTables) {
    TOboznachForm form;
    DrawGrid& g = *form.Grid();
    const QImage img = Render(g);
    auto bg = [](int c, int r) { return TOboznachForm::CellColour(c, r); };
    EXPECT_EQ(bg(0, 0), QColor(252, 228, 180));
    EXPECT_EQ(bg(4, 7), QColor(235, 254, 254));
    EXPECT_EQ(bg(6, 0), QColor(233, 247, 168));
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 13; ++r) {
            const QRect cell = g.CellRect(c, r);
            EXPECT_EQ(img.pixelColor(cell.right(), cell.bottom()), bg(c, r)) << c << "," << r;
            const bool filled = r == 0 || (c <= 2 && r <= 10) || (c <= 4 && c >= 3) || (c >= 5 && r <= 5);
            EXPECT_EQ(InkIn(img, cell, bg(c, r)) > 0, filled) << c << "," << r;
        }
    }
}

TEST(Legend, NarrowedColumnClipsAndActivationRestoresWidths) {
    TOboznachForm form;
    DrawGrid& g = *form.Grid();
    g.SetColumnWidth(1, 20);
    const QImage img = Render(g);
    // Nothing of "Меркурий" spills into the glyph column next to it.
    const QRect glyphCell = g.CellRect(2, 3);
    const QRect right = glyphCell.adjusted(0, 0, -glyphCell.width() + 8, 0);
    EXPECT_EQ(InkIn(img, right, TOboznachForm::CellColour(2, 3)), 0);
    form.FormActivate();
    EXPECT_EQ(g.ColumnWidth(1), 100);
}

}  // namespace
}  // namespace pelorin
