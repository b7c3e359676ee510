#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "graphics/ui/draw_printer.h"
#include "graphics/ui/draw_screen.h"
#include "graphics/glyph_tables.h"
#include "ui/symbol_font.h"

namespace pelorin {
namespace {

QImage Filled(const QColor& c, int w = 200, int h = 200) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QRect InkBox(const QImage& img, QRgb background) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(ScreenDrawing, AndModeLeavesTheCanvasUnderTheWhite) {
    QImage img = Filled(QColor(255, 0, 0));
    {
        QPainter p(&img);
        DrawTextCentred(100, 100, SymbolText(0x4C), 1, p, SymbolFont(20));
    }
    // No white box: every pixel is red or darker than red.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            ASSERT_EQ(c.green(), 0) << x << "," << y;
            ASSERT_EQ(c.blue(), 0) << x << "," << y;
        }
    EXPECT_FALSE(InkBox(img, qRgb(255, 0, 0)).isEmpty());
}

TEST(ScreenDrawing, CopyModePaintsTheWhiteBox) {
    QImage img = Filled(QColor(255, 0, 0));
    {
        QPainter p(&img);
        DrawTextCentred(100, 100, SymbolText(0x4C), 2, p, SymbolFont(20));
    }
    EXPECT_EQ(img.pixel(100 - 6, 100 - 6) == qRgb(255, 0, 0), false);
    const QRect box = InkBox(img, qRgb(255, 0, 0));
    // The box is centred on (100, 100).
    EXPECT_LE(std::abs(box.center().x() - 100), 1);
    EXPECT_LE(std::abs(box.center().y() - 100), 1);
}

TEST(ScreenDrawing, PolarTextRightBelowAndLeft) {
    const QRgb white = qRgb(255, 255, 255);
    const std::pair<double, QPoint> cases[] = {{0, {160, 100}}, {90, {100, 160}}, {180, {40, 100}}};
    for (const auto& [angle, where] : cases) {
        QImage img = Filled(Qt::white);
        {
            QPainter p(&img);
            DrawTextPolar(100, 100, 60, 1, p, SymbolFont(14), SymbolText(0x40), angle);
        }
        const QRect box = InkBox(img, white);
        EXPECT_TRUE(box.adjusted(-3, -3, 3, 3).contains(where)) << angle;
        EXPECT_FALSE(box.contains(QPoint(100, 100))) << angle;
    }
}

TEST(ScreenDrawing, SegmentAndDot) {
    QImage img = Filled(Qt::white);
    {
        QPainter p(&img);
        DrawRadialSegment(100, 100, 10, 0, 80, 0, 1, Qt::black, Qt::SolidLine, p);
        p.setPen(Qt::NoPen);
        DrawDotPolar(100, 100, 50, 90, 5, Qt::blue, p);
    }
    EXPECT_EQ(img.pixel(150, 100), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(95, 100), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(100, 150), qRgb(0, 0, 255));
}

TEST(PrinterDrawing, ScaleFromAPdfPage) {
    QPdfWriter pdf(QStringLiteral("/dev/null"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(300);
    QPainter painter(&pdf);
    PrinterCanvas canvas{painter, {}};
    const PageMeasure m = MeasurePrinterPage(pdf, canvas);
    EXPECT_NEAR(m.widthCm, 21.0, 0.1);
    EXPECT_NEAR(m.heightCm, 29.7, 0.1);
    EXPECT_NEAR(canvas.scale.XScale, 300 / 2.54, 2);
    EXPECT_NEAR(canvas.scale.YScale, 300 / 2.54, 2);
}

TEST(PrinterDrawing, CirclesAndPolarPlacementOnAPage) {
    QImage page = Filled(Qt::white, 400, 400);
    QPainter painter(&page);
    painter.setPen(Qt::NoPen);
    PrinterCanvas c{painter, {20, 20}};  // 20 pixels per cm
    PrintCircleAt(c, Qt::black, Qt::SolidPattern, 5, 5, 0);     // r = 0: nothing
    PrintCircleAt(c, Qt::black, Qt::SolidPattern, -1, 5, 2);    // negative centre: nothing
    PrintDotPolar(c, Qt::black, Qt::SolidPattern, 10, 10, 0, 0, 1);
    EXPECT_TRUE(InkBox(page, qRgb(255, 255, 255)).isEmpty());
    // Chart angle 0 lies left of the centre, 90 below it.
    PrintDotPolar(c, Qt::red, Qt::SolidPattern, 10, 10, 5, 0, 0.5);
    PrintDotPolar(c, Qt::blue, Qt::SolidPattern, 10, 10, 5, 90, 0.5);
    painter.end();
    EXPECT_EQ(page.pixel(100, 200), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(200, 300), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(300, 200), qRgb(255, 255, 255));
}

TEST(PrinterDrawing, SolidBrushPaintsTheTextBackground) {
    QImage page = Filled(Qt::white, 400, 200);
    QPainter painter(&page);
    PrinterCanvas c{painter, {20, 20}};
    PrintTextAt(c, QStringLiteral("Тест"), QStringLiteral("Arial"), 12, 1, 1, FontBold, Qt::black, Qt::yellow,
                Qt::SolidPattern);
    PrintTextAt(c, QStringLiteral("Тест"), QStringLiteral("Arial"), 12, 10, 1, FontRegular, Qt::black,
                Qt::yellow, Qt::NoBrush);
    painter.end();
    EXPECT_EQ(page.pixel(21, 21), qRgb(255, 255, 0));   // top-left corner of the first text box
    EXPECT_EQ(page.pixel(201, 21), qRgb(255, 255, 255));
}

TEST(PrinterDrawing, SolidBrushBehindASymbolCoversItsInkNotItsLineBox) {
    QImage page = Filled(Qt::black, 400, 200);
    QPainter painter(&page);
    PrinterCanvas c{painter, {20, 20}};
    InstallSymbolFont();
    PrintTextAt(c, SymbolString(std::string(1, 'U')), QString::fromLatin1(kSymbolFontFamily), 12, 1, 1, FontBold,
                Qt::black, Qt::white, Qt::SolidPattern);
    painter.end();
    EXPECT_EQ(page.pixel(21, 21), qRgb(0, 0, 0));  // the line box's corner stays as it was
    EXPECT_FALSE(InkBox(page, qRgb(0, 0, 0)).isEmpty());
}

}  // namespace
}  // namespace pelorin
