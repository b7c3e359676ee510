// GCC 12 warns of an uninitialised string inside std::variant when a text
// operation is moved into the list (a known false positive of -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "graphics/relationship_wheel.h"

#include <string>
#include <utility>

#include "astro/base_routines.h"
#include "graphics/glyph_tables.h"

namespace pelorin {

namespace {

std::string Code(unsigned char c) { return std::string(1, static_cast<char>(c)); }

std::size_t Utf8Length(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

class Planner : public WheelPlanner {
public:
    using WheelPlanner::WheelPlanner;
    void Caption(Rgb colour, PixelPoint at, std::string utf8) {
        Text(WheelFont::System, 10, colour, at, false, std::move(utf8));
    }
};

// The heading box, top left: the kind of chart and the two people.
void PlanHeading(Planner& p, const RelationshipWheelInput& in) {
    p.Rect({5, 5, 172, 67});
    p.Caption(RelationshipColour(in.kind), {12, 12}, RelationshipTitle(in.kind));
    p.Caption(wheel_colour::kWoman, {12, 29}, in.womanName);
    p.Caption(wheel_colour::kMan, {12, 46}, in.manName);
}

// Top right: how the chart is made (the Davison chart's moment and place).
void PlanAbout(Planner& p, int W, const RelationshipChart& c) {
    std::vector<std::string> lines;
    if (c.kind == RelationshipKind::Davison) {
        lines = {"Момент (UT):", MomentText(c.moment), "Место:", LatitudeText(c.place.latitude),
                 LongitudeTextOfPlace(c.place.longitude)};
    } else {
        lines = {"Середины планет", "женщины и мужчины"};
        if (c.cusps) {
            lines.push_back("Дома: середины");
            lines.push_back("их куспидов");
        }
    }
    const int bottom = 12 + 17 * static_cast<int>(lines.size()) + 4;
    p.Rect({W - 172, 5, W - 5, bottom});
    for (std::size_t k = 0; k < lines.size(); ++k)
        p.Caption(wheel_colour::kBlack, {W - 165, 12 + 17 * static_cast<int>(k)}, lines[k]);
}

void PlanWheel(Planner& p, int cx, int cy, const RelationshipChart& c, Rgb colour) {
    using namespace wheel;
    p.Ellipse(CircleBox(cx, cy, kOuterCircle), wheel_colour::kBand, wheel_colour::kBlack, 1);
    for (int r : {kSignBandInner, kRingDivider, kAspectCircle})
        p.Ellipse(CircleBox(cx, cy, r), wheel_colour::kWhite, wheel_colour::kBlack, 1);

    // Signs: with houses their bounds cross the band only, so that the lines in
    // the rings are the houses'.
    const int signFrom = c.cusps ? kSignBandInner : kAspectCircle;
    for (int n = 1; n <= 12; ++n) {
        const double theta = NormDeg(180 - 30.0 * (n - 1));
        p.Line(ScreenPolarPoint(cx, cy, signFrom, theta), ScreenPolarPoint(cx, cy, kOuterCircle, theta),
               wheel_colour::kBlack, 1);
        p.Text(WheelFont::Symbol, 11, wheel_colour::kSign, ScreenPolarPoint(cx, cy, kSignGlyphRadius, theta - 15),
               true, Code(SignGlyphs[static_cast<std::size_t>(n)]));
    }

    if (c.cusps) {
        using namespace single_wheel;
        for (int i = 1; i <= 12; ++i) {
            const double t = WheelAngle((*c.cusps)[i]);
            p.Line(ScreenPolarPoint(cx, cy, kCuspFrom, t), ScreenPolarPoint(cx, cy, kCuspTo, t), kCusp,
                   i == 1 || i == 10 ? 2 : 1);
            p.Text(WheelFont::Symbol, 9, kCusp,
                   ScreenPolarPoint(cx, cy, kHouseNumberRadius, WheelAngle(HouseMiddle(*c.cusps, i))), true,
                   std::to_string(i));
        }
    }

    // Planets: the dot and the tick at the exact longitude, the glyph moved
    // along the ring where it would touch a neighbour, with a leader when far.
    std::vector<double> theta(kBodyCount);
    for (int i = 0; i < kBodyCount; ++i) theta[static_cast<std::size_t>(i)] = WheelAngle(c.chart[i].Lon);
    const std::vector<RingGlyph> glyphs = PlaceRingGlyphs(theta, kWomanGlyphRadius, kGlyphArc, kLeaderAfter);
    for (int i = 1; i <= kBodyCount; ++i) {
        const double t = theta[static_cast<std::size_t>(i - 1)];
        const RingGlyph& g = glyphs[static_cast<std::size_t>(i - 1)];
        const PixelPoint dot = ScreenPolarPoint(cx, cy, kWomanDotRadius, t);
        p.Ellipse(CircleBox(dot.x, dot.y, kDotSize), colour, colour, 2);
        if (g.leader) p.Line(dot, ScreenPolarPoint(cx, cy, kWomanLeaderTo, g.angle), colour, 1);
        p.Text(WheelFont::Symbol, 15, colour, ScreenPolarPoint(cx, cy, kWomanGlyphRadius, g.angle), true,
               Code(BodyGlyphs[static_cast<std::size_t>(i)]));
        p.Line(ScreenPolarPoint(cx, cy, kWomanTickFrom, t), ScreenPolarPoint(cx, cy, kWomanTickTo, t), colour, 2);
    }

    // Chords: each pair of bodies in aspect once (the grid is symmetric).
    for (int i = 0; i < kBodyCount; ++i)
        for (int j = i + 1; j < kBodyCount; ++j) {
            Rgb chord;
            if (!ChordColour(c.aspects[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], chord)) continue;
            p.Line(ScreenPolarPoint(cx, cy, kChordRadius, theta[static_cast<std::size_t>(i)]),
                   ScreenPolarPoint(cx, cy, kChordRadius, theta[static_cast<std::size_t>(j)]), chord, 1);
        }
    p.Ellipse(CircleBox(cx, cy, kCentralDot), wheel_colour::kWhite, wheel_colour::kBlack, 1);
}

// The bodies (and the Ascendant and Midheaven where there are houses): glyph,
// name, position in the sign, house.
void PlanTable(Planner& p, const RelationshipChart& c, Rgb colour) {
    using namespace single_wheel;
    const int* x = kTableColumns;
    p.Text(WheelFont::System, 10, wheel_colour::kCaption, {kTableX + 90, kTableY - 20}, false, "Положение планет");
    const int rows = 1 + kBodyCount + (c.cusps ? 2 : 0);
    for (int k = 0; k < rows; ++k) {
        const int y = kTableY + kTableRow * k;
        p.Rect({x[0], y, x[4] + 1, y + kTableRow + 1});
        for (int col = 1; col <= 3; ++col) p.Line({x[col], y}, {x[col], y + kTableRow}, wheel_colour::kBlack, 1);
    }
    p.Caption(wheel_colour::kBlack, {x[1] + 5, kTableY + 4}, "Планета");
    p.Caption(wheel_colour::kBlack, {x[2] + 5, kTableY + 4}, "Положение");
    p.Caption(wheel_colour::kBlack, {x[3] + 5, kTableY + 4}, "Дом");
    for (int i = 1; i <= kBodyCount; ++i) {
        const int y = kTableY + kTableRow * i;
        const std::size_t b = static_cast<std::size_t>(i);
        p.Text(WheelFont::Symbol, 15, colour, {(x[0] + x[1]) / 2, y + kTableRow / 2}, true, Code(BodyGlyphs[b]));
        p.Caption(wheel_colour::kBlack, {x[1] + 5, y + 4}, std::string(BodyNames[b]));
        p.Text(WheelFont::Symbol, 10, wheel_colour::kBlack, {(x[2] + x[3]) / 2, y + kTableRow / 2}, true,
               LongitudeText(c.chart[i - 1].Lon).shortText);
        const int house = c.houses[b - 1];
        p.Caption(wheel_colour::kBlack, {x[3] + 14, y + 4}, c.cusps && house > 0 ? std::to_string(house) : "—");
    }
    if (!c.cusps) return;
    const std::pair<int, const char*> angles[] = {{1, "Асцендент"}, {10, "Середина неба"}};
    for (int k = 0; k < 2; ++k) {
        const int y = kTableY + kTableRow * (kBodyCount + 1 + k);
        p.Caption(kCusp, {x[0] + 5, y + 4}, angles[k].first == 1 ? "Asc" : "MC");
        p.Caption(wheel_colour::kBlack, {x[1] + 5, y + 4}, angles[k].second);
        p.Text(WheelFont::Symbol, 10, wheel_colour::kBlack, {(x[2] + x[3]) / 2, y + kTableRow / 2}, true,
               LongitudeText((*c.cusps)[angles[k].first]).shortText);
        p.Caption(wheel_colour::kBlack, {x[3] + 14, y + 4}, std::to_string(angles[k].first));
    }
}

// The aspects among the chart's bodies: the triangle under the diagonal, the
// bodies' glyphs as the headers of its rows (Moon .. Pluto) and columns (Sun .. Neptune).
void PlanTriangle(Planner& p, const RelationshipChart& c, Rgb colour) {
    using namespace single_wheel;
    p.Text(WheelFont::System, 10, wheel_colour::kCaption, {kGridX + 110, kGridY - 20}, false, "Аспекты внутри карты");
    auto box = [](int row, int col) {
        return PixelBox{kGridX + kGridCell * col, kGridY + kGridCell * row, kGridX + kGridCell * (col + 1) + 1,
                        kGridY + kGridCell * (row + 1) + 1};
    };
    for (int col = 1; col < kBodyCount; ++col) p.Rect(box(0, col));
    for (int row = 1; row < kBodyCount; ++row)
        for (int col = 0; col <= row; ++col) p.Rect(box(row, col));
    for (int b = 1; b < kBodyCount; ++b) {
        p.Text(WheelFont::Symbol, 16, colour, {kGridX + kGridCell * b + kGridCell / 2, kGridY + kGridCell / 2 + 1},
               true, Code(BodyGlyphs[static_cast<std::size_t>(b)]));
        p.Text(WheelFont::Symbol, 16, colour, {kGridX + kGridCell / 2, kGridY + kGridCell * b + kGridCell / 2 - 1},
               true, Code(BodyGlyphs[static_cast<std::size_t>(b + 1)]));
    }
    for (int r = 2; r <= kBodyCount; ++r)
        for (int col = 1; col < r; ++col) {
            const unsigned char glyph =
                GridCellGlyph(c.aspects[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(col - 1)]);
            if (glyph != 0)
                p.Text(WheelFont::Symbol, 17, wheel_colour::kBlack, TriangleCellGlyphAt(r, col), false, Code(glyph));
        }
}

}  // namespace

Rgb RelationshipColour(RelationshipKind kind) {
    return kind == RelationshipKind::Composite ? single_wheel::kComposite : single_wheel::kDavison;
}

PixelPoint TriangleCellGlyphAt(int row, int column) {
    using namespace single_wheel;
    return {kGridX + kGridCell * column + 8, kGridY + kGridCell * (row - 1) + 2};
}

std::vector<std::string> WrapText(const std::string& utf8, std::size_t width) {
    std::vector<std::string> lines;
    std::string line, word;
    auto flushWord = [&] {
        if (word.empty()) return;
        if (!line.empty() && Utf8Length(line) + 1 + Utf8Length(word) > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char ch : utf8) {
        if (ch == ' ') flushWord();
        else word += ch;
    }
    flushWord();
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<WheelOp> PlanRelationshipWheel(const RelationshipWheelInput& in) {
    std::vector<WheelOp> ops;
    ops.reserve(400);
    ops.push_back(WheelFillRect{{-2, -2, in.width, in.height}, wheel_colour::kWhite});
    if (!in.draw) return ops;
    Planner p(ops);
    PlanHeading(p, in);
    if (!in.chart) {
        int y = 100;
        for (const std::string& line : WrapText(in.refusal, 90)) {
            p.Caption(wheel_colour::kBlack, {20, y}, line);
            y += 18;
        }
        return ops;
    }
    const RelationshipChart& c = *in.chart;
    const Rgb colour = RelationshipColour(c.kind);
    PlanAbout(p, in.width, c);
    PlanWheel(p, RoundToPixel(in.width / 2.0), wheel::kCentreY, c, colour);
    PlanTable(p, c, colour);
    PlanTriangle(p, c, colour);
    if (!c.cusps && !c.noHouses.empty()) {
        int y = single_wheel::kTableY + single_wheel::kTableRow * (kBodyCount + 1) + 12;
        for (const std::string& line : WrapText(c.noHouses, 40)) {
            p.Caption(wheel_colour::kCaption, {single_wheel::kTableX, y}, line);
            y += 18;
        }
    }
    return ops;
}

RelationshipWheelInput RelationshipWheelOf(RelationshipKind kind, const RelationshipCharts* charts) {
    RelationshipWheelInput in;
    in.kind = kind;
    in.draw = charts != nullptr;
    if (!charts) return in;
    in.womanName = DisplayName(charts->woman);
    in.manName = DisplayName(charts->man);
    if (kind == RelationshipKind::Composite) in.chart = &charts->composite;
    else if (charts->davison) in.chart = &*charts->davison;
    else in.refusal = charts->davisonRefusal;
    return in;
}

}  // namespace pelorin
