#include "graphics/draw_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pelorin {
namespace {

TEST(DrawGeometry, RoundingIsHalfToEven) {
    EXPECT_EQ(RoundToPixel(5.5), 6);
    EXPECT_EQ(RoundToPixel(6.5), 6);
    EXPECT_EQ(RoundToPixel(-2.5), -2);
    EXPECT_EQ(RoundToPixel(2.4999), 2);
    // Beyond int, or not a number: kept in range, never converted out of it.
    EXPECT_EQ(RoundToPixel(1e300), 1000000000);
    EXPECT_EQ(RoundToPixel(-std::numeric_limits<double>::infinity()), -1000000000);
    EXPECT_EQ(RoundToPixel(std::nan("")), -1000000000);
}

TEST(DrawGeometry, ScreenPolarTurnsClockwiseFromTheRight) {
    EXPECT_EQ(ScreenPolarPoint(100, 100, 50, 0), (PixelPoint{150, 100}));
    EXPECT_EQ(ScreenPolarPoint(100, 100, 50, 90), (PixelPoint{100, 150}));   // below
    EXPECT_EQ(ScreenPolarPoint(100, 100, 50, 180), (PixelPoint{50, 100}));   // left
    EXPECT_EQ(ScreenPolarPoint(100, 100, 50, 270), (PixelPoint{100, 50}));
}

TEST(DrawGeometry, ShortFactorShowsAtLargeRadii) {
    // 0.0174533 rather than pi/180: 180 degrees become 3.141594, 1.346e-6 rad past
    // the axis, which shows in y at a radius of 10^7 pixels.
    const PixelPoint p = ScreenPolarPoint(0, 0, 10000000, 180);
    EXPECT_EQ(p.x, -10000000);
    EXPECT_EQ(p.y, -13);
}

TEST(DrawGeometry, CentringUsesHalvesToEven) {
    EXPECT_EQ(CentredTopLeft(100, 50, 11, 13), (PixelPoint{94, 44}));  // 6 and 6
    EXPECT_EQ(CentredTopLeft(100, 50, 13, 10), (PixelPoint{94, 45}));
    EXPECT_EQ(CentredTopLeft(0, 0, 0, 0), (PixelPoint{0, 0}));
}

TEST(DrawGeometry, CopyModes) {
    EXPECT_EQ(CopyModeOf(1), CopyMode::And);
    EXPECT_EQ(CopyModeOf(2), CopyMode::Copy);
    EXPECT_EQ(CopyModeOf(0), CopyMode::Keep);
    EXPECT_EQ(CopyModeOf(3), CopyMode::Keep);
}

TEST(DrawGeometry, PageScaleFromPixelsAndMillimetres) {
    const PageMeasure m = MeasurePage(4800, 6800, 200, 280);
    EXPECT_DOUBLE_EQ(m.widthCm, 20.0);
    EXPECT_DOUBLE_EQ(m.heightCm, 28.0);
    EXPECT_DOUBLE_EQ(m.scale.XScale, 240.0);
    EXPECT_NEAR(m.scale.YScale, 242.857142857, 1e-9);
    EXPECT_EQ(PageToPixels(1.0, 1.0, m.scale), (PixelPoint{240, 243}));
    const PageMeasure none = MeasurePage(100, 100, 0, 0);
    EXPECT_EQ(none.scale.XScale, 0.0);
    EXPECT_EQ(none.scale.YScale, 0.0);
}

TEST(DrawGeometry, ChartAngleZeroIsLeftAndNinetyIsBelow) {
    const PagePoint left = ChartPolarPoint(10, 10, 5, 0);
    EXPECT_NEAR(left.x, 5, 1e-5);
    EXPECT_NEAR(left.y, 10, 1e-5);
    const PagePoint below = ChartPolarPoint(10, 10, 5, 90);
    EXPECT_NEAR(below.x, 10, 1e-5);
    EXPECT_NEAR(below.y, 15, 1e-5);
    const PagePoint right = ChartPolarPoint(10, 10, 5, 180);
    EXPECT_NEAR(right.x, 15, 1e-5);
    EXPECT_NEAR(right.y, 10, 1e-4);
}

TEST(DrawGeometry, PrinterCirclesNeedPositiveRadiusAndCentre) {
    EXPECT_FALSE(PrinterCircleDrawable(1, 1, 0));
    EXPECT_FALSE(PrinterCircleDrawable(1, 1, -1));
    EXPECT_FALSE(PrinterCircleDrawable(-0.1, 1, 1));
    EXPECT_FALSE(PrinterCircleDrawable(1, -0.1, 1));
    EXPECT_TRUE(PrinterCircleDrawable(0, 0, 0.1));
    const PrinterScale s{100, 50};
    EXPECT_EQ(PrinterCircleBox(2, 2, 0.5, s), (PixelBox{150, 75, 250, 125}));
}

TEST(DrawGeometry, PolarTextOffset) {
    // 12 pt at 100 pixels per cm: 12 * 100 * 0.01764 = 21.168.
    EXPECT_EQ(PolarTextOffset(12, PrinterScale{1, 100}), 21);
    // 10 * 25 * 0.01764 = 4.41; XScale does not enter.
    EXPECT_EQ(PolarTextOffset(10, PrinterScale{1000, 25}), 4);
}

}  // namespace
}  // namespace pelorin
