#pragma once
// The arithmetic of the drawing routines, apart from any canvas: polar points on
// the screen and on the printed page, text placement and the printer scale.
#include <cstdint>

namespace pelorin {

// Degrees to radians as the drawing routines convert them (not full-precision pi/180).
inline constexpr double kDrawDegToRad = 0.0174533;

// Nearest integer, halves to even.
int RoundToPixel(double x);

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Screen point at `angle` degrees and radius r around (cx, cy): angle 0 to the
// right, growing angles clockwise (the screen's y axis points down).
PixelPoint ScreenPolarPoint(int cx, int cy, int r, double angle);

// Top-left corner that centres a box of width x height on (x, y).
PixelPoint CentredTopLeft(int x, int y, int width, int height);

// Copy modes of the screen text routines.
enum class CopyMode { Keep, And, Copy };
CopyMode CopyModeOf(int mode);  // 1 AND, 2 copy, anything else keeps the canvas's

// Printer pixels per centimetre across and down, measured for every page.
struct PrinterScale {
    double XScale = 1.0;
    double YScale = 1.0;
};

struct PageMeasure {
    double widthCm = 0;
    double heightCm = 0;
    PrinterScale scale;
};

// From the page size in printer pixels and the printable size in millimetres.
// A size of 0 mm gives a scale of 0 rather than a division by zero.
PageMeasure MeasurePage(int pixelWidth, int pixelHeight, int widthMm, int heightMm);

// A page coordinate in centimetres as printer pixels.
PixelPoint PageToPixels(double x, double y, const PrinterScale& scale);

struct PagePoint {
    double x = 0;
    double y = 0;
};

// Page point (cm) at chart angle `angle` and radius r around (cx, cy): chart angle 0
// to the left of the centre, 90 below it (the 180 - a rule).
PagePoint ChartPolarPoint(double cx, double cy, double r, double angle);

// The printer's circles draw only for r > 0 and a centre with cx >= 0 and cy >= 0.
bool PrinterCircleDrawable(double cx, double cy, double r);

struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelBox&) const = default;
};
// Box of a circle of radius r (cm) around (cx, cy) in printer pixels.
PixelBox PrinterCircleBox(double cx, double cy, double r, const PrinterScale& scale);

// Offset, across and down, of a polar text on the printed page.
int PolarTextOffset(double fontSize, const PrinterScale& scale);

}  // namespace pelorin
