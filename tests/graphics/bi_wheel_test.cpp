#include "graphics/bi_wheel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "graphics/glyph_tables.h"

namespace pelorin {
namespace {

constexpr int kW = 782, kH = 880, kCx = 391, kCy = 220;

template <class T>
std::vector<T> OpsOf(const std::vector<WheelOp>& ops) {
    std::vector<T> out;
    for (const auto& op : ops)
        if (const T* t = std::get_if<T>(&op)) out.push_back(*t);
    return out;
}

PixelPoint Centre(const PixelBox& b) { return {(b.left + b.right) / 2, (b.top + b.bottom) / 2}; }

struct Pair {
    TChart woman{}, man{};
    AspectGrid grid;
    Pair() {
        ClearAspectGrid(grid);
        for (int i = 0; i < 10; ++i) {
            woman[i].Lon = 36.0 * i;       // one planet in every 36 degrees
            man[i].Lon = 36.0 * i + 18.0;  // and between them
        }
    }
    std::vector<WheelOp> Plan(bool draw = true, const AspectGrid* separate = nullptr,
                              const TCusps* manCusps = nullptr) const {
        BiWheelInput in;
        in.manCusps = manCusps;
        in.width = kW;
        in.height = kH;
        in.woman = &woman;
        in.man = &man;
        in.aspects = &grid;
        in.grid = separate;
        in.draw = draw;
        return PlanBiWheel(in);
    }
};

std::vector<WheelLine> LinesOf(const std::vector<WheelOp>& ops, Rgb colour) {
    auto lines = OpsOf<WheelLine>(ops);
    lines.erase(std::remove_if(lines.begin(), lines.end(), [&](const WheelLine& l) { return !(l.colour == colour); }),
                lines.end());
    return lines;
}

TEST(BiWheelAngles, AriesLeftCancerBelowCapricornAbove) {
    EXPECT_DOUBLE_EQ(WheelAngle(0), 180);
    EXPECT_DOUBLE_EQ(WheelAngle(90), 90);
    EXPECT_DOUBLE_EQ(WheelAngle(270), 270);
    EXPECT_DOUBLE_EQ(WheelAngle(180), 0);
    EXPECT_EQ(ScreenPolarPoint(kCx, kCy, 146, WheelAngle(0)), (PixelPoint{245, 220}));
    EXPECT_EQ(ScreenPolarPoint(kCx, kCy, 146, WheelAngle(90)), (PixelPoint{391, 366}));
    EXPECT_EQ(ScreenPolarPoint(kCx, kCy, 146, WheelAngle(270)), (PixelPoint{391, 74}));
    // A damaged longitude is drawn at 0 Aries rather than at an undefined pixel.
    EXPECT_DOUBLE_EQ(WheelAngle(std::numeric_limits<double>::quiet_NaN()), 180);
    EXPECT_DOUBLE_EQ(WheelAngle(std::numeric_limits<double>::infinity()), 180);
}

TEST(BiWheelPlan, CrowdedGlyphsMoveApartAlongTheRingWithLeadersFromTheirDots) {
    Pair p;
    // Five of the woman's bodies within 3 degrees across 0 Aries.
    const double crowd[5] = {358.5, 359.2, 0.0, 0.7, 1.4};
    for (int i = 0; i < 5; ++i) p.woman[i].Lon = crowd[i];
    const auto ops = p.Plan();
    std::vector<PixelPoint> glyphs;
    for (const auto& t : OpsOf<WheelText>(ops))
        if (t.size == 15 && t.colour == wheel_colour::kWoman) glyphs.push_back(t.at);
    ASSERT_EQ(glyphs.size(), 10u);
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        for (std::size_t j = i + 1; j < glyphs.size(); ++j)
            EXPECT_GE(std::hypot(glyphs[i].x - glyphs[j].x, glyphs[i].y - glyphs[j].y), wheel::kGlyphArc - 1.0)
                << i << " " << j;
    // The middle one keeps its place; dots and ticks stay at the exact degrees.
    EXPECT_EQ(glyphs[2], ScreenPolarPoint(kCx, kCy, wheel::kWomanGlyphRadius, 180));
    std::vector<WheelLine> leaders;
    for (const auto& l : LinesOf(ops, wheel_colour::kWoman))
        if (l.width == 1) leaders.push_back(l);
    ASSERT_GE(leaders.size(), 2u);  // at least the two outermost moved far
    for (const auto& l : leaders) {
        const bool fromADot = std::any_of(std::begin(crowd), std::end(crowd), [&](double lon) {
            return l.from == ScreenPolarPoint(kCx, kCy, wheel::kWomanDotRadius, WheelAngle(lon));
        });
        EXPECT_TRUE(fromADot) << l.from.x << "," << l.from.y;
        EXPECT_NEAR(std::hypot(l.to.x - kCx, l.to.y - kCy), wheel::kWomanLeaderTo, 1.0);
    }
    EXPECT_EQ(LinesOf(ops, wheel_colour::kWoman).size(), 10u + leaders.size());
}

// His cusps across the outer ring (her planets' ring) in his colour, the
// Ascendant and the Midheaven thicker, each house numbered halfway along it;
// without his houses nothing of them.
TEST(BiWheelPlan, HisCuspsOnTheOuterRingWhenKnown) {
    Pair p;
    const std::size_t manLines = LinesOf(p.Plan(), wheel_colour::kMan).size();
    TCusps his;
    for (int i = 1; i <= 12; ++i) his[i] = std::fmod(350.0 + 25.0 * (i - 1) + (i > 6 ? 30 : 0), 360.0);
    const auto ops = p.Plan(true, nullptr, &his);
    const auto lines = LinesOf(ops, wheel_colour::kMan);
    ASSERT_EQ(lines.size(), manLines + 12);
    for (int i = 1; i <= 12; ++i) {
        const WheelLine& l = lines[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(l.from, ScreenPolarPoint(kCx, kCy, wheel::kRingDivider, WheelAngle(his[i])));
        EXPECT_EQ(l.to, ScreenPolarPoint(kCx, kCy, wheel::kSignBandInner, WheelAngle(his[i])));
        EXPECT_EQ(l.width, i == 1 || i == 10 ? 2 : 1) << i;
    }
    // House 1 runs from 350 through 0 Aries to 15: its number at 2.5; house 12
    // from 295 (cusp 12) to 350.
    EXPECT_NEAR(HouseMiddle(his, 1), 2.5, 1e-9);
    EXPECT_NEAR(HouseMiddle(his, 12), 322.5, 1e-9);
    std::vector<std::string> numbers;
    for (const auto& t : OpsOf<WheelText>(ops))
        if (t.colour == wheel_colour::kMan && t.size == wheel::kManHouseNumberSize) {
            numbers.push_back(t.text);
            if (t.text == "1") {
                EXPECT_EQ(t.at, ScreenPolarPoint(kCx, kCy, wheel::kManHouseNumberRadius, WheelAngle(HouseMiddle(his, 1))));
            }
        }
    ASSERT_EQ(numbers.size(), 12u);
    EXPECT_EQ(numbers.front(), "1");
    EXPECT_EQ(numbers.back(), "12");
    // The lines lie under her planets: drawn before her first dot.
    const auto firstCusp = std::find_if(ops.begin(), ops.end(), [](const WheelOp& op) {
        const auto* l = std::get_if<WheelLine>(&op);
        return l && l->colour == wheel_colour::kMan;
    });
    const auto firstDot = std::find_if(ops.begin(), ops.end(), [](const WheelOp& op) {
        const auto* e = std::get_if<WheelEllipse>(&op);
        return e && e->fill == wheel_colour::kWoman;
    });
    EXPECT_LT(firstCusp - ops.begin(), firstDot - ops.begin());
}

TEST(BiWheelPlan, WithoutTheDrawFlagOnlyWhite) {
    Pair p;
    const auto ops = p.Plan(false);
    ASSERT_EQ(ops.size(), 1u);
    const auto& fill = std::get<WheelFillRect>(ops[0]);
    EXPECT_EQ(fill.box, (PixelBox{-2, -2, kW, kH}));
    EXPECT_EQ(fill.colour, wheel_colour::kWhite);
    // A missing chart cannot be drawn: cleared only.
    BiWheelInput in;
    in.woman = &p.woman;
    in.aspects = &p.grid;
    EXPECT_EQ(PlanBiWheel(in).size(), 1u);
}

TEST(BiWheelPlan, CirclesInOrderWithTheBandFill) {
    Pair p;
    const auto ellipses = OpsOf<WheelEllipse>(p.Plan());
    // The four circles first, the central dot last.
    ASSERT_GE(ellipses.size(), 5u);
    const int radii[] = {218, 198, 143, 88};
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(ellipses[static_cast<std::size_t>(n)].box,
                  (PixelBox{kCx - radii[n], kCy - radii[n], kCx + radii[n], kCy + radii[n]}));
        EXPECT_EQ(ellipses[static_cast<std::size_t>(n)].fill, n == 0 ? wheel_colour::kBand : wheel_colour::kWhite);
    }
    EXPECT_EQ(ellipses.back().box, (PixelBox{kCx - 7, kCy - 7, kCx + 7, kCy + 7}));
    EXPECT_EQ(ellipses.back().fill, wheel_colour::kWhite);
    EXPECT_EQ(ellipses.back().pen, wheel_colour::kBlack);
    // Between them twenty position dots of radius 3.
    EXPECT_EQ(ellipses.size(), 4u + 20u + 1u);
}

TEST(BiWheelPlan, DotsTicksAndGlyphsAtTheirRadii) {
    Pair p;
    p.woman[0].Lon = 0;   // Sun on the left
    p.man[1].Lon = 90;    // Moon below
    p.man[2].Lon = 110;   // Mercury out of the Moon's way
    const auto ops = p.Plan();
    const auto ellipses = OpsOf<WheelEllipse>(ops);
    const PixelBox womanSun = ellipses[4].box, manMoon = ellipses[4 + 10 + 1].box;
    EXPECT_EQ(womanSun, (PixelBox{245 - 3, 217, 245 + 3, 223}));
    EXPECT_EQ(ellipses[4].fill, wheel_colour::kWoman);
    EXPECT_EQ(ellipses[4].pen, wheel_colour::kWoman);
    EXPECT_EQ(ellipses[4].penWidth, 2);
    EXPECT_EQ(Centre(manMoon), (PixelPoint{391, 360}));
    EXPECT_EQ(ellipses[15].fill, wheel_colour::kMan);

    const auto womanLines = LinesOf(ops, wheel_colour::kWoman);
    ASSERT_EQ(womanLines.size(), 10u);
    EXPECT_EQ(womanLines[0].from, (PixelPoint{391 - 82, 220}));
    EXPECT_EQ(womanLines[0].to, (PixelPoint{391 - 88, 220}));
    EXPECT_EQ(womanLines[0].width, 2);
    const auto manLines = LinesOf(ops, wheel_colour::kMan);
    ASSERT_EQ(manLines.size(), 10u);
    EXPECT_EQ(manLines[1].from, (PixelPoint{391, 308}));
    EXPECT_EQ(manLines[1].to, (PixelPoint{391, 314}));

    // Glyphs free of their neighbours stand at their own degree.
    std::vector<WheelText> glyphs;
    for (const auto& t : OpsOf<WheelText>(ops))
        if (t.size == 15) glyphs.push_back(t);
    ASSERT_EQ(glyphs.size(), 20u);
    EXPECT_EQ(glyphs[0].text, std::string(1, static_cast<char>(BodyGlyphs[1])));
    EXPECT_EQ(glyphs[0].colour, wheel_colour::kWoman);
    EXPECT_EQ(glyphs[0].at, ScreenPolarPoint(kCx, kCy, wheel::kWomanGlyphRadius, 180));
    EXPECT_EQ(glyphs[11].text, std::string(1, static_cast<char>(BodyGlyphs[2])));
    EXPECT_EQ(glyphs[11].at, ScreenPolarPoint(kCx, kCy, wheel::kManGlyphRadius, 90));
}

TEST(BiWheelPlan, SignsLinesAndGlyphs) {
    Pair p;
    const auto ops = p.Plan();
    std::vector<WheelText> signs;
    for (const auto& t : OpsOf<WheelText>(ops))
        if (t.colour == wheel_colour::kSign) signs.push_back(t);
    ASSERT_EQ(signs.size(), 12u);
    EXPECT_EQ(signs[0].text, "@");
    EXPECT_EQ(signs[0].size, 11);
    EXPECT_EQ(signs[0].at, ScreenPolarPoint(kCx, kCy, 208, 176));
    EXPECT_EQ(signs[3].text, "C");  // Cancer, 4 degrees past straight below
    EXPECT_EQ(signs[3].at, ScreenPolarPoint(kCx, kCy, 208, 86));
    EXPECT_EQ(signs[11].text, "K");
    // The first twelve black lines are the sign boundaries, from 88 to 218.
    const auto black = LinesOf(ops, wheel_colour::kBlack);
    EXPECT_EQ(black[0].from, (PixelPoint{391 - 88, 220}));
    EXPECT_EQ(black[0].to, (PixelPoint{391 - 218, 220}));
    EXPECT_EQ(black[9].to, (PixelPoint{391, 220 - 218}));  // sign 10 at 270 degrees: straight above
}

TEST(BiWheelPlan, ChordsPerAspect) {
    Pair p;
    p.woman[0].Lon = 0;
    p.man[0].Lon = 180;
    p.grid[0][0] = 180;  // opposition: blue
    p.grid[0][1] = 60;   // sextile: red
    p.grid[2][3] = 120;  // trine: red
    p.grid[4][4] = 90;   // square: blue
    p.grid[5][5] = 0;    // conjunction: no chord
    p.grid[6][6] = 45;   // not an aspect of the system: nothing
    const auto ops = p.Plan();
    const auto red = LinesOf(ops, wheel_colour::kHarmonious);
    const auto blue = LinesOf(ops, wheel_colour::kTense);
    ASSERT_EQ(red.size(), 2u);
    ASSERT_EQ(blue.size(), 2u);
    EXPECT_EQ(blue[0].from, (PixelPoint{391 - 80, 220}));
    EXPECT_EQ(blue[0].to, (PixelPoint{391 + 80, 220}));
    EXPECT_EQ(blue[0].width, 1);
    EXPECT_EQ(red[0].to, ScreenPolarPoint(kCx, kCy, 80, WheelAngle(p.man[1].Lon)));
    EXPECT_EQ(red[1].from, ScreenPolarPoint(kCx, kCy, 80, WheelAngle(p.woman[2].Lon)));
    Rgb c;
    EXPECT_FALSE(ChordColour(0, c));
    EXPECT_FALSE(ChordColour(255, c));
    EXPECT_TRUE(ChordColour(120, c));
    EXPECT_EQ(c, wheel_colour::kHarmonious);
}

TEST(BiWheelPlan, GridCellsHeadersAndLines) {
    Pair p;
    p.grid[5][5] = 0;
    p.grid[9][0] = 120;
    p.grid[1][2] = 77;  // a byte with a glyph in the table but no aspect of the system
    const auto ops = p.Plan();
    std::vector<WheelText> cells, rowHeads, colHeads;
    for (const auto& t : OpsOf<WheelText>(ops)) {
        if (t.size == 17) cells.push_back(t);
        if (t.size == 16 && t.at.x == 32 && t.at.y > 479) rowHeads.push_back(t);
        if (t.size == 16 && t.at.y == 479) colHeads.push_back(t);
    }
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].text, "n");
    EXPECT_EQ(cells[0].at, (PixelPoint{15 + 36 * 6 + 8, 460 + 36 * 6 + 2}));
    EXPECT_FALSE(cells[0].centred);
    EXPECT_EQ(cells[1].text, std::string(1, static_cast<char>(0x82)));
    EXPECT_EQ(cells[1].at, GridCellGlyphAt(10, 1));
    EXPECT_EQ(GridCellGlyphAt(10, 1), (PixelPoint{59, 822}));
    ASSERT_EQ(rowHeads.size(), 10u);
    EXPECT_EQ(rowHeads[0].at, (PixelPoint{32, 513}));
    EXPECT_EQ(rowHeads[9].colour, wheel_colour::kWoman);
    ASSERT_EQ(colHeads.size(), 10u);
    EXPECT_EQ(colHeads[9].at, (PixelPoint{392, 479}));
    EXPECT_EQ(colHeads[9].colour, wheel_colour::kMan);
    EXPECT_EQ(colHeads[9].text, "U");

    // Twelve lines each way, closing the grid at 411 and 856.
    auto black = LinesOf(ops, wheel_colour::kBlack);
    black.erase(black.begin(), black.begin() + 12);  // the sign boundaries
    ASSERT_EQ(black.size(), 24u);
    EXPECT_EQ(black[0].from, (PixelPoint{15, 460}));
    EXPECT_EQ(black[11].to, (PixelPoint{411, 856}));
    EXPECT_EQ(black[12].from, (PixelPoint{15, 460}));
    EXPECT_EQ(black[23].to, (PixelPoint{411, 856}));

    const auto texts = OpsOf<WheelText>(ops);
    const auto caption = std::find_if(texts.begin(), texts.end(), [](const WheelText& t) {
        return t.text == "Взаимные аспекты";
    });
    ASSERT_NE(caption, texts.end());
    EXPECT_EQ(caption->at, (PixelPoint{145, 440}));
    EXPECT_EQ(caption->colour, wheel_colour::kCaption);
    EXPECT_EQ(caption->font, WheelFont::System);
}

TEST(BiWheelPlan, EmptyMatrixHeadersOnlyAndNoChords) {
    Pair p;
    const auto ops = p.Plan();
    for (const auto& t : OpsOf<WheelText>(ops)) EXPECT_NE(t.size, 17);
    EXPECT_TRUE(LinesOf(ops, wheel_colour::kHarmonious).empty());
    EXPECT_TRUE(LinesOf(ops, wheel_colour::kTense).empty());
}

TEST(BiWheelPlan, GridReadsItsOwnMatrix) {
    Pair p;
    AspectGrid other;
    ClearAspectGrid(other);
    other[0][0] = 90;
    p.grid[1][1] = 60;
    const auto ops = p.Plan(true, &other);
    std::vector<WheelText> cells;
    for (const auto& t : OpsOf<WheelText>(ops))
        if (t.size == 17) cells.push_back(t);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].text, "}");
    EXPECT_EQ(LinesOf(ops, wheel_colour::kHarmonious).size(), 1u);  // chords from the matrix passed
    EXPECT_TRUE(LinesOf(ops, wheel_colour::kTense).empty());
}

TEST(BiWheelPlan, LegendsAndPlanetLists) {
    Pair p;
    p.man[9].Lon = 45.5;  // 15 Taurus 30
    const auto texts = OpsOf<WheelText>(p.Plan());
    auto find = [&](const std::string& s) {
        return std::find_if(texts.begin(), texts.end(), [&](const WheelText& t) { return t.text == s; });
    };
    ASSERT_NE(find("Внешний круг -"), texts.end());
    EXPECT_EQ(find("Внешний круг -")->at, (PixelPoint{15, 12}));
    EXPECT_EQ(find("ЖЕНЩИНЫ")->at, (PixelPoint{15, 46}));
    EXPECT_EQ(find("ЖЕНЩИНЫ")->colour, wheel_colour::kWoman);
    EXPECT_EQ(find("Внутренний круг -")->at, (PixelPoint{kW - 166, 12}));
    EXPECT_EQ(find("МУЖЧИНЫ")->at, (PixelPoint{kW - 166, 46}));
    EXPECT_EQ(find("МУЖЧИНЫ")->colour, wheel_colour::kMan);
    const auto pluto = find("15A30");
    ASSERT_NE(pluto, texts.end());
    EXPECT_EQ(pluto->at, (PixelPoint{kW - 35, 70 + 240}));
    EXPECT_EQ(pluto->colour, wheel_colour::kBlack);
    EXPECT_TRUE(pluto->centred);
    const auto rects = OpsOf<WheelRect>(p.Plan());
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].box, (PixelBox{5, 5, 150, 67}));
    EXPECT_EQ(rects[1].box, (PixelBox{kW - 170, 5, kW - 5, 67}));
}

}  // namespace
}  // namespace pelorin
