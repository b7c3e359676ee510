// The layout of the printed pages: where the texts and lines go, in cm, and how
// the lists break onto a second page.
#include "graphics/printed_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "graphics/glyph_tables.h"
#include "base/cp1251.h"
#include "base/short_text.h"

namespace pelorin {
namespace {

const PageMeasure kA4{20.0, 28.7, {}};

PersonRecord Person(const std::string& name, int day = 1) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Day = day;
    p.Month = 2;
    p.Year = 1970;
    p.DateText.set("01.02.1970");
    p.TimeText.set("12:30");
    p.Place.set(Utf8ToCp1251("Москва"));
    return p;
}

PersonTable TableOf(TableKind kind, int people) {
    PersonTable t{kind, {}};
    for (int n = 1; n <= people; ++n) t.slot(n) = Person("P" + std::to_string(n));
    return t;
}

std::vector<const PrintOp*> TextsAtX(const PrintPage& page, double x) {
    std::vector<const PrintOp*> r;
    for (const PrintOp& op : page)
        if (op.kind == PrintOp::Kind::Text && std::abs(op.x1 - x) < 1e-9) r.push_back(&op);
    return r;
}

const PrintOp* FindText(const PrintPage& page, const std::string& cp1251) {
    for (const PrintOp& op : page)
        if ((op.kind == PrintOp::Kind::Text || op.kind == PrintOp::Kind::TextPolar) && op.text == cp1251)
            return &op;
    return nullptr;
}

TEST(PrintedPersonList, FirstPageAsLaidOutAndTheRestOnASecondPage) {
    const PrintDocument doc = PersonListDocument(TableOf(TableKind::Women, 99), kA4);
    ASSERT_EQ(doc.size(), 2u);
    // Numbers at x 1.5: 67 on the first page, rows 1 and 67 at 2.88 and 25.98.
    auto numbers = TextsAtX(doc[0], 1.5);
    numbers.erase(std::remove_if(numbers.begin(), numbers.end(), [](auto* op) { return op->size != 8; }),
                  numbers.end());
    ASSERT_EQ(numbers.size(), 67u);
    EXPECT_EQ(numbers.front()->text, " 1");
    EXPECT_NEAR(numbers.front()->y1, 2.88, 1e-9);
    EXPECT_EQ(numbers.back()->text, "67");
    EXPECT_NEAR(numbers.back()->y1, 25.98, 1e-9);
    // The second page repeats the heading and goes on with slot 68 in the first row.
    ASSERT_NE(FindText(doc[1], Utf8ToCp1251(" Список женщин")), nullptr);
    const auto* n68 = FindText(doc[1], "68");
    ASSERT_NE(n68, nullptr);
    EXPECT_NEAR(n68->y1, 2.88, 1e-9);
    EXPECT_NE(FindText(doc[1], "99"), nullptr);
    EXPECT_EQ(FindText(doc[1], "67"), nullptr);
    // Heading texts and the closing rule.
    const auto* title = FindText(doc[0], Utf8ToCp1251("Программа  \"Pelorin\""));
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->bold);
    EXPECT_DOUBLE_EQ(title->x1, 1.5);
    EXPECT_DOUBLE_EQ(title->y1, 1.3);
    const PrintOp& closing = doc[0].back();
    EXPECT_EQ(closing.kind, PrintOp::Kind::Line);
    EXPECT_DOUBLE_EQ(closing.y1, 26.8);
    EXPECT_DOUBLE_EQ(closing.x2, 13.0);
}

TEST(PrintedPersonList, OnePageUpTo67AndClearedSlotsLeaveAGap) {
    PersonTable men = TableOf(TableKind::Men, 67);
    men.slot(5).Day = 0;  // a cleared slot
    const PrintDocument doc = PersonListDocument(men, kA4);
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_NE(FindText(doc[0], Utf8ToCp1251("Имя мужчины")), nullptr);
    EXPECT_EQ(FindText(doc[0], " 5"), nullptr);
    EXPECT_EQ(FindText(doc[0], "P5"), nullptr);
    const auto* six = FindText(doc[0], " 6");
    ASSERT_NE(six, nullptr);
    EXPECT_NEAR(six->y1, ListRowTop(6), 1e-9);
    // The time column, the place and the date at their x.
    const auto* time = FindText(doc[0], "12:30");
    ASSERT_NE(time, nullptr);
    EXPECT_DOUBLE_EQ(time->x1, 12.8);
    EXPECT_EQ(PersonListDocument(PersonTable{TableKind::Women, {}}, kA4).size(), 1u);  // an empty list
}

TEST(PrintedPersonList, ShortPaperBreaksEarlierAndKeepsEveryRowOnThePage) {
    const PageMeasure letter{20.3, 26.0, {}};
    const PrintDocument doc = PersonListDocument(TableOf(TableKind::Women, 99), letter);
    ASSERT_GE(doc.size(), 2u);
    int rows = 0;
    for (const PrintPage& page : doc)
        for (const PrintOp& op : page) {
            if (op.kind == PrintOp::Kind::Text) {
                EXPECT_LT(op.y1 + 0.35, letter.heightCm) << op.text;
            }
            if (op.kind == PrintOp::Kind::Line) {
                EXPECT_LT(op.y1, letter.heightCm);
            }
            if (op.kind == PrintOp::Kind::Text && op.x1 == 2.2 && op.size == 8) ++rows;
        }
    EXPECT_EQ(rows, 99);
    EXPECT_EQ(ListRowsThatFit(28.7, 26.8), 67);
    EXPECT_LT(ListRowsThatFit(26.0, 26.8), 67);
}

TEST(PrintedChartPage, GeometryOfA20cmPage) {
    const ChartPageGeometry g = ChartGeometry(20.0);
    EXPECT_DOUBLE_EQ(g.cx, 10.0);
    EXPECT_DOUBLE_EQ(g.cy, 10.7);
    EXPECT_NEAR(g.R1, 8.3, 1e-12);
    EXPECT_NEAR(g.R2, 7.5, 1e-12);
    EXPECT_NEAR(g.R3, 5.2, 1e-12);
    EXPECT_NEAR(g.R4, 2.9, 1e-12);
    EXPECT_NEAR(g.R5, 2.7, 1e-12);
    EXPECT_NEAR(g.y0, 19.8, 1e-12);
    EXPECT_NEAR(g.c3, 7.8, 1e-12);
    EXPECT_NEAR(g.gx, 11.5, 1e-12);
}

TEST(PrintedChartPage, CrowdedGlyphsMoveApartAlongTheRingWithLeadersFromTheirDots) {
    PersonRecord woman = Person("Анна"), man = Person("Борис");
    TChart wc{}, mc{};
    for (int i = 0; i < 10; ++i) {
        wc[i].Lon = 36.0 * i + 1;
        mc[i].Lon = 36.0 * i + 20;
    }
    const double crowd[5] = {200.0, 200.6, 201.2, 202.0, 202.9};  // five of the man's within 3 degrees
    for (int i = 0; i < 5; ++i) mc[i].Lon = crowd[i];
    TCusps cusps{};
    AspectGrid grid;
    ClearAspectGrid(grid);
    const PrintPage ops = ChartPageOps({woman, man, wc, mc, cusps, grid}, kA4);
    const ChartPageGeometry g = ChartGeometry(20.0);
    const double glyphR = g.R3 + printed_wheel::kManGlyphFromR3;
    std::vector<double> glyphs;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Kind::TextPolar && op.size == 15 && op.r1 == glyphR) glyphs.push_back(op.a1);
    ASSERT_EQ(glyphs.size(), 10u);
    const double minGap = printed_wheel::kGlyphArc / glyphR * 180 / 3.141592653589793;
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        for (std::size_t j = i + 1; j < glyphs.size(); ++j) EXPECT_GE(AngleApart(glyphs[i], glyphs[j]), minGap - 1e-9);
    int leaders = 0;
    for (const PrintOp& op : ops) {
        if (op.kind != PrintOp::Kind::RadialSegment || op.penWidth != 1 || op.r1 != g.R3 - 0.05) continue;
        ++leaders;
        EXPECT_TRUE(std::any_of(std::begin(crowd), std::end(crowd), [&](double a) { return std::fabs(a - op.a1) < 1e-9; }))
            << op.a1;
        EXPECT_NE(std::find(glyphs.begin(), glyphs.end(), op.a2), glyphs.end()) << op.a2;
    }
    EXPECT_GE(leaders, 2);
}

TEST(PrintedChartPage, ChordsGridRetrogradeMarksAndHeading) {
    PersonRecord woman = Person("Анна"), man = Person("Борис");
    man.TimeText.set("07:45");
    TChart wc{}, mc{};
    for (int i = 0; i < 10; ++i) {
        wc[i].Lon = 36.0 * i + 1;
        mc[i].Lon = 36.0 * i + 20;
    }
    wc[2].Speed = -0.5;
    TCusps cusps{};
    AspectGrid grid;
    ClearAspectGrid(grid);
    grid[0][0] = 0;    // conjunction: glyph, no chord
    grid[1][2] = 90;   // square: dotted chord
    grid[3][4] = 120;  // trine: solid chord
    const PrintPage ops = ChartPageOps({woman, man, wc, mc, cusps, grid}, kA4);
    const ChartPageGeometry g = ChartGeometry(20.0);
    std::vector<const PrintOp*> chords;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Kind::RadialSegment && op.r1 == g.R5 && op.r2 == g.R5) chords.push_back(&op);
    ASSERT_EQ(chords.size(), 2u);
    EXPECT_EQ(chords[0]->pen, PrintPen::Dot);
    EXPECT_DOUBLE_EQ(chords[0]->a1, 37.0);
    EXPECT_DOUBLE_EQ(chords[0]->a2, 92.0);
    EXPECT_EQ(chords[1]->pen, PrintPen::Solid);
    // The grid: a conjunction at cell (1, 1), the square at (2, 3).
    int glyphs = 0;
    for (const PrintOp& op : ops) {
        if (op.kind != PrintOp::Kind::Text || op.size != 13) continue;
        ++glyphs;
        if (op.text == "n") {
            EXPECT_NEAR(op.x1, 11.5 + 0.6 + 0.15, 1e-9);
            EXPECT_NEAR(op.y1, 19.8 + 0.6 + 0.03, 1e-9);
        }
    }
    EXPECT_EQ(glyphs, 3);
    // The retrograde mark only beside Mercury of the woman.
    int marks = 0;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Kind::Text && op.text == "\xB2") {
            ++marks;
            EXPECT_NEAR(op.x1, g.c1 + 1.8, 1e-9);
            EXPECT_NEAR(op.y1, g.y0 + 3 * g.h + 0.03, 1e-9);
        }
    EXPECT_EQ(marks, 1);
    // The man's birth line has no time; the woman's has hers.
    EXPECT_NE(FindText(ops, "01.02.1970  12:30  " + Utf8ToCp1251("Москва")), nullptr);
    EXPECT_NE(FindText(ops, "01.02.1970  " + Utf8ToCp1251("Москва")), nullptr);
    EXPECT_EQ(ops.end(), std::find_if(ops.begin(), ops.end(), [](const PrintOp& op) {
                  return op.text.find("07:45") != std::string::npos;
              }));
    // A man with his time and houses: the time in his line, his twelve cusps
    // across his own ring (the Ascendant and the Midheaven thicker) and their
    // numbers halfway along each house.
    man.TimeKnown = 1;
    TCusps his{};
    for (int i = 1; i <= 12; ++i) his[i] = std::fmod(100.0 + 30.0 * (i - 1), 360.0);
    const PrintPage withHouses = ChartPageOps({woman, man, wc, mc, cusps, grid, &his}, kA4);
    EXPECT_NE(FindText(withHouses, "01.02.1970  07:45  " + Utf8ToCp1251("Москва")), nullptr);
    std::vector<const PrintOp*> hisCusps;
    for (const PrintOp& op : withHouses)
        if (op.kind == PrintOp::Kind::RadialSegment && op.r1 == g.R4 && op.r2 == g.R3) hisCusps.push_back(&op);
    ASSERT_EQ(hisCusps.size(), 12u);
    EXPECT_DOUBLE_EQ(hisCusps[0]->a1, 100.0);
    EXPECT_EQ(hisCusps[0]->penWidth, 3);
    EXPECT_EQ(hisCusps[1]->penWidth, 1);
    EXPECT_EQ(hisCusps[9]->penWidth, 3);
    const PrintOp* first = FindText(withHouses, "1");
    ASSERT_NE(first, nullptr);
    EXPECT_DOUBLE_EQ(first->a1, 115.0);
    EXPECT_EQ(FindText(ops, "12"), nullptr);  // none without his houses
    // Twelve sign glyphs on the yellow band.
    int signs = 0;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Kind::TextPolar && op.size == 13 && op.brush == kPrintYellow) ++signs;
    EXPECT_EQ(signs, 12);
}

TEST(PrintedRanking, BarLengths) {
    EXPECT_DOUBLE_EQ(RankingBarFill(30), 0);
    EXPECT_DOUBLE_EQ(RankingBarFill(10), 0);
    EXPECT_NEAR(RankingBarFill(60), 3.15, 1e-12);
    EXPECT_DOUBLE_EQ(RankingBarFill(90), 6.3);
    EXPECT_DOUBLE_EQ(RankingBarFill(95), 6.3);
}

ScanEntry Entry(const std::string& name, int percent, bool defined = true) {
    ScanEntry e;
    e.ManName = name;
    e.ManDate = "01.02.1970";
    e.ManPlace = "Minsk";
    e.CompatPercent = percent;
    e.PercentDefined = defined;
    return e;
}

TEST(PrintedRanking, RowsBarsAndPages) {
    ScanTable ranked{};
    ranked[0] = Entry("A", 60);
    ranked[1] = Entry(" ", 0);  // an empty entry inside the list: its line stays empty
    ranked[2] = Entry("C", 30);
    ranked[3] = Entry("D", 0, false);
    const PersonRecord woman = Person("Анна");
    PrintDocument doc = RankingDocument(woman, ranked, kA4);
    ASSERT_EQ(doc.size(), 1u);
    const PrintPage& ops = doc[0];
    const auto* a = FindText(ops, "60%");
    ASSERT_NE(a, nullptr);
    EXPECT_NEAR(a->y1, 3.2 - 0.22, 1e-9);
    EXPECT_DOUBLE_EQ(a->x1, 11.6);
    EXPECT_EQ(FindText(ops, " 2"), nullptr);
    EXPECT_NE(FindText(ops, " 3"), nullptr);
    std::vector<const PrintOp*> rects;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Kind::Rectangle) rects.push_back(&op);
    ASSERT_EQ(rects.size(), 4u);  // two per bar; D has none
    EXPECT_NEAR(rects[0]->x2, 15.85, 1e-9);
    EXPECT_EQ(rects[0]->brush, kPrintGrey);
    EXPECT_EQ(rects[1]->brush, kPrintSilver);
    EXPECT_EQ(rects[1]->pen, PrintPen::Dot);
    EXPECT_DOUBLE_EQ(rects[1]->x2, 19.0);
    EXPECT_DOUBLE_EQ(rects[2]->x2, 12.7);  // 30 %: the grey part degenerates
    const auto* none = FindText(ops, Utf8ToCp1251("факторы не найдены"));
    ASSERT_NE(none, nullptr);
    EXPECT_NEAR(none->y1, RankingRowY(4) - 0.22, 1e-9);
    EXPECT_DOUBLE_EQ(ops.back().y1, 27.1);
    // 99 men: entries 68..99 on a second page with the heading.
    for (int j = 0; j < 99; ++j) ranked[j] = Entry("M" + std::to_string(j + 1), 50);
    doc = RankingDocument(woman, ranked, kA4);
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_NE(FindText(doc[1], Utf8ToCp1251(" Оценка совместимости")), nullptr);
    const auto* m68 = FindText(doc[1], "M68");
    ASSERT_NE(m68, nullptr);
    EXPECT_NEAR(m68->y1, RankingRowY(1) - 0.22, 1e-9);
    EXPECT_NE(FindText(doc[1], "M99"), nullptr);
    EXPECT_EQ(FindText(doc[0], "M68"), nullptr);
}

// The people a scan could not compute follow the ranking, unnumbered, with the
// reason; after a full first page they open a page of their own.
TEST(PrintedRanking, PeopleNotComputedFollowWithTheirReason) {
    ScanTable ranked{};
    ranked[0] = Entry("A", 60);
    ranked[1] = Entry("B", 40);
    const std::vector<SkippedPerson> skipped{
        {Utf8ToCp1251("Повреждённый"), "01.01.1980", "Minsk", "координаты места не число"}};
    const PersonRecord woman = Person("Анна");
    PrintDocument doc = RankingDocument(woman, ranked, kA4, false, skipped);
    ASSERT_EQ(doc.size(), 1u);
    const auto* name = FindText(doc[0], Utf8ToCp1251("Повреждённый"));
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR(name->y1, RankingRowY(3) - 0.22, 1e-9);
    EXPECT_EQ(FindText(doc[0], " 3"), nullptr);  // no rank number
    const auto* why = FindText(doc[0], Utf8ToCp1251("не рассчитан: координаты места не число"));
    ASSERT_NE(why, nullptr);
    EXPECT_GT(why->maxWidth, 0);  // cut before the page's edge
    EXPECT_EQ(RankingDocument(woman, ranked, kA4, true, skipped)[0].size(), doc[0].size());

    for (int j = 0; j < 67; ++j) ranked[j] = Entry("M" + std::to_string(j + 1), 50);
    doc = RankingDocument(woman, ranked, kA4, false, skipped);
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_NE(FindText(doc[1], Utf8ToCp1251("Повреждённый")), nullptr);
}

}  // namespace
}  // namespace pelorin
