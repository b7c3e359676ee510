#include "graphics/draw_geometry.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pelorin {

// A coordinate that is not a number, or lies beyond any picture, is kept to the
// range of int rather than converted out of it (which is undefined).
int RoundToPixel(double x) {
    if (!(x > -1e9)) return -1000000000;
    if (!(x < 1e9)) return 1000000000;
    return static_cast<int>(std::nearbyint(x));
}

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

double AngleApart(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

std::vector<RingGlyph> PlaceRingGlyphs(const std::vector<double>& angles, double radius, double glyphArc,
                                       double leaderAfter) {
    constexpr double kDeg = 180 / 3.14159265358979323846;
    if (!(radius > 0)) radius = 1;
    const std::vector<double> spread = SpreadRingAngles(angles, glyphArc / radius * kDeg);
    std::vector<RingGlyph> out(spread.size());
    for (std::size_t i = 0; i < spread.size(); ++i) {
        out[i].angle = spread[i];
        out[i].leader = AngleApart(spread[i], std::isfinite(angles[i]) ? angles[i] : 0.0) / kDeg * radius > leaderAfter;
    }
    return out;
}

std::vector<double> SpreadRingAngles(const std::vector<double>& wanted, double minGap) {
    const std::size_t n = wanted.size();
    if (n == 0) return {};
    const double gap = std::min(std::isfinite(minGap) && minGap > 0 ? minGap : 0.0, 360.0 / static_cast<double>(n));
    auto norm = [](double a) {
        if (!std::isfinite(a)) return 0.0;
        a = std::fmod(a, 360.0);
        return a < 0 ? a + 360 : a;
    };
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t i, std::size_t j) { return norm(wanted[i]) < norm(wanted[j]); });

    // Open the circle in the widest empty stretch between two neighbours.
    std::size_t first = 0;
    double widest = -1;
    for (std::size_t k = 0; k < n; ++k) {
        const double here = norm(wanted[order[k]]);
        const double next = k + 1 < n ? norm(wanted[order[k + 1]]) : norm(wanted[order[0]]) + 360;
        if (next - here > widest) {
            widest = next - here;
            first = (k + 1) % n;
        }
    }
    std::vector<double> v(n);  // wanted angles along the opened circle, growing
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = (first + j) % n;
        v[j] = norm(wanted[order[k]]) + (first + j >= n ? 360.0 : 0.0);
    }

    // With y[j] = x[j] - j gap the spacing rule is y growing: pool neighbouring
    // blocks whose means fall out of order (the closest growing sequence).
    struct Block {
        std::size_t count;
        double sum;
    };
    std::vector<Block> blocks;
    for (std::size_t j = 0; j < n; ++j) {
        blocks.push_back({1, v[j] - static_cast<double>(j) * gap});
        while (blocks.size() > 1) {
            const Block& b = blocks.back();
            const Block& a = blocks[blocks.size() - 2];
            if (a.sum / static_cast<double>(a.count) <= b.sum / static_cast<double>(b.count)) break;
            const Block merged{a.count + b.count, a.sum + b.sum};
            blocks.pop_back();
            blocks.back() = merged;
        }
    }
    std::vector<double> x(n);
    std::size_t j = 0;
    for (const Block& b : blocks)
        for (std::size_t c = 0; c < b.count; ++c, ++j) x[j] = b.sum / static_cast<double>(b.count) + static_cast<double>(j) * gap;
    // The last glyph must also keep its distance from the first one around the circle.
    if (n > 1 && x[n - 1] - x[0] > 360 - gap + 1e-9) {
        double mean = 0;
        for (std::size_t k = 0; k < n; ++k) mean += v[k] - static_cast<double>(k) * gap;
        mean /= static_cast<double>(n);
        for (std::size_t k = 0; k < n; ++k) x[k] = mean + static_cast<double>(k) * gap;
    }
    std::vector<double> out(n);
    for (std::size_t k = 0; k < n; ++k) out[order[(first + k) % n]] = norm(x[k]);
    return out;
}

}  // namespace pelorin
