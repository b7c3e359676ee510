#pragma once
// Drawing on a printed page in centimetres from the printable origin, turned into
// device pixels with the scale measured from the device at the start of every
// page. The device is a QPrinter or a QPdfWriter.
#include <QColor>
#include <QPaintDevice>
#include <QPainter>
#include <QString>

#include "graphics/draw_geometry.h"

namespace pelorin {

enum FontStyle { FontRegular = 0, FontBold = 1, FontItalic = 2, FontUnderline = 4 };

// A page being printed: the painter and the last measured scale.
struct PrinterCanvas {
    QPainter& painter;
    PrinterScale scale;
};

// Page width and height in cm (printable size in mm / 10) and the scale in
// pixels per cm; also stores the scale in the canvas.
PageMeasure MeasurePrinterPage(const QPaintDevice& device, PrinterCanvas& canvas);

// Text with its top-left corner at (x, y). A solid brush paints the text's
// background, a clear brush (Qt::NoBrush) leaves it.
// A `maxWidthCm` above 0 is the room of the text: a wider text is cut to fit
// and ends in "…".
void PrintTextAt(PrinterCanvas& c, const QString& text, const QString& fontName, double fontSize, double x,
                 double y, int fontStyle, const QColor& fontColour, const QColor& brushColour,
                 Qt::BrushStyle brushStyle, double maxWidthCm = 0);

void PrintLineAt(PrinterCanvas& c, int penWidth, const QColor& penColour, Qt::PenStyle penStyle, double x1,
                 double y1, double x2, double y2);

// Line between the points at chart angles angle1 and angle2 and radii r1 and r2
// (cm) around (cx, cy): chart angle 0 to the left of the centre, 90 below it.
void PrintRadialSegment(PrinterCanvas& c, int penWidth, const QColor& penColour, Qt::PenStyle penStyle,
                        double cx, double cy, double r1, double angle1, double r2, double angle2);

// Rectangle with the current pen and brush.
void PrintRectangleAt(PrinterCanvas& c, double x1, double y1, double x2, double y2);

// Circle of radius r; draws nothing unless r > 0, cx >= 0 and cy >= 0.
void PrintCircleAt(PrinterCanvas& c, const QColor& brushColour, Qt::BrushStyle brushStyle, double cx,
                   double cy, double r);

// Circle of radius d around the point at chart angle `angle` and radius r; draws
// nothing unless r > 0, cx >= 0 and cy >= 0.
void PrintDotPolar(PrinterCanvas& c, const QColor& brushColour, Qt::BrushStyle brushStyle, double cx,
                   double cy, double r, double angle, double d);

// Text whose top-left corner lies up and left of the point at chart angle
// `angle` and radius r by round(fontSize x YScale x 0.01764) pixels.
void PrintTextPolar(PrinterCanvas& c, const QString& text, const QString& fontName, double fontSize,
                    Qt::BrushStyle brushStyle, const QColor& brushColour, const QColor& fontColour,
                    int fontStyle, double cx, double cy, double r, double angle);

}  // namespace pelorin
