#pragma once
// The bi-wheel chart of the page "Карта": the woman's planets in the outer ring,
// the man's in the inner ring, chords between the pairs in mutual aspect, and the
// 10 x 10 grid of the mutual aspects below the wheel. This is the whole drawing as
// a list of operations in pixels, in the order they are painted; the Qt layer
// (graphics/ui/bi_wheel_painter.h) only paints them.
#include "graphics/rgb.h"
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "analysis/aspects.h"
#include "astro/chart_types.h"
#include "graphics/draw_geometry.h"

namespace pelorin {


namespace wheel_colour {
inline constexpr Rgb kWoman{255, 0, 255};
inline constexpr Rgb kMan{0, 128, 0};
inline constexpr Rgb kSign{255, 0, 0};
inline constexpr Rgb kBand{209, 231, 237};
inline constexpr Rgb kHarmonious{255, 0, 0};
inline constexpr Rgb kTense{0, 0, 255};
inline constexpr Rgb kCaption{128, 128, 128};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
}  // namespace wheel_colour

// Fixed geometry of the wheel, pixels.
namespace wheel {
inline constexpr int kCentreY = 220;
inline constexpr int kBaseRadius = 220;
inline constexpr int kOuterCircle = 218;
inline constexpr int kSignBandInner = 198;
inline constexpr int kRingDivider = 143;
inline constexpr int kAspectCircle = 88;
inline constexpr int kCentralDot = 7;
inline constexpr int kSignGlyphRadius = 208;
inline constexpr int kWomanBandLow = 150, kWomanBandHigh = 183;
inline constexpr int kManBandLow = 95, kManBandHigh = 128;
inline constexpr int kWomanDotRadius = 146, kManDotRadius = 140, kDotSize = 3;
inline constexpr int kWomanTickFrom = 82, kWomanTickTo = 88;
inline constexpr int kManTickFrom = 88, kManTickTo = 94;
inline constexpr int kChordRadius = 80;
// Glyphs of planets: the ring's radius, the arc one glyph of size 15 takes, the
// leader's end at the glyph's edge towards its dot, and how far (arc) a glyph
// moves before it gets a leader.
inline constexpr int kWomanGlyphRadius = 166, kManGlyphRadius = 112;
inline constexpr int kGlyphArc = 19;
inline constexpr int kWomanLeaderTo = 155, kManLeaderTo = 123;
inline constexpr int kLeaderAfter = 6;
inline constexpr int kGridX = 15, kGridY = 460, kGridCell = 36, kGridLines = 12;
// The man's house cusps across the outer ring (her planets' ring), so that her
// planets stand in his houses; the house numbers near its outer edge.
inline constexpr int kManCuspFrom = kRingDivider, kManCuspTo = kSignBandInner;
inline constexpr int kManHouseNumberRadius = 190;
inline constexpr int kManHouseNumberSize = 8;
}  // namespace wheel

// Screen angle of an ecliptic longitude: NormDeg(180 - lon). 0 Aries on the left
// of the centre, 90 (0 Cancer) below it. A longitude that is not a finite number
// is taken as 0.
double WheelAngle(double longitude);

// ---- Drawing operations ---------------------------------------------------

// Boxes are as on the original canvas: right and bottom exclusive.
struct WheelFillRect {
    PixelBox box;
    Rgb colour;
};
// Rectangle outlined with a 1-pixel black pen and filled white.
struct WheelRect {
    PixelBox box;
};
// Ellipse in a box (circles of the wheel and dots), filled and outlined.
struct WheelEllipse {
    PixelBox box;
    Rgb fill;
    Rgb pen;
    int penWidth = 1;
};
struct WheelLine {
    PixelPoint from, to;
    Rgb colour;
    int width = 1;
};
enum class WheelFont { System, Symbol };
struct WheelText {
    // Symbol: the text is symbol codes (Windows-1251 bytes), centred on `at` and
    // ANDed onto the picture. System captions and the grid's cells are written
    // directly with their top-left corner at `at` on a white background (for the
    // cells `font` is Symbol and `centred` false).
    WheelFont font = WheelFont::Symbol;
    int size = 10;
    Rgb colour;
    PixelPoint at;
    bool centred = true;
    std::string text;
};
using WheelOp = std::variant<WheelFillRect, WheelRect, WheelEllipse, WheelLine, WheelText>;

// Appends the operations of a wheel picture (the bi-wheel's and the single
// wheel of the relationship charts).
class WheelPlanner {
public:
    explicit WheelPlanner(std::vector<WheelOp>& ops) : ops_(ops) {}
    void Text(WheelFont font, int size, Rgb colour, PixelPoint at, bool centred, std::string text);
    void Line(PixelPoint a, PixelPoint b, Rgb colour, int width) { ops_.push_back(WheelLine{a, b, colour, width}); }
    void Ellipse(PixelBox box, Rgb fill, Rgb pen, int width) { ops_.push_back(WheelEllipse{box, fill, pen, width}); }
    void Rect(PixelBox box) { ops_.push_back(WheelRect{box}); }

private:
    std::vector<WheelOp>& ops_;
};

// The box of a circle of radius r about (x, y).
inline PixelBox CircleBox(int x, int y, int r) { return {x - r, y - r, x + r, y + r}; }

struct BiWheelInput {
    int width = 782;
    int height = 880;
    const TChart* woman = nullptr;
    const TChart* man = nullptr;
    const TCusps* womanCusps = nullptr;  // passed along, not drawn
    const TCusps* manCusps = nullptr;    // his houses when known: drawn on the outer ring
    const AspectGrid* aspects = nullptr; // chords; the grid below reads `grid`
    const AspectGrid* grid = nullptr;    // the analysis' AspectGrid (null: `aspects`)
    bool draw = true;
};

// Everything the chart draws, in painting order. Without the draw flag (or with a
// chart or matrix missing) only the white fill.
std::vector<WheelOp> PlanBiWheel(const BiWheelInput& in);

// The chord colour of a matrix byte: red for 60 and 120, blue for 90 and 180;
// false for a conjunction, 255 and anything else (no chord).
bool ChordColour(std::uint8_t aspect, Rgb& colour);

// The grid cell's glyph for a matrix byte: AspectGlyphs of 0, 60, 90, 120 or 180,
// 0 (empty cell) for any other byte.
unsigned char GridCellGlyph(std::uint8_t aspect);

// Top-left corner of the glyph of grid cell (row r, column c), 1..10 each.
PixelPoint GridCellGlyphAt(int row, int column);

// The ecliptic longitude halfway along house `house` (1..12) of `cusps`, from
// its cusp to the next one counter-clockwise (through 0 Aries where it runs
// through it).
double HouseMiddle(const TCusps& cusps, int house);

}  // namespace pelorin
