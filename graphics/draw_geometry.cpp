#include "graphics/draw_geometry.h"

#include <cmath>

namespace pelorin {

int RoundToPixel(double x) { return static_cast<int>(std::nearbyint(x)); }

PixelPoint ScreenPolarPoint(int cx, int cy, int r, double angle) {
    const double a = angle * kDrawDegToRad;
    return {RoundToPixel(cx + r * std::cos(a)), RoundToPixel(cy + r * std::sin(a))};
}

PixelPoint CentredTopLeft(int x, int y, int width, int height) {
    return {x - RoundToPixel(width / 2.0), y - RoundToPixel(height / 2.0)};
}

CopyMode CopyModeOf(int mode) {
    if (mode == 1) return CopyMode::And;
    if (mode == 2) return CopyMode::Copy;
    return CopyMode::Keep;
}

PageMeasure MeasurePage(int pixelWidth, int pixelHeight, int widthMm, int heightMm) {
    PageMeasure m;
    m.widthCm = widthMm / 10.0;
    m.heightCm = heightMm / 10.0;
    m.scale.XScale = m.widthCm > 0 ? pixelWidth / m.widthCm : 0.0;
    m.scale.YScale = m.heightCm > 0 ? pixelHeight / m.heightCm : 0.0;
    return m;
}

PixelPoint PageToPixels(double x, double y, const PrinterScale& scale) {
    return {RoundToPixel(x * scale.XScale), RoundToPixel(y * scale.YScale)};
}

PagePoint ChartPolarPoint(double cx, double cy, double r, double angle) {
    const double a = (180.0 - angle) * kDrawDegToRad;
    return {cx + r * std::cos(a), cy + r * std::sin(a)};
}

bool PrinterCircleDrawable(double cx, double cy, double r) { return r > 0 && cx >= 0 && cy >= 0; }

PixelBox PrinterCircleBox(double cx, double cy, double r, const PrinterScale& scale) {
    const PixelPoint a = PageToPixels(cx - r, cy - r, scale);
    const PixelPoint b = PageToPixels(cx + r, cy + r, scale);
    return {a.x, a.y, b.x, b.y};
}

int PolarTextOffset(double fontSize, const PrinterScale& scale) {
    return RoundToPixel(fontSize * scale.YScale * 0.01764);
}

}  // namespace pelorin
