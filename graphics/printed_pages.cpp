#include "graphics/printed_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/base_routines.h"
#include "graphics/bi_wheel.h"
#include "graphics/diagram.h"
#include "graphics/glyph_tables.h"
#include "base/cp1251.h"
#include "base/short_text.h"

namespace pelorin {

namespace {

constexpr const char* kArial = "Arial";
constexpr const char* kCourier = "Courier";

// Texts of the pages are written here in UTF-8 and printed as Windows-1251.
std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8); }

const std::string& ProgramTitle() {
    static const std::string t = Cp("Программа  \"Pelorin\"");
    return t;
}

// The operations of the pages, each with the fields its kind reads.
PrintOp Text(std::string text, const char* font, double size, double x, double y, bool bold = false,
             Rgb brush = kPrintWhite) {
    return {.kind = PrintOp::Kind::Text, .text = std::move(text), .font = font, .size = size, .bold = bold,
            .brush = brush, .x1 = x, .y1 = y};
}

// A text of a column that ends `gap` before the next column at `nextX`.
constexpr double kColumnGap = 0.15;
PrintOp ColumnText(std::string text, const char* font, double size, double x, double y, double nextX,
                   bool bold = false) {
    PrintOp op = Text(std::move(text), font, size, x, y, bold);
    op.maxWidth = nextX - x - kColumnGap;
    return op;
}

PrintOp Line(double x1, double y1, double x2, double y2, int width = 1, PrintPen pen = PrintPen::Solid,
             Rgb colour = kPrintBlack) {
    return {.kind = PrintOp::Kind::Line, .colour = colour, .penWidth = width, .pen = pen,
            .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2};
}

PrintOp Rectangle(double x1, double y1, double x2, double y2, Rgb brush, PrintPen pen = PrintPen::Solid) {
    return {.kind = PrintOp::Kind::Rectangle, .brush = brush, .pen = pen, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2};
}

using namespace print_ops;

PrintOp Polar(std::string text, double size, double cx, double cy, double r, double a, Rgb brush = kPrintWhite) {
    return {.kind = PrintOp::Kind::TextPolar, .text = std::move(text), .font = kSymbolFontFamily, .size = size,
            .brush = brush, .cx = cx, .cy = cy, .r1 = r, .a1 = a};
}

std::string OneChar(unsigned char code) { return std::string(1, static_cast<char>(code)); }

std::string TwoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", n);
    return buf;
}

std::string Cut(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

bool SlotUsed(const PersonRecord& r) { return r.Day != 0 && r.Month != 0 && r.Year != 0; }

// Pages needed for `lastUsed` (1-based) with `perPage` rows a page; at least one.
int PagesFor(int lastUsed, int perPage) {
    if (lastUsed <= 0) return 1;
    return (lastUsed + perPage - 1) / perPage;
}

// Where the closing rule of a page goes: its own place when every row fits,
// else just under the last row of the shorter page.
double ClosingY(int perPage, double closingY, double rowBottom) {
    return perPage >= kListRowsPerPage ? closingY : rowBottom + 0.15;
}

}  // namespace

std::string HeadingBirthLine(const PersonRecord& p) {
    return Cut(p.DateText.str() + "  " + p.TimeText.str() + "  " + p.Place.str(), 49);
}

// ---- Person lists ------------------------------------------------------------

double ListRowTop(int row) { return 2.75 + 0.35 * row - 0.22; }

int ListRowsThatFit(double heightCm, double closingY) {
    if (!(heightCm > 0) || closingY + 0.1 <= heightCm) return kListRowsPerPage;
    int rows = 0;
    // A row's text is about 0.35 cm high; keep the rule under it on the page.
    while (rows < kListRowsPerPage && ListRowTop(rows + 1) + 0.35 + 0.25 <= heightCm) ++rows;
    return std::max(rows, 1);
}

PrintDocument PersonListDocument(const PersonTable& table, const PageMeasure& page) {
    const bool women = table.kind == TableKind::Women;
    constexpr double kClosing = 26.8;
    const int perPage = ListRowsThatFit(page.heightCm, kClosing);
    int lastUsed = 0;
    for (int n = 1; n < kTableSlots; ++n)
        if (SlotUsed(table.slot(n))) lastUsed = n;
    const int pages = PagesFor(lastUsed, perPage);

    PrintDocument doc;
    for (int p = 0; p < pages; ++p) {
        PrintPage ops;
        ops.push_back(Text(ProgramTitle(), kArial, 10, 1.5, 1.3, true));
        ops.push_back(Text(Cp(women ? " Список женщин" : " Список мужчин"), kArial, 10, 16.5, 1.3));
        ops.push_back(Line(1.5, 1.9, 19.2, 1.9));
        ops.push_back(Line(1.5, 1.85, 19.2, 1.85));
        ops.push_back(Text(Cp(women ? "Имя женщины" : "Имя мужчины"), kArial, 10, 2.2, 2.3));
        ops.push_back(Text(Cp("Страна, город"), kArial, 10, 5.8, 2.3));
        ops.push_back(Text(Cp("Дата и время рождения"), kArial, 10, 10.8, 2.3));
        for (int row = 1; row <= perPage; ++row) {
            const int n = p * perPage + row;
            if (n >= kTableSlots) break;
            const PersonRecord& r = table.slot(n);
            if (!SlotUsed(r)) continue;
            const double y = ListRowTop(row);
            ops.push_back(Text(TwoDigits(n), kArial, 8, 1.5, y));
            ops.push_back(ColumnText(r.Name.str(), kArial, 8, 2.2, y, 5.8));
            ops.push_back(ColumnText(r.Place.str(), kArial, 8, 5.8, y, 10.8));
            ops.push_back(Text(r.DateText.str(), kArial, 8, 10.8, y));
            ops.push_back(Text(r.TimeText.str(), kArial, 8, 12.8, y));
        }
        const double closing = ClosingY(perPage, kClosing, ListRowTop(perPage) + 0.35);
        ops.push_back(Line(1.5, closing, 13.0, closing));
        doc.push_back(std::move(ops));
    }
    return doc;
}

// ---- Chart page ----------------------------------------------------------------

ChartPageGeometry ChartGeometry(double W) {
    ChartPageGeometry g;
    g.W = W;
    const double t = 0.7;
    g.cx = W / 2;
    g.cy = t + W / 2;
    g.R1 = W / 2 - 1.7;
    g.R2 = g.R1 - 0.8;
    g.R3 = g.R2 - 2.3;
    g.R4 = g.R3 - 2.3;
    g.R5 = g.R4 - 0.2;
    g.x0 = 1.5;
    g.y0 = g.cy + g.R1 + 0.8;
    g.h = 0.6;
    g.c1 = g.x0 + 2.5;
    g.c2 = g.c1 + 1.9;
    g.c3 = g.c2 + 1.9;
    g.gx = g.c2 + 1.9 + 0.4 + 0.9 + 2.0 + 0.4;
    return g;
}

PrintPage ChartPageOps(const ChartPageInput& in, const PageMeasure& page) {
    const ChartPageGeometry g = ChartGeometry(page.widthCm);
    const double W = g.W, cx = g.cx, cy = g.cy;
    PrintPage ops;

    // Heading.
    ops.push_back(Text(Cp("Гороскоп совместимости"), kArial, 10, 15.1, 0.7));
    ops.push_back(Line(1.0, 1.15, W - 1.0, 1.15));
    ops.push_back(Line(1.0, 1.2, W - 1.0, 1.2));
    ops.push_back(Text(PadRight(ProgramTitle(), 80), kArial, 10, 1.0, 0.7, true));

    // Birth data.
    // Birth data, right of the widest name (the birth lines end at most 49
    // characters, 10.4 cm, further on).
    ops.push_back(ColumnText(in.woman.Name.str(), kCourier, 10, 1.0, 1.4, kChartBirthX, true));
    ops.push_back(ColumnText(HeadingBirthLine(in.woman), kCourier, 10, kChartBirthX, 1.4, W - 0.85, true));
    ops.push_back(ColumnText(in.man.Name.str(), kCourier, 10, 1.0, 1.8, kChartBirthX, true));
    ops.push_back(ColumnText(in.man.TimeKnown ? HeadingBirthLine(in.man)
                                              : Cut(in.man.DateText.str() + "  " + in.man.Place.str(), 42),
                             kCourier, 10, kChartBirthX, 1.8, W - 0.85, true));

    // Circles.
    PushWheelCircles(ops, g);

    // Signs.
    for (int n = 1; n <= 12; ++n) {
        const double a = 30.0 * (n - 1);
        ops.push_back(Radial(cx, cy, g.R1, a, g.R4, a));
        ops.push_back(Polar(OneChar(SignGlyphs[n]), 13, cx, cy, g.R1 - 0.4, a + 3, kPrintYellow));
    }

    // His houses: the cusps across his own ring (the outer one is captioned
    // hers), the Ascendant and the Midheaven thicker, each number halfway
    // along its house by the inner circle.
    if (in.manCusps) {
        for (int i = 1; i <= 12; ++i) {
            const double a = NormDeg((*in.manCusps)[i]);
            ops.push_back(Radial(cx, cy, g.R4, a, g.R3, a, i == 1 || i == 10 ? 3 : 1));
            ops.push_back(Polar(std::to_string(i), 8, cx, cy, g.R4 + 0.3, NormDeg(HouseMiddle(*in.manCusps, i))));
        }
    }

    auto angleOf = [](const TChartBody& b) { return NormDeg(std::isfinite(b.Lon) ? b.Lon : 0.0); };
    auto degreeText = [](const TChartBody& b) { return std::to_string(b.SignDeg + 1); };

    // Planets: dot and tick at the exact longitude, the glyph and its degree
    // moved along the ring where it would touch a neighbour.
    using namespace printed_wheel;
    auto ring = [&](const TChart& chart, bool woman) {
        std::vector<double> angles(10);
        for (int i = 0; i < 10; ++i) angles[static_cast<std::size_t>(i)] = angleOf(chart[i]);
        const double glyphR = g.R3 + (woman ? kWomanGlyphFromR3 : kManGlyphFromR3);
        const double leaderR = g.R3 + (woman ? kWomanLeaderFromR3 : kManLeaderFromR3);
        const double dotR = woman ? g.R3 + 0.05 : g.R3 - 0.05;
        const std::vector<RingGlyph> glyphs = PlaceRingGlyphs(angles, glyphR, kGlyphArc, kLeaderAfter);
        for (int i = 1; i <= 10; ++i) {
            const TChartBody& b = chart[i - 1];
            const double a = angles[static_cast<std::size_t>(i - 1)];
            const RingGlyph& gl = glyphs[static_cast<std::size_t>(i - 1)];
            ops.push_back(Dot(cx, cy, dotR, a, 0.05));
            const PrintOp tick = Radial(cx, cy, g.R4, a, woman ? g.R4 + 0.1 : g.R4 - 0.1, a, 2);
            if (woman) ops.push_back(tick);
            if (gl.leader) ops.push_back(Radial(cx, cy, dotR, a, leaderR, gl.angle));
            ops.push_back(Polar(OneChar(BodyGlyphs[i]), 15, cx, cy, glyphR, gl.angle));
            if (!woman) ops.push_back(tick);
            ops.push_back(Polar(degreeText(b), 7, cx, cy, glyphR + kDegreeAbove, gl.angle));
        }
    };
    ring(in.womanChart, true);
    ring(in.manChart, false);

    // Chords.
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            const int v = in.grid[i][j];
            if (v != 60 && v != 120 && v != 90 && v != 180) continue;
            const PrintPen pen = (v == 60 || v == 120) ? PrintPen::Solid : PrintPen::Dot;
            ops.push_back(Radial(cx, cy, g.R5, angleOf(in.womanChart[i]), g.R5,
                                 angleOf(in.manChart[j]), 1, pen));
        }

    ops.push_back(Circle(cx, cy, 0.35, kPrintWhite));

    // Wheel legend.
    ops.push_back(Text(Cp("Внешнее кольцо - "), kArial, 9, 1.0, 17.0));
    ops.push_back(Text(Cp("дома и планеты "), kArial, 9, 1.0, 17.4));
    ops.push_back(Text(Cp("ЖЕНЩИНЫ"), kArial, 9, 1.0, 17.8));
    ops.push_back(Text(Cp("Внутреннее кольцо - "), kArial, 9, 1.0, 18.5));
    ops.push_back(Text(Cp("планеты МУЖЧИНЫ"), kArial, 9, 1.0, 18.9));

    // Ephemeris table.
    const double x0 = g.x0, y0 = g.y0, h = g.h, c1 = g.c1, c2 = g.c2, c3 = g.c3;
    // The table's title in the face of the page's other headings (the symbol
    // font draws its letters from another face).
    ops.push_back(Text(Cp("Эфемериды планет"), kArial, 11, x0 + 0.2, y0 - 0.55, true));
    ops.push_back(Rectangle(x0, y0, c3, y0 + 11 * h, kPrintWhite));
    ops.push_back(Line(x0, y0 + h, c3, y0 + h));
    ops.push_back(Line(c1, y0, c1, y0 + 11 * h));
    ops.push_back(Line(c2, y0, c2, y0 + 11 * h));
    ops.push_back(Text(Cp("Планеты"), kArial, 9, x0 + 0.3, y0 + 0.15));
    ops.push_back(Text(Cp("женщины"), kArial, 9, c1 + 0.3, y0 + 0.15));
    ops.push_back(Text(Cp("мужчины"), kArial, 9, c2 + 0.3, y0 + 0.15));
    for (int k = 1; k <= 10; ++k) {
        const double y = y0 + k * h + 0.03;
        ops.push_back(Text(Cp(BodyNames[k]), kSymbolFontFamily, 10, x0 + 0.1, y));
        // The glyph stands clear of the longest name, "Меркурий" (1.8 cm in size 10).
        ops.push_back(Text(OneChar(BodyGlyphs[k]), kSymbolFontFamily, 12, x0 + kTableGlyphX, y, true));
        const TChartBody& w = in.womanChart[k - 1];
        const TChartBody& m = in.manChart[k - 1];
        // Minutes and seconds in two digits, so that the rows line up.
        ops.push_back(Text(LongitudeText(w.Lon).paddedText, kSymbolFontFamily, 9, c1 + 0.1, y));
        if (w.Speed < 0) ops.push_back(Text(OneChar(0xB2), kSymbolFontFamily, 9, c1 + 1.8, y));
        ops.push_back(Text(LongitudeText(m.Lon).paddedText, kSymbolFontFamily, 9, c2 + 0.1, y));
        if (m.Speed < 0) ops.push_back(Text(OneChar(0xB2), kSymbolFontFamily, 9, c2 + 1.8, y));
    }

    // Aspect grid.
    const double gx = g.gx;
    // Two lines of Arial 9 (0.36 cm high each) apart, above the grid.
    ops.push_back(Text(Cp("По горизонтали - планеты мужчины"), kArial, 9, gx + 0.4, y0 - 0.82));
    ops.push_back(Text(Cp("По вертикали - планеты женщины"), kArial, 9, gx + 0.4, y0 - 0.42));
    for (int k = 0; k <= 11; ++k) ops.push_back(Line(gx, y0 + 0.6 * k, gx + 6.6, y0 + 0.6 * k));
    for (int k = 0; k <= 11; ++k) ops.push_back(Line(gx + 0.6 * k, y0, gx + 0.6 * k, y0 + 6.6));
    // The glyphs of the grid go on a clear brush: their text boxes are taller than
    // a cell and a white one would erase the cell lines below them.
    auto clear = [](PrintOp op) {
        op.brushSolid = false;
        return op;
    };
    for (int l = 1; l <= 10; ++l)
        ops.push_back(clear(Text(OneChar(BodyGlyphs[l]), kSymbolFontFamily, 12, gx + 0.6 * l + 0.15, y0 + 0.03)));
    for (int l = 1; l <= 10; ++l)
        ops.push_back(clear(Text(OneChar(BodyGlyphs[l]), kSymbolFontFamily, 12, gx + 0.15, y0 + 0.6 * l + 0.03)));
    for (int r = 1; r <= 10; ++r)
        for (int c = 1; c <= 10; ++c) {
            const int v = in.grid[r - 1][c - 1];
            if (v == 255) continue;
            const unsigned char glyph = AspectGlyphAt(v);
            if (glyph == 0) continue;  // no glyph at that angle: nothing to print
            ops.push_back(
                clear(Text(OneChar(glyph), kSymbolFontFamily, 13, gx + 0.6 * c + 0.15, y0 + 0.6 * r + 0.03)));
        }
    return ops;
}

// ---- Ranking -------------------------------------------------------------------

double RankingBarFill(int p) {
    if (p <= 30) return 0;
    if (p >= 90) return 6.3;
    return (p - 30) / 60.0 * 6.3;
}

double RankingRowY(int row) { return 2.85 + 0.35 * row; }

PrintDocument RankingDocument(const PersonRecord& person, const ScanTable& ranked, const PageMeasure& page,
                              bool women, const std::vector<SkippedPerson>& skipped) {
    const PersonRecord& woman = person;  // the heading's person: the woman of a ranking of men
    constexpr double kClosing = 27.1;
    const double W = page.widthCm;
    const int perPage = ListRowsThatFit(page.heightCm, kClosing);
    int lastUsed = 0;
    for (int j = 1; j < kScanEntries; ++j)  // entry 100 has no man: 99 slots
        if (!IsUnusedEntry(ranked[j - 1])) lastUsed = j;
    const int rows = lastUsed + static_cast<int>(skipped.size());
    const int pages = PagesFor(rows, perPage);

    PrintDocument doc;
    for (int p = 0; p < pages; ++p) {
        PrintPage ops;
        ops.push_back(Text(Cp(" Оценка совместимости"), kArial, 10, 15.3, 0.7));
        ops.push_back(Line(1.5, 1.15, W - 1.0, 1.15));
        ops.push_back(Line(1.5, 1.2, W - 1.0, 1.2));
        ops.push_back(ColumnText(woman.Name.str(), kArial, 10, 1.5, 1.4, kRankingBirthX, true));
        ops.push_back(ColumnText(HeadingBirthLine(woman), kArial, 10, kRankingBirthX, 1.4, W - 0.85, true));
        ops.push_back(Text(ProgramTitle(), kArial, 10, 1.5, 0.7, true));
        const double hy = 2.4;
        ops.push_back(Text(Cp(women ? "Имя женщины" : "Имя мужчины"), kArial, 10, 1.7, hy));
        ops.push_back(Text(Cp("Страна, город"), kArial, 10, 5.3, hy));
        ops.push_back(Text(Cp(women ? "Родилась" : "Родился"), kArial, 10, 9.6, hy));
        ops.push_back(Text("%", kArial, 10, 11.7, hy));
        ops.push_back(Text("30%", kArial, 10, 12.5, hy));
        ops.push_back(Text("50%", kArial, 10, 14.5, hy));
        ops.push_back(Text("70%", kArial, 10, 16.5, hy));
        ops.push_back(Text("90%", kArial, 10, 18.5, hy));
        ops.push_back(Text(Cp("Совместимость"), kArial, 10, 14.5, 2.0));
        for (int row = 1; row <= perPage; ++row) {
            const int n = p * perPage + row;
            if (n > rows) break;
            const double y = RankingRowY(row);
            const double ty = y - 0.22;
            if (n > lastUsed) {  // not computed: no number, the reason for the bar
                const SkippedPerson& s = skipped[n - lastUsed - 1];
                ops.push_back(ColumnText(s.Name, kArial, 8, 1.7, ty, 5.3));
                ops.push_back(ColumnText(s.Place, kArial, 8, 5.3, ty, 9.6));
                ops.push_back(Text(s.Date, kArial, 8, 9.6, ty));
                ops.push_back(ColumnText(Cp("не рассчитан" + std::string(women ? "а" : "") + ": " + s.Reason),
                                         kArial, 8, 11.6, ty, 19.15));
                continue;
            }
            const ScanEntry& e = ranked[n - 1];
            if (IsUnusedEntry(e)) continue;
            ops.push_back(Text(TwoDigits(n), kArial, 8, 1.0, ty));
            ops.push_back(ColumnText(e.ManName, kArial, 8, 1.7, ty, 5.3));
            ops.push_back(ColumnText(e.ManPlace, kArial, 8, 5.3, ty, 9.6));
            ops.push_back(Text(e.ManDate, kArial, 8, 9.6, ty));
            if (!e.PercentDefined) {
                ops.push_back(Text(Cp(kNoFactorsText), kArial, 8, 12.7, ty));
                continue;
            }
            ops.push_back(Text(std::to_string(e.CompatPercent) + "%", kArial, 8, 11.6, ty));
            const double f = RankingBarFill(e.CompatPercent);
            ops.push_back(Rectangle(12.7, y - 0.15, 12.7 + f, y + 0.1, kPrintGrey));
            ops.push_back(Rectangle(12.7 + f, y - 0.15, 19.0, y + 0.1, kPrintSilver, PrintPen::Dot));
            ops.push_back(Line(14.8, y - 0.15, 14.8, y + 0.1, 1, PrintPen::Solid, kPrintGrey));
            ops.push_back(Line(16.85, y - 0.15, 16.85, y + 0.1, 1, PrintPen::Solid, kPrintGrey));
        }
        const double closing = ClosingY(perPage, kClosing, RankingRowY(perPage) + 0.15);
        ops.push_back(Line(1.0, closing, 12.5, closing));
        doc.push_back(std::move(ops));
    }
    return doc;
}

}  // namespace pelorin
