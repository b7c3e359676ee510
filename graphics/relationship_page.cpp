#include "graphics/relationship_page.h"

#include <cmath>

#include "astro/base_routines.h"
#include "base/cp1251.h"
#include "graphics/bi_wheel.h"
#include "graphics/glyph_tables.h"
#include "graphics/relationship_wheel.h"

namespace pelorin {

namespace {

constexpr const char* kArial = "Arial";
constexpr const char* kCourier = "Courier";

std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8); }
std::string OneChar(unsigned char code) { return std::string(1, static_cast<char>(code)); }

PrintOp Text(std::string text, const char* font, double size, double x, double y, bool bold = false) {
    return {.kind = PrintOp::Kind::Text, .text = std::move(text), .font = font, .size = size, .bold = bold, .x1 = x, .y1 = y};
}

// Glyphs of a grid or table on a clear brush: their text boxes are taller than
// a cell and a white one would erase the lines below them.
PrintOp Clear(PrintOp op) {
    op.brushSolid = false;
    return op;
}

PrintOp Line(double x1, double y1, double x2, double y2) {
    return {.kind = PrintOp::Kind::Line, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2};
}

PrintOp Box(double x1, double y1, double x2, double y2) {
    return {.kind = PrintOp::Kind::Rectangle, .brushSolid = false, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2};
}

using namespace print_ops;

PrintOp Polar(std::string text, const char* font, double size, double cx, double cy, double r, double a,
              Rgb brush = kPrintWhite) {
    return {.kind = PrintOp::Kind::TextPolar, .text = std::move(text), .font = font, .size = size,
            .brush = brush, .cx = cx, .cy = cy, .r1 = r, .a1 = a};
}

double AngleOf(double lon) { return NormDeg(std::isfinite(lon) ? lon : 0.0); }

}  // namespace

std::vector<std::string> RelationshipAboutLines(const RelationshipChart& c) {
    std::vector<std::string> lines{RelationshipTitle(c.kind)};
    if (c.kind == RelationshipKind::Davison) {
        lines.push_back("Момент (UT):");
        lines.push_back(MomentText(c.moment));
        lines.push_back("Место:");
        lines.push_back(LatitudeText(c.place.latitude) + ",");
        lines.push_back(LongitudeTextOfPlace(c.place.longitude));
    } else {
        lines.push_back("Середины планет");
        lines.push_back("женщины и мужчины");
    }
    if (!c.cusps) lines.push_back("Без домов");
    else if (c.kind == RelationshipKind::Davison) lines.push_back("Дома по Плацидусу");
    else lines.insert(lines.end(), {"Дома: середины", "куспидов"});
    return lines;
}

PrintPage RelationshipPageOps(const RelationshipPageInput& in, const PageMeasure& page) {
    const ChartPageGeometry g = ChartGeometry(page.widthCm);
    const double W = g.W, cx = g.cx, cy = g.cy;
    const RelationshipChart& c = in.chart;
    PrintPage ops;

    // Heading.
    ops.push_back(Text(Cp(RelationshipTitle(c.kind)), kArial, 10, 15.1, 0.7));
    ops.push_back(Line(1.0, 1.15, W - 1.0, 1.15));
    ops.push_back(Line(1.0, 1.2, W - 1.0, 1.2));
    ops.push_back(Text(Cp("Программа  \"Pelorin\""), kArial, 10, 1.0, 0.7, true));
    ops.push_back(Text(in.woman.Name.str(), kCourier, 10, 1.0, 1.4, true));
    ops.push_back(Text(HeadingBirthLine(in.woman), kCourier, 10, 4.5, 1.4, true));
    ops.push_back(Text(in.man.Name.str(), kCourier, 10, 1.0, 1.8, true));
    ops.push_back(Text(HeadingBirthLine(in.man), kCourier, 10, 4.5, 1.8, true));

    // Circles and signs; with houses the signs' bounds cross the band only.
    PushWheelCircles(ops, g);
    for (int n = 1; n <= 12; ++n) {
        const double a = 30.0 * (n - 1);
        ops.push_back(Radial(cx, cy, g.R1, a, c.cusps ? g.R2 : g.R4, a));
        ops.push_back(Polar(OneChar(SignGlyphs[n]), kSymbolFontFamily, 13, cx, cy, g.R1 - 0.4, a + 15, kPrintYellow));
    }

    // Houses: their cusps across both rings, the Ascendant and the Midheaven
    // thicker, the numbers in the inner ring.
    if (c.cusps) {
        for (int i = 1; i <= 12; ++i) {
            const double a = AngleOf((*c.cusps)[i]);
            ops.push_back(Radial(cx, cy, g.R4, a, g.R2, a, i == 1 || i == 10 ? 3 : 1));
            ops.push_back(Polar(std::to_string(i), kArial, 9, cx, cy, (g.R3 + g.R4) / 2, HouseMiddle(*c.cusps, i)));
        }
    }

    // Planets, on the ring of the chart page's woman.
    using namespace printed_wheel;
    std::vector<double> angles(kBodyCount);
    for (int i = 0; i < kBodyCount; ++i) angles[static_cast<std::size_t>(i)] = AngleOf(c.chart[i].Lon);
    const double glyphR = g.R3 + kWomanGlyphFromR3, leaderR = g.R3 + kWomanLeaderFromR3, dotR = g.R3 + 0.05;
    const std::vector<RingGlyph> glyphs = PlaceRingGlyphs(angles, glyphR, kGlyphArc, kLeaderAfter);
    for (int i = 1; i <= kBodyCount; ++i) {
        const double a = angles[static_cast<std::size_t>(i - 1)];
        const RingGlyph& gl = glyphs[static_cast<std::size_t>(i - 1)];
        ops.push_back(Dot(cx, cy, dotR, a, 0.05));
        ops.push_back(Radial(cx, cy, g.R4, a, g.R4 + 0.1, a, 2));
        if (gl.leader) ops.push_back(Radial(cx, cy, dotR, a, leaderR, gl.angle));
        ops.push_back(Polar(OneChar(BodyGlyphs[i]), kSymbolFontFamily, 15, cx, cy, glyphR, gl.angle));
        ops.push_back(Polar(std::to_string(c.chart[i - 1].SignDeg + 1), kSymbolFontFamily, 7, cx, cy,
                            glyphR + kDegreeAbove, gl.angle));
    }

    // Chords, each pair once: harmonious solid, tense dotted, none for a conjunction.
    for (int i = 0; i < kBodyCount; ++i)
        for (int j = i + 1; j < kBodyCount; ++j) {
            const int v = c.aspects[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (v != 60 && v != 120 && v != 90 && v != 180) continue;
            const PrintPen pen = (v == 60 || v == 120) ? PrintPen::Solid : PrintPen::Dot;
            ops.push_back(Radial(cx, cy, g.R5, angles[static_cast<std::size_t>(i)], g.R5,
                                 angles[static_cast<std::size_t>(j)], 1, pen));
        }
    ops.push_back(Circle(cx, cy, 0.35, kPrintWhite));

    // What the chart is, in the corner left of the wheel's foot, in short lines
    // that keep clear of the wheel.
    double ly = 16.7;
    for (const std::string& line : RelationshipAboutLines(c)) {
        ops.push_back(Text(Cp(line), kArial, 9, 1.0, ly));
        ly += 0.36;
    }

    // The bodies: name, glyph, position, house; the Ascendant and the Midheaven
    // below them where there are houses.
    const double x0 = g.x0, y0 = g.y0, h = g.h;
    const double c1 = x0 + 2.5, c2 = c1 + 1.9, c3 = c2 + 1.1;
    const int rows = 1 + kBodyCount + (c.cusps ? 2 : 0);
    ops.push_back(Text(Cp("Положение планет"), kSymbolFontFamily, 12, x0 + 0.2, y0 - 0.5));
    ops.push_back(Box(x0, y0, c3, y0 + rows * h));
    ops.push_back(Line(x0, y0 + h, c3, y0 + h));
    ops.push_back(Line(c1, y0, c1, y0 + rows * h));
    ops.push_back(Line(c2, y0, c2, y0 + rows * h));
    ops.push_back(Text(Cp("Планеты"), kArial, 9, x0 + 0.3, y0 + 0.15));
    ops.push_back(Text(Cp("Положение"), kArial, 9, c1 + 0.1, y0 + 0.15));
    ops.push_back(Text(Cp("Дом"), kArial, 9, c2 + 0.25, y0 + 0.15));
    for (int k = 1; k <= kBodyCount; ++k) {
        const double y = y0 + k * h + 0.03;
        ops.push_back(Text(Cp(BodyNames[static_cast<std::size_t>(k)]), kSymbolFontFamily, 10, x0 + 0.1, y));
        ops.push_back(Clear(Text(OneChar(BodyGlyphs[static_cast<std::size_t>(k)]), kSymbolFontFamily, 12,
                                 x0 + kTableGlyphX, y, true)));
        ops.push_back(Text(LongitudeText(c.chart[k - 1].Lon).longText, kSymbolFontFamily, 9, c1 + 0.1, y));
        const int house = c.houses[static_cast<std::size_t>(k - 1)];
        ops.push_back(Text(c.cusps && house > 0 ? std::to_string(house) : "-", kArial, 9, c2 + 0.35, y + 0.05));
    }
    if (c.cusps) {
        const std::pair<int, const char*> angleRows[] = {{1, "Асцендент"}, {10, "Середина неба"}};
        for (int k = 0; k < 2; ++k) {
            const double y = y0 + (kBodyCount + 1 + k) * h + 0.03;
            ops.push_back(Text(Cp(angleRows[k].second), kArial, 9, x0 + 0.1, y + 0.05));
            ops.push_back(Text(LongitudeText((*c.cusps)[angleRows[k].first]).longText, kSymbolFontFamily, 9,
                               c1 + 0.1, y));
            ops.push_back(Text(std::to_string(angleRows[k].first), kArial, 9, c2 + 0.35, y + 0.05));
        }
    } else if (!c.noHouses.empty()) {
        double y = y0 + rows * h + 0.25;
        for (const std::string& line : WrapText(c.noHouses, 50)) {
            ops.push_back(Text(Cp(line), kArial, 8, x0, y));
            y += 0.35;
        }
    }

    // The aspects among the bodies: the triangle under the diagonal of a 10 x 10
    // grid, columns Sun .. Neptune, rows Moon .. Pluto.
    const double gx = g.gx, cell = 0.6;
    ops.push_back(Text(Cp("Аспекты внутри карты"), kArial, 9, gx + 0.4, y0 - 0.5));
    for (int col = 1; col < kBodyCount; ++col) ops.push_back(Box(gx + cell * col, y0, gx + cell * (col + 1), y0 + cell));
    for (int row = 1; row < kBodyCount; ++row)
        for (int col = 0; col <= row; ++col)
            ops.push_back(Box(gx + cell * col, y0 + cell * row, gx + cell * (col + 1), y0 + cell * (row + 1)));
    for (int b = 1; b < kBodyCount; ++b) {
        ops.push_back(Clear(Text(OneChar(BodyGlyphs[static_cast<std::size_t>(b)]), kSymbolFontFamily, 12,
                                 gx + cell * b + 0.15, y0 + 0.03)));
        ops.push_back(Clear(Text(OneChar(BodyGlyphs[static_cast<std::size_t>(b + 1)]), kSymbolFontFamily, 12,
                                 gx + 0.15, y0 + cell * b + 0.03)));
    }
    for (int r = 2; r <= kBodyCount; ++r)
        for (int col = 1; col < r; ++col) {
            const int v = c.aspects[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(col - 1)];
            if (v == kNoAspect) continue;
            const unsigned char glyph = AspectGlyphAt(v);
            if (glyph == 0) continue;
            ops.push_back(Clear(Text(OneChar(glyph), kSymbolFontFamily, 13, gx + cell * col + 0.15,
                                     y0 + cell * (r - 1) + 0.03)));
        }
    return ops;
}

}  // namespace pelorin
