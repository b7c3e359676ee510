#pragma once
// The picture of the page "Композит": one chart of the pair (the composite or
// the Davison chart) on a single wheel in the style of the bi-wheel (its sign
// band, its planet ring and aspect circle, glyphs kept apart along the ring),
// with the chart's houses where it has them; below it a table of the bodies
// (position, house) and the grid of the aspects among the chart's own bodies.
// A list of operations in pixels, painted by the bi-wheel's painter.
#include <string>
#include <vector>

#include "analysis/relationship_charts.h"
#include "graphics/bi_wheel.h"

namespace pelorin {

namespace single_wheel {
inline constexpr Rgb kComposite{128, 0, 128};
inline constexpr Rgb kDavison{0, 96, 160};
inline constexpr Rgb kCusp{64, 64, 64};
// The houses' lines cross the planet ring and the empty ring inside it, where
// the house numbers stand.
inline constexpr int kCuspFrom = wheel::kAspectCircle, kCuspTo = wheel::kSignBandInner;
inline constexpr int kHouseNumberRadius = (wheel::kAspectCircle + wheel::kRingDivider) / 2;
// The table of the bodies and the aspect grid below the wheel.
inline constexpr int kTableX = 15, kTableY = 460, kTableRow = 24;
inline constexpr int kTableColumns[] = {15, 55, 165, 265, 315};  // glyph, name, position, house, right edge
inline constexpr int kGridX = 340, kGridY = 460, kGridCell = 36;
}  // namespace single_wheel

struct RelationshipWheelInput {
    int width = 782;
    int height = 880;
    RelationshipKind kind = RelationshipKind::Composite;
    // The chart to draw; without it only the heading and `refusal`.
    const RelationshipChart* chart = nullptr;
    std::string womanName, manName;  // UTF-8
    std::string refusal;             // UTF-8: why there is no chart
    bool draw = true;                // false: the white picture only
};

std::vector<WheelOp> PlanRelationshipWheel(const RelationshipWheelInput& in);

// The picture of the chart of `kind` among a pair's charts: the chart, or the
// reason there is none; a white picture without charts (no pair analysed).
RelationshipWheelInput RelationshipWheelOf(RelationshipKind kind, const RelationshipCharts* charts);

// The colour of a kind of chart.
Rgb RelationshipColour(RelationshipKind kind);

// Top-left corner of the glyph of the aspect grid's cell of bodies `row` and
// `column` (1..10 each, column < row: the grid is the triangle under its diagonal).
PixelPoint TriangleCellGlyphAt(int row, int column);

// A text broken into lines of at most `width` characters at blanks (UTF-8,
// counted in characters).
std::vector<std::string> WrapText(const std::string& utf8, std::size_t width);

}  // namespace pelorin
