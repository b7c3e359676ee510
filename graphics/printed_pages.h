#pragma once
// The printed pages, apart from any printer: the lists of women and men, the
// chart page of a pair and the compatibility ranking. Each page is a list of
// printer operations in centimetres from the printable origin, in the order they
// are printed; the Qt layer (graphics/ui/printed_pages.h) sends them one by one
// to the printer routines.
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "analysis/pair_analysis.h"
#include "astro/chart_types.h"
#include "graphics/draw_geometry.h"
#include "graphics/rgb.h"
#include "people/person_record.h"

namespace pelorin {

inline constexpr Rgb kPrintBlack{0, 0, 0};
inline constexpr Rgb kPrintWhite{255, 255, 255};
inline constexpr Rgb kPrintYellow{255, 255, 0};
inline constexpr Rgb kPrintGrey{128, 128, 128};
inline constexpr Rgb kPrintSilver{192, 192, 192};

enum class PrintPen { Solid, Dot };

struct PrintOp {
    enum class Kind {
        Text,           // PrintTextAt at (x1, y1)
        TextPolar,      // PrintTextPolar around (cx, cy) at radius r1, chart angle a1
        Line,           // PrintLineAt from (x1, y1) to (x2, y2)
        RadialSegment,  // PrintRadialSegment around (cx, cy): (r1, a1) to (r2, a2)
        Rectangle,      // pen and brush set, then PrintRectangleAt (x1, y1) to (x2, y2)
        Circle,         // PrintCircleAt around (cx, cy), radius r1
        DotPolar,       // PrintDotPolar around (cx, cy) at (r1, a1), dot radius r2
    };
    Kind kind = Kind::Text;
    // Texts: Windows-1251 bytes; in the symbol font every byte is a symbol code.
    std::string text{};
    std::string font{};  // "Arial", "Courier" or the symbol font
    double size = 0;
    bool bold = false;
    Rgb colour = kPrintBlack;  // font colour, or pen colour of lines and shapes
    Rgb brush = kPrintWhite;
    bool brushSolid = true;
    int penWidth = 1;
    PrintPen pen = PrintPen::Solid;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double cx = 0, cy = 0, r1 = 0, a1 = 0, r2 = 0, a2 = 0;
    // Text: the room of its column (cm). A text wider than that in its font is
    // cut and ends in "…", so that it never runs into the next column; 0: no limit.
    double maxWidth = 0;
};

using PrintPage = std::vector<PrintOp>;
using PrintDocument = std::vector<PrintPage>;

// ---- Person lists ------------------------------------------------------------

inline constexpr int kListRowsPerPage = 67;

// Top of the texts of row `row` (1..67) of a list page: 2.75 + 0.35 row - 0.22.
double ListRowTop(int row);

// Rows that fit on a page `heightCm` high: 67 when the closing rule at 26.8 (27.1
// on the ranking) fits on the page, fewer on shorter paper.
int ListRowsThatFit(double heightCm, double closingY);

// The list of women or men, slot order, a row for every slot whose Day, Month
// and Year are all non-zero. Slots 1..67 on the first page exactly as the page
// is laid out; slots 68..99 follow on a second page with the same heading (on
// shorter paper the pages hold fewer rows each). A second page is made only when
// a slot after the first page is used.
PrintDocument PersonListDocument(const PersonTable& table, const PageMeasure& page);

// ---- Chart page --------------------------------------------------------------

struct ChartPageGeometry {
    double W = 0;
    double cx = 0, cy = 0;
    double R1 = 0, R2 = 0, R3 = 0, R4 = 0, R5 = 0;
    double x0 = 1.5, y0 = 0, h = 0.6;
    double c1 = 0, c2 = 0, c3 = 0;
    double gx = 0;
};
ChartPageGeometry ChartGeometry(double pageWidthCm);

// The shapes of the printed wheels (the chart page's and the relationship
// charts'): a filled circle, a radial segment, a dot on a circle (polar).
namespace print_ops {
inline PrintOp Circle(double cx, double cy, double r, Rgb brush) {
    return {.kind = PrintOp::Kind::Circle, .brush = brush, .cx = cx, .cy = cy, .r1 = r};
}
inline PrintOp Radial(double cx, double cy, double r1, double a1, double r2, double a2, int width = 1,
                      PrintPen pen = PrintPen::Solid) {
    return {.kind = PrintOp::Kind::RadialSegment, .penWidth = width, .pen = pen,
            .cx = cx, .cy = cy, .r1 = r1, .a1 = a1, .r2 = r2, .a2 = a2};
}
inline PrintOp Dot(double cx, double cy, double r, double a, double d) {
    return {.kind = PrintOp::Kind::DotPolar, .brush = kPrintBlack, .cx = cx, .cy = cy, .r1 = r, .a1 = a, .r2 = d};
}
// The wheel's four circles: the yellow sign band and the two rings inside it.
inline void PushWheelCircles(PrintPage& ops, const ChartPageGeometry& g) {
    ops.push_back(Circle(g.cx, g.cy, g.R1, kPrintYellow));
    for (double r : {g.R2, g.R3, g.R4}) ops.push_back(Circle(g.cx, g.cy, r, kPrintWhite));
}
}  // namespace print_ops

// The birth line of a printed heading: date, two blanks, time, two blanks,
// place (49 characters at most).
std::string HeadingBirthLine(const PersonRecord& p);

// Glyphs of the planets on the printed wheel (cm): the radius of each ring's
// glyphs from the ring divider R3, the arc a glyph of size 15 takes, where a
// leader ends (from R3) and how far a glyph moves before it gets one. The
// degree in the sign stands 0.45 further out than its glyph.
namespace printed_wheel {
inline constexpr double kWomanGlyphFromR3 = 0.8, kManGlyphFromR3 = -1.3;
inline constexpr double kWomanLeaderFromR3 = 0.5, kManLeaderFromR3 = -0.55;
inline constexpr double kGlyphArc = 0.6, kLeaderAfter = 0.18;
inline constexpr double kDegreeAbove = 0.45;
}  // namespace printed_wheel

// The body's glyph in the ephemeris table, from the table's left edge.
inline constexpr double kTableGlyphX = 2.0;

// The birth data of the chart page's heading begin right of the widest name:
// 20 characters of Courier 10 take 4.23 cm (0.6 em each) from x = 1.0.
inline constexpr double kChartBirthX = 5.5;
// The ranking's heading: the name in Arial 10 bold up to the birth data.
inline constexpr double kRankingBirthX = 6.0;

struct ChartPageInput {
    const PersonRecord& woman;
    const PersonRecord& man;
    const TChart& womanChart;
    const TChart& manChart;
    const TCusps& womanCusps;  // passed along; no house is printed
    const AspectGrid& grid;
    // His houses when known, printed across his ring; his birth time is
    // printed when he has one.
    const TCusps* manCusps = nullptr;
};
PrintPage ChartPageOps(const ChartPageInput& in, const PageMeasure& page);

// ---- Ranking -------------------------------------------------------------------

// Filled length of a ranking bar, cm: (p - 30) / 60 x 6.3, 0 up to 30 %, 6.3 from 90 %.
double RankingBarFill(int percent);

// Text top of ranking line `row` (1..67): 2.85 + 0.35 row, less 0.22.
double RankingRowY(int row);

// The ranking headed by the woman's birth data, one line per entry, entries
// 1..67 on the first page as it is laid out; entries 68..99 on a second page with
// the same heading when one of them is used. A man without a percentage (no
// database entry matched) shows the text of the screen list instead of his
// percentage and bar. With `women` the ranking is of women for the man `person`
// ("Имя женщины", "Родилась" in the column headers). The people the scan could
// not compute follow the ranking without a number, the reason in place of the
// bar.
PrintDocument RankingDocument(const PersonRecord& person, const ScanTable& ranked, const PageMeasure& page,
                              bool women = false, const std::vector<SkippedPerson>& skipped = {});

}  // namespace pelorin
