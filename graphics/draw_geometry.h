#pragma once
// The arithmetic of the drawing routines, apart from any canvas: polar points on
// the screen and on the printed page, text placement and the printer scale.
#include <cstdint>
#include <vector>

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

// Where the glyphs of one ring of a wheel go. Each glyph wants the angle of its
// body (degrees, any scale that grows with the longitude); neighbours around the
// circle must stand at least `minGap` degrees apart (the glyph's width at the
// ring's radius), or 360 / n where n glyphs need more than the whole circle. The
// result keeps the order of the bodies around the ring and moves every glyph as
// little as it can (least squares), in [0, 360). A value that is not a finite
// number wants 0.
std::vector<double> SpreadRingAngles(const std::vector<double>& wanted, double minGap);

// The glyphs of one ring of a wheel: each at the angle of its own body on one
// radius; a glyph that would touch a neighbour moves along the ring
// (SpreadRingAngles with the arc `glyphArc` a glyph takes at `radius`), and one
// that moved more than the arc `leaderAfter` gets a thin leader to its dot. Dots
// and ticks stay at the exact angle. Lengths in one unit (pixels or cm).
struct RingGlyph {
    double angle = 0;     // degrees, centre of the glyph
    bool leader = false;  // moved far enough for a leader
};
std::vector<RingGlyph> PlaceRingGlyphs(const std::vector<double>& angles, double radius, double glyphArc,
                                       double leaderAfter);

// The smallest turn, in degrees (0..180), between two angles.
double AngleApart(double a, double b);

}  // namespace pelorin
