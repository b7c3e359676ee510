#include "graphics/ui/draw_printer.h"

#include <QFontMetrics>
#include <algorithm>

#include "graphics/glyph_tables.h"

namespace pelorin {

namespace {

void SetBrushAndFont(PrinterCanvas& c, const QColor& brushColour, Qt::BrushStyle brushStyle,
                     const QString& fontName, double fontSize, int fontStyle, const QColor& fontColour) {
    c.painter.setBrush(QBrush(brushColour, brushStyle));
    QFont font(fontName);
    font.setPointSizeF(fontSize > 0 ? fontSize : 1);
    font.setBold(fontStyle & FontBold);
    font.setItalic(fontStyle & FontItalic);
    font.setUnderline(fontStyle & FontUnderline);
    c.painter.setFont(font);
    c.painter.setPen(fontColour);
}

// A solid brush paints the text's background. Behind a symbol it covers only the
// symbol's ink and a thin rim: the symbol font's line box is far taller than its
// glyphs and would cut the lines and the band around a glyph of the wheel and
// the border under the table's last row.
void WriteTextAtPixels(PrinterCanvas& c, int x, int y, const QString& text, bool symbols) {
    const QFontMetrics fm(c.painter.font(), c.painter.device());
    const QRect box(x, y, fm.horizontalAdvance(text), fm.height());
    const QBrush brush = c.painter.brush();
    if (brush.style() != Qt::NoBrush) {
        if (symbols) {
            const int rim = std::max(1, fm.height() / 16);
            const QRect ink = fm.tightBoundingRect(text).translated(x, y + fm.ascent());
            if (!ink.isEmpty()) c.painter.fillRect(ink.adjusted(-rim, -rim, rim, rim), brush);
        } else {
            c.painter.fillRect(box, brush);
        }
    }
    c.painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

PageMeasure MeasurePrinterPage(const QPaintDevice& device, PrinterCanvas& canvas) {
    const PageMeasure m = MeasurePage(device.width(), device.height(), device.widthMM(), device.heightMM());
    canvas.scale = m.scale;
    return m;
}

void PrintTextAt(PrinterCanvas& c, const QString& text, const QString& fontName, double fontSize, double x,
                 double y, int fontStyle, const QColor& fontColour, const QColor& brushColour,
                 Qt::BrushStyle brushStyle, double maxWidthCm) {
    SetBrushAndFont(c, brushColour, brushStyle, fontName, fontSize, fontStyle, fontColour);
    const PixelPoint p = PageToPixels(x, y, c.scale);
    QString shown = text;
    if (maxWidthCm > 0) {
        const QFontMetrics fm(c.painter.font(), c.painter.device());
        const int room = static_cast<int>(maxWidthCm * c.scale.XScale);
        if (fm.horizontalAdvance(text) > room) shown = fm.elidedText(text.trimmed(), Qt::ElideRight, room);
    }
    WriteTextAtPixels(c, p.x, p.y, shown, fontName == QLatin1String(kSymbolFontFamily));
}

void PrintLineAt(PrinterCanvas& c, int penWidth, const QColor& penColour, Qt::PenStyle penStyle, double x1,
                 double y1, double x2, double y2) {
    QPen pen(penColour);
    pen.setStyle(penStyle);
    pen.setWidth(penWidth);
    c.painter.setPen(pen);
    const PixelPoint a = PageToPixels(x1, y1, c.scale);
    const PixelPoint b = PageToPixels(x2, y2, c.scale);
    c.painter.drawLine(a.x, a.y, b.x, b.y);
}

void PrintRadialSegment(PrinterCanvas& c, int penWidth, const QColor& penColour, Qt::PenStyle penStyle,
                        double cx, double cy, double r1, double angle1, double r2, double angle2) {
    const PagePoint a = ChartPolarPoint(cx, cy, r1, angle1);
    const PagePoint b = ChartPolarPoint(cx, cy, r2, angle2);
    PrintLineAt(c, penWidth, penColour, penStyle, a.x, a.y, b.x, b.y);
}

void PrintRectangleAt(PrinterCanvas& c, double x1, double y1, double x2, double y2) {
    const PixelPoint a = PageToPixels(x1, y1, c.scale);
    const PixelPoint b = PageToPixels(x2, y2, c.scale);
    c.painter.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)).normalized());
}

void PrintCircleAt(PrinterCanvas& c, const QColor& brushColour, Qt::BrushStyle brushStyle, double cx,
                   double cy, double r) {
    c.painter.setBrush(QBrush(brushColour, brushStyle));
    if (!PrinterCircleDrawable(cx, cy, r)) return;
    const PixelBox b = PrinterCircleBox(cx, cy, r, c.scale);
    c.painter.drawEllipse(QRect(b.left, b.top, b.right - b.left, b.bottom - b.top));
}

void PrintDotPolar(PrinterCanvas& c, const QColor& brushColour, Qt::BrushStyle brushStyle, double cx,
                   double cy, double r, double angle, double d) {
    if (!PrinterCircleDrawable(cx, cy, r)) return;
    const PagePoint p = ChartPolarPoint(cx, cy, r, angle);
    PrintCircleAt(c, brushColour, brushStyle, p.x, p.y, d);
}

void PrintTextPolar(PrinterCanvas& c, const QString& text, const QString& fontName, double fontSize,
                    Qt::BrushStyle brushStyle, const QColor& brushColour, const QColor& fontColour,
                    int fontStyle, double cx, double cy, double r, double angle) {
    SetBrushAndFont(c, brushColour, brushStyle, fontName, fontSize, fontStyle, fontColour);
    const PagePoint p = ChartPolarPoint(cx, cy, r, angle);
    const PixelPoint px = PageToPixels(p.x, p.y, c.scale);
    const int o = PolarTextOffset(fontSize, c.scale);
    WriteTextAtPixels(c, px.x - o, px.y - o, text, fontName == QLatin1String(kSymbolFontFamily));
}

}  // namespace pelorin
