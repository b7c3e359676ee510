#pragma once
// Drawing on screen images in pixels, mostly in polar placement around a centre:
// angle 0 to the right, growing angles clockwise.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

namespace pelorin {

// Text centred on (x, y). The text is drawn black (or `colour`) on a white bitmap
// and copied onto the canvas: mode 1 ANDs it (the white leaves the canvas as it
// is, on raster canvases), mode 2 copies it, any other mode keeps the canvas's
// current composition mode.
void DrawTextCentred(int x, int y, const QString& text, int mode, QPainter& canvas, const QFont& font,
                     const QColor& colour = Qt::black);

// Text centred on the point at `angle` degrees and radius r around (cx, cy).
void DrawTextPolar(int cx, int cy, int r, int mode, QPainter& canvas, const QFont& font, const QString& text,
                   double angle, const QColor& colour = Qt::black);

// Sets the pen and draws the line from (angle1, r1) to (angle2, r2).
void DrawRadialSegment(int cx, int cy, int r1, double angle1, int r2, double angle2, int penWidth,
                       const QColor& penColour, Qt::PenStyle penStyle, QPainter& canvas);

// Sets the brush and draws a filled circle of radius d, with the current pen,
// around the point (angle, r).
void DrawDotPolar(int cx, int cy, int r, double angle, int d, const QColor& brushColour, QPainter& canvas);

}  // namespace pelorin
