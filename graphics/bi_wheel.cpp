// GCC 12 warns of an uninitialised string inside std::variant when a text
// operation is moved into the list (a known false positive of -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "graphics/bi_wheel.h"

#include <cmath>
#include <string>
#include <utility>

#include "astro/base_routines.h"
#include "graphics/glyph_tables.h"

namespace pelorin {

double WheelAngle(double longitude) {
    if (!std::isfinite(longitude)) longitude = 0;
    return NormDeg(180 - longitude);
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

double HouseMiddle(const TCusps& cusps, int house) {
    const double from = cusps[house];
    const double to = cusps[house % 12 + 1];
    return NormDeg(from + NormDeg(to - from) / 2);
}

void WheelPlanner::Text(WheelFont font, int size, Rgb colour, PixelPoint at, bool centred, std::string text) {
    WheelText t;
    t.font = font;
    t.size = size;
    t.colour = colour;
    t.at = at;
    t.centred = centred;
    t.text = std::move(text);
    ops_.emplace_back(std::move(t));
}

namespace {

std::string Code(unsigned char c) { return std::string(1, static_cast<char>(c)); }

using Planner = WheelPlanner;

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

struct RingRadii {
    int dot, glyph, leaderTo, tickFrom, tickTo;
};

void PlanPlanets(Planner& p, int cx, int cy, const Person& who, const RingRadii& r) {
    std::vector<double> theta(10);
    for (int i = 0; i < 10; ++i) theta[static_cast<std::size_t>(i)] = WheelAngle(who.chart[i].Lon);
    const std::vector<RingGlyph> glyphs = PlaceRingGlyphs(theta, r.glyph, wheel::kGlyphArc, wheel::kLeaderAfter);
    for (int i = 1; i <= 10; ++i) {
        const double t = theta[static_cast<std::size_t>(i - 1)];
        const RingGlyph& g = glyphs[static_cast<std::size_t>(i - 1)];
        const PixelPoint dot = ScreenPolarPoint(cx, cy, r.dot, t);
        p.Ellipse(CircleBox(dot.x, dot.y, wheel::kDotSize), who.colour, who.colour, 2);
        if (g.leader) p.Line(dot, ScreenPolarPoint(cx, cy, r.leaderTo, g.angle), who.colour, 1);
        p.Text(WheelFont::Symbol, 15, who.colour, ScreenPolarPoint(cx, cy, r.glyph, g.angle), true,
               Code(BodyGlyphs[static_cast<std::size_t>(i)]));
        p.Line(ScreenPolarPoint(cx, cy, r.tickFrom, t), ScreenPolarPoint(cx, cy, r.tickTo, t), who.colour, 2);
    }
}

// His cusps across the outer ring, the Ascendant and the Midheaven (cusps 1 and
// 10) thicker, each house's number halfway along it near the ring's outer edge;
// his Ascendant and Midheaven under his planet list.
void PlanManCusps(Planner& p, int cx, int cy, int W, const TCusps& cusps) {
    using namespace wheel;
    for (int i = 1; i <= 12; ++i) {
        const double t = WheelAngle(cusps[i]);
        p.Line(ScreenPolarPoint(cx, cy, kManCuspFrom, t), ScreenPolarPoint(cx, cy, kManCuspTo, t), wheel_colour::kMan,
               i == 1 || i == 10 ? 2 : 1);
        p.Text(WheelFont::Symbol, kManHouseNumberSize, wheel_colour::kMan,
               ScreenPolarPoint(cx, cy, kManHouseNumberRadius, WheelAngle(HouseMiddle(cusps, i))), true,
               std::to_string(i));
    }
    const std::pair<int, const char*> angles[] = {{1, "Асц"}, {10, "MC"}};
    for (int k = 0; k < 2; ++k) {
        const int y = 70 + 24 * (11 + k);
        p.Text(WheelFont::System, 10, wheel_colour::kMan, {W - 100, y - 8}, false, angles[k].second);
        p.Text(WheelFont::Symbol, 10, wheel_colour::kBlack, {W - 35, y}, true, LongitudeText(cusps[angles[k].first]).shortText);
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

    if (in.manCusps) PlanManCusps(p, cx, cy, W, *in.manCusps);

    using namespace wheel;
    PlanPlanets(p, cx, cy, woman, {kWomanDotRadius, kWomanGlyphRadius, kWomanLeaderTo, kWomanTickFrom, kWomanTickTo});
    PlanPlanets(p, cx, cy, man, {kManDotRadius, kManGlyphRadius, kManLeaderTo, kManTickFrom, kManTickTo});

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
