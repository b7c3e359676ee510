#include "graphics/ui/draw_screen.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>

#include "graphics/draw_geometry.h"

namespace pelorin {

void DrawTextCentred(int x, int y, const QString& text, int mode, QPainter& canvas, const QFont& font,
                     const QColor& colour) {
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(text);
    const int height = fm.height();
    if (width <= 0 || height <= 0) return;
    QImage bitmap(width, height, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter p(&bitmap);
        p.setFont(font);
        p.setPen(colour);
        p.drawText(QRect(0, 0, width, height), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    const PixelPoint at = CentredTopLeft(x, y, width, height);
    const QPainter::CompositionMode saved = canvas.compositionMode();
    switch (CopyModeOf(mode)) {
        case CopyMode::And:
            if (canvas.paintEngine() && canvas.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
                canvas.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            else  // devices without raster operations: darken, which is AND for black on white
                canvas.setCompositionMode(QPainter::CompositionMode_Darken);
            break;
        case CopyMode::Copy: canvas.setCompositionMode(QPainter::CompositionMode_Source); break;
        case CopyMode::Keep: break;
    }
    canvas.drawImage(at.x, at.y, bitmap);
    canvas.setCompositionMode(saved);
}

void DrawTextPolar(int cx, int cy, int r, int mode, QPainter& canvas, const QFont& font, const QString& text,
                   double angle, const QColor& colour) {
    const PixelPoint p = ScreenPolarPoint(cx, cy, r, angle);
    DrawTextCentred(p.x, p.y, text, mode, canvas, font, colour);
}

void DrawRadialSegment(int cx, int cy, int r1, double angle1, int r2, double angle2, int penWidth,
                       const QColor& penColour, Qt::PenStyle penStyle, QPainter& canvas) {
    QPen pen(penColour);
    pen.setWidth(penWidth);
    pen.setStyle(penStyle);
    canvas.setPen(pen);
    const PixelPoint a = ScreenPolarPoint(cx, cy, r1, angle1);
    const PixelPoint b = ScreenPolarPoint(cx, cy, r2, angle2);
    canvas.drawLine(a.x, a.y, b.x, b.y);
}

void DrawDotPolar(int cx, int cy, int r, double angle, int d, const QColor& brushColour, QPainter& canvas) {
    canvas.setBrush(QBrush(brushColour));
    const PixelPoint p = ScreenPolarPoint(cx, cy, r, angle);
    canvas.drawEllipse(QRect(p.x - d, p.y - d, 2 * d, 2 * d));
}

}  // namespace pelorin
