// GCC 12 warns of an uninitialised string inside std::variant when a text
// operation is moved into the list (a known false positive of -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "graphics/bi_wheel.h"

#include <cmath>

#include "astro/base_routines.h"
#include "graphics/glyph_tables.h"

namespace pelorin {

double WheelAngle(double longitude) {
    if (!std::isfinite(longitude)) longitude = 0;
    return NormDeg(180 - longitude);
}

GlyphSlots::GlyphSlots(Ring ring, int low, int high) : ring_(ring), low_(low), high_(high) {}

int GlyphSlots::SectorOf(double angle) {
    // Bounds b[k] = (k - 1) x 360/46 for k = 1..46 and b[47] = 360.01; the sector
    // is one less than the first bound above the angle.
    for (int k = 1; k <= wheel::kSectors + 1; ++k) {
        const double bound = k <= wheel::kSectors ? (k - 1) * wheel::kSectorWidth : 360.01;
        if (bound > angle) return k == 1 ? 1 : k - 1;
    }
    return 1;  // not a number: no bound lies above it
}

int GlyphSlots::SlotRadius(int slot) const {
    const int step = (high_ - low_) / 2;
    const double half = step / 2.0;
    if (ring_ == Ring::Inner) return static_cast<int>(std::trunc(low_ + (slot - 1) * step + half));
    return static_cast<int>(std::trunc(high_ - (slot - 1) * step - half));
}

GlyphSlots::Slot GlyphSlots::Take(double angle) {
    int sector = SectorOf(angle);
    for (int tried = 0; tried < wheel::kSectors; ++tried) {
        for (int slot = 1; slot <= 2; ++slot) {
            bool& used = occupied_[static_cast<std::size_t>(sector)][static_cast<std::size_t>(slot)];
            if (used) continue;
            used = true;
            return {sector, slot, (sector - 1) * wheel::kSectorWidth + wheel::kSectorWidth / 2,
                    SlotRadius(slot)};
        }
        sector = sector == wheel::kSectors ? 1 : sector + 1;
    }
    return {0, 0, 0, 0};  // all 92 slots taken: more planets than a ring ever holds
}

bool ChordColour(std::uint8_t aspect, Rgb& colour) {
    switch (aspect) {
        case 60:
        case 120: colour = wheel_colour::kHarmonious; return true;
        case 90:
        case 180: colour = wheel_colour::kTense; return true;
        default: return false;
    }
}

unsigned char GridCellGlyph(std::uint8_t aspect) {
    switch (aspect) {
        case 0:
        case 60:
        case 90:
        case 120:
        case 180: return AspectGlyphs[aspect];
        default: return 0;
    }
}

PixelPoint GridCellGlyphAt(int row, int column) {
    return {wheel::kGridX + wheel::kGridCell * column + 8, wheel::kGridY + wheel::kGridCell * row + 2};
}

namespace {

std::string Code(unsigned char c) { return std::string(1, static_cast<char>(c)); }

PixelBox CircleBox(int x, int y, int r) { return {x - r, y - r, x + r, y + r}; }

class Planner {
public:
    explicit Planner(std::vector<WheelOp>& ops) : ops_(ops) {}
    void Text(WheelFont font, int size, Rgb colour, PixelPoint at, bool centred, std::string text) {
        WheelText t;
        t.font = font;
        t.size = size;
        t.colour = colour;
        t.at = at;
        t.centred = centred;
        t.text = std::move(text);
        ops_.emplace_back(std::move(t));
    }
    void Line(PixelPoint a, PixelPoint b, Rgb colour, int width) { ops_.push_back(WheelLine{a, b, colour, width}); }
    void Ellipse(PixelBox box, Rgb fill, Rgb pen, int width) { ops_.push_back(WheelEllipse{box, fill, pen, width}); }
    void Rect(PixelBox box) { ops_.push_back(WheelRect{box}); }

private:
    std::vector<WheelOp>& ops_;
};

struct Person {
    const TChart& chart;
    Rgb colour;
};

void PlanLegend(Planner& p, const Person& who, int boxLeft, int boxRight, int textX, const char* line1,
                const char* line3, int glyphX, int lonX) {
    p.Rect({boxLeft, 5, boxRight, 67});
    const char* lines[] = {line1, "планеты", line3};
    for (int n = 0; n < 3; ++n) p.Text(WheelFont::System, 10, who.colour, {textX, 12 + 17 * n}, false, lines[n]);
    for (int i = 1; i <= 10; ++i) {
        const int y = 70 + 24 * i;
        p.Text(WheelFont::Symbol, 16, who.colour, {glyphX, y}, true, Code(BodyGlyphs[static_cast<std::size_t>(i)]));
        p.Text(WheelFont::Symbol, 10, wheel_colour::kBlack, {lonX, y}, true,
               LongitudeText(who.chart[i - 1].Lon).shortText);
    }
}

void PlanPlanets(Planner& p, int cx, int cy, const Person& who, GlyphSlots& slots, int dotRadius, int tickFrom,
                 int tickTo) {
    for (int i = 1; i <= 10; ++i) {
        const double theta = WheelAngle(who.chart[i - 1].Lon);
        const PixelPoint dot = ScreenPolarPoint(cx, cy, dotRadius, theta);
        p.Ellipse(CircleBox(dot.x, dot.y, wheel::kDotSize), who.colour, who.colour, 2);
        const GlyphSlots::Slot slot = slots.Take(theta);
        p.Text(WheelFont::Symbol, 15, who.colour, ScreenPolarPoint(cx, cy, slot.radius, slot.angle), true,
               Code(BodyGlyphs[static_cast<std::size_t>(i)]));
        p.Line(ScreenPolarPoint(cx, cy, tickFrom, theta), ScreenPolarPoint(cx, cy, tickTo, theta), who.colour, 2);
    }
}

void PlanGrid(Planner& p, const AspectGrid& grid) {
    using namespace wheel;
    p.Text(WheelFont::System, 10, wheel_colour::kCaption, {kGridX + 130, kGridY - 20}, false, "Взаимные аспекты");
    const int span = kGridCell * (kGridLines - 1);
    for (int k = 0; k < kGridLines; ++k)
        p.Line({kGridX, kGridY + kGridCell * k}, {kGridX + span, kGridY + kGridCell * k}, wheel_colour::kBlack, 1);
    for (int k = 0; k < kGridLines; ++k)
        p.Line({kGridX + kGridCell * k, kGridY}, {kGridX + kGridCell * k, kGridY + span}, wheel_colour::kBlack, 1);
    for (int i = 1; i <= 10; ++i)
        p.Text(WheelFont::Symbol, 16, wheel_colour::kWoman, {32, 477 + kGridCell * i}, true,
               Code(BodyGlyphs[static_cast<std::size_t>(i)]));
    for (int j = 1; j <= 10; ++j)
        p.Text(WheelFont::Symbol, 16, wheel_colour::kMan, {32 + kGridCell * j, 479}, true,
               Code(BodyGlyphs[static_cast<std::size_t>(j)]));
    for (int r = 1; r <= 10; ++r)
        for (int c = 1; c <= 10; ++c) {
            const unsigned char glyph =
                GridCellGlyph(grid[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)]);
            if (glyph != 0) p.Text(WheelFont::Symbol, 17, wheel_colour::kBlack, GridCellGlyphAt(r, c), false, Code(glyph));
        }
}

}  // namespace

std::vector<WheelOp> PlanBiWheel(const BiWheelInput& in) {
    std::vector<WheelOp> ops;
    ops.reserve(320);  // a whole drawing, without moving it on the way
    ops.push_back(WheelFillRect{{-2, -2, in.width, in.height}, wheel_colour::kWhite});
    if (!in.draw || !in.woman || !in.man || !in.aspects) return ops;
    const AspectGrid& grid = in.grid ? *in.grid : *in.aspects;

    Planner p(ops);
    const int cx = RoundToPixel(in.width / 2.0);
    const int cy = wheel::kCentreY;
    const Person woman{*in.woman, wheel_colour::kWoman};
    const Person man{*in.man, wheel_colour::kMan};
    const int W = in.width;

    PlanLegend(p, woman, 5, 150, 15, "Внешний круг -", "ЖЕНЩИНЫ", 25, 65);
    PlanLegend(p, man, W - 170, W - 5, W - 166, "Внутренний круг -", "МУЖЧИНЫ", W - 75, W - 35);

    p.Ellipse(CircleBox(cx, cy, wheel::kOuterCircle), wheel_colour::kBand, wheel_colour::kBlack, 1);
    for (int r : {wheel::kSignBandInner, wheel::kRingDivider, wheel::kAspectCircle})
        p.Ellipse(CircleBox(cx, cy, r), wheel_colour::kWhite, wheel_colour::kBlack, 1);

    for (int n = 1; n <= 12; ++n) {
        const double theta = NormDeg(180 - 30.0 * (n - 1));
        p.Line(ScreenPolarPoint(cx, cy, wheel::kAspectCircle, theta), ScreenPolarPoint(cx, cy, wheel::kOuterCircle, theta),
               wheel_colour::kBlack, 1);
        p.Text(WheelFont::Symbol, 11, wheel_colour::kSign, ScreenPolarPoint(cx, cy, wheel::kSignGlyphRadius, theta - 4),
               true, Code(SignGlyphs[static_cast<std::size_t>(n)]));
    }

    GlyphSlots womanSlots(GlyphSlots::Ring::Outer, wheel::kWomanBandLow, wheel::kWomanBandHigh);
    GlyphSlots manSlots(GlyphSlots::Ring::Inner, wheel::kManBandLow, wheel::kManBandHigh);
    PlanPlanets(p, cx, cy, woman, womanSlots, wheel::kWomanDotRadius, wheel::kWomanTickFrom, wheel::kWomanTickTo);
    PlanPlanets(p, cx, cy, man, manSlots, wheel::kManDotRadius, wheel::kManTickFrom, wheel::kManTickTo);

    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            Rgb colour;
            if (!ChordColour((*in.aspects)[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], colour)) continue;
            p.Line(ScreenPolarPoint(cx, cy, wheel::kChordRadius, WheelAngle(woman.chart[i].Lon)),
                   ScreenPolarPoint(cx, cy, wheel::kChordRadius, WheelAngle(man.chart[j].Lon)), colour, 1);
        }

    p.Ellipse(CircleBox(cx, cy, wheel::kCentralDot), wheel_colour::kWhite, wheel_colour::kBlack, 1);
    PlanGrid(p, grid);
    return ops;
}

}  // namespace pelorin
