#include "graphics/diagram.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/cp1251.h"

namespace pelorin {
namespace {

using Kind = DiagramOp::Kind;

std::vector<DiagramOp> OfKind(const DiagramOps& ops, Kind kind) {
    std::vector<DiagramOp> out;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(out), [&](const DiagramOp& o) { return o.kind == kind; });
    return out;
}

const DiagramOp* FindText(const DiagramOps& ops, const std::string& text) {
    for (const DiagramOp& o : ops)
        if (o.kind == Kind::Text && o.text == text) return &o;
    return nullptr;
}

// The fills in a colour, in order.
std::vector<DiagramRect> Fills(const DiagramOps& ops, Rgb colour) {
    std::vector<DiagramRect> out;
    for (const DiagramOp& o : ops)
        if (o.kind == Kind::Fill && o.colour == colour) out.push_back(o.rect);
    return out;
}

ScanEntry Man(const std::string& utf8Name, int percent, bool defined = true) {
    ScanEntry e;
    e.ManName = Utf8ToCp1251(utf8Name);
    e.ManDate = "01.02.1970";
    e.ManPlace = Utf8ToCp1251("Россия, Москва");
    e.CompatPercent = percent;
    e.PercentDefined = defined;
    e.PlusTotal = defined ? 10 : 0;
    return e;
}

PairRowTexts PairMan() { return {Utf8ToCp1251("Иван"), Utf8ToCp1251("Россия, Тула"), "05.06.1975"}; }

TEST(DiagramBars, LengthsAtTheEdgesOfTheScale) {
    // At 30 % and below nothing is blue; the whole 200 pixels are grey.
    for (int p : {-5, 0, 29, 30}) {
        EXPECT_EQ(PairBarLengths(p).filled, 0) << p;
        EXPECT_EQ(PairBarLengths(p).rest, 200) << p;
        EXPECT_EQ(RankingBarLengths(p).filled, 0) << p;
        EXPECT_EQ(RankingBarLengths(p).rest, 200) << p;
    }
    // 31 %: trunc(3.33) = 3, and the header bar takes those 3 off again.
    EXPECT_EQ(PairBarLengths(31).filled, 0);
    EXPECT_EQ(RankingBarLengths(31).filled, 3);
    EXPECT_EQ(PairBarLengths(50).filled, 63);
    EXPECT_EQ(PairBarLengths(50).rest, 137);
    EXPECT_EQ(RankingBarLengths(50).filled, 66);
    EXPECT_EQ(RankingBarLengths(50).rest, 134);
    EXPECT_EQ(PairBarLengths(90).filled, 197);
    EXPECT_EQ(PairBarLengths(90).rest, 3);
    EXPECT_EQ(RankingBarLengths(90).filled, 200);
    EXPECT_EQ(RankingBarLengths(90).rest, 0);
    for (int p : {91, 100, 250}) {
        EXPECT_EQ(PairBarLengths(p).filled, 205) << p;
        EXPECT_EQ(PairBarLengths(p).rest, 0) << p;
        EXPECT_EQ(RankingBarLengths(p).filled, 205) << p;
    }
}

TEST(DiagramBars, PercentOfTheTotals) {
    EXPECT_EQ(DiagramPercent(50, -50), 50);
    EXPECT_EQ(DiagramPercent(1, -7), 12);   // 12.5 to the even 12
    EXPECT_EQ(DiagramPercent(3, -5), 38);   // 37.5 to the even 38
    EXPECT_EQ(DiagramPercent(10, 0), 100);
    EXPECT_EQ(DiagramPercent(0, -10), 0);
    EXPECT_EQ(DiagramPercent(0, 0), std::nullopt);
}

TEST(DiagramFonts, PointsToPixelsAt96Dpi) {
    EXPECT_EQ(DiagramFontPixels(8), 11);
    EXPECT_EQ(DiagramFontPixels(9), 12);
    EXPECT_EQ(DiagramFontPixels(10), 13);
}

TEST(PairBar, ScaleOnlyDrawsTheHeaderAndNothingOfTheTotals) {
    const DiagramOps ops = PairBarOps(PairBarMode::ScaleOnly, -10, 30, PairMan());
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front().kind, Kind::Fill);
    EXPECT_EQ(ops.front().rect, (DiagramRect{0, 0, 803, 63}));
    EXPECT_EQ(ops.front().colour, kDiagramWhite);

    const DiagramOp* title = FindText(ops, "Совместимость");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->rect.left, 490);
    EXPECT_EQ(title->rect.top, 0);
    EXPECT_EQ(title->colour, kPercentBlue);
    EXPECT_EQ(title->pointSize, 10);
    const std::pair<int, std::string> heads[] = {{10, "Имя мужчины"}, {160, "Страна, город"}, {330, "Родился"},
                                                 {430, "30%"},       {495, "50%"},           {560, "70%"},
                                                 {630, "90%"}};
    for (const auto& [x, text] : heads) {
        const DiagramOp* t = FindText(ops, text);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->rect.left, x) << text;
        EXPECT_EQ(t->rect.top, 15) << text;
        EXPECT_EQ(t->colour, kDiagramBlack) << text;
        EXPECT_FALSE(t->bold) << text;
    }
    const auto lines = OfKind(ops, Kind::Line);
    ASSERT_EQ(lines.size(), 4u);
    const int xs[] = {440, 505, 570, 640};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(lines[k].rect, (DiagramRect{xs[k], 30, xs[k], 70}));
        EXPECT_EQ(lines[k].colour, kDiagramGrey);
    }
    // No row, no bar, no percentage.
    EXPECT_TRUE(Fills(ops, kPairRowBackground).empty());
    EXPECT_TRUE(Fills(ops, kBarFilled).empty());
    EXPECT_EQ(FindText(ops, "75%"), nullptr);
}

TEST(PairBar, FullRowAtFiftyPercent) {
    const DiagramOps ops = PairBarOps(PairBarMode::Full, -40, 40, PairMan());
    EXPECT_EQ(Fills(ops, kPairRowBackground), (std::vector<DiagramRect>{{7, 35, 650, 59}}));
    const auto frames = OfKind(ops, Kind::Frame);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (DiagramRect{7, 35, 650, 59}));
    EXPECT_EQ(frames[0].colour, kDiagramGrey);

    const std::pair<int, std::string> texts[] = {{12, "Иван"}, {157, "Россия, Тула"}, {327, "05.06.1975"}};
    for (const auto& [x, text] : texts) {
        const DiagramOp* t = FindText(ops, text);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->rect.left, x);
        EXPECT_EQ(t->rect.top, 38);
        EXPECT_EQ(t->pointSize, 8);
        EXPECT_EQ(t->background, kPairRowBackground);
    }
    // "50%" is also a column head; the row's is the bold blue one at y = 38.
    const auto isRowPercent = [](const DiagramOp& o) { return o.kind == Kind::Text && o.text == "50%" && o.bold; };
    const auto it = std::find_if(ops.begin(), ops.end(), isRowPercent);
    ASSERT_NE(it, ops.end());
    EXPECT_EQ(it->rect.left, 412);
    EXPECT_EQ(it->rect.top, 38);
    EXPECT_EQ(it->colour, kPercentBlue);
    EXPECT_EQ(it->pointSize, 8);

    EXPECT_EQ(Fills(ops, kBarFilled), (std::vector<DiagramRect>{{442, 41, 505, 53}}));
    EXPECT_EQ(Fills(ops, kBarRest), (std::vector<DiagramRect>{{505, 41, 642, 53}}));
    // The marks are drawn again after the bar, so they cross it.
    EXPECT_EQ(OfKind(ops, Kind::Line).size(), 8u);
    EXPECT_EQ(ops.back().kind, Kind::Line);
}

TEST(PairBar, AboveNinetyTheBarIsAllBlue) {
    const DiagramOps ops = PairBarOps(PairBarMode::Full, -9, 91, PairMan());
    EXPECT_EQ(Fills(ops, kBarFilled), (std::vector<DiagramRect>{{442, 41, 647, 53}}));
    EXPECT_TRUE(Fills(ops, kBarRest).empty());
    const DiagramOp* pct = FindText(ops, "91%");
    ASSERT_NE(pct, nullptr);
    EXPECT_EQ(pct->rect.left, 412);
    EXPECT_TRUE(pct->bold);
}

TEST(PairBar, LowPercentIsAllGrey) {
    const DiagramOps ops = PairBarOps(PairBarMode::Full, -80, 20, PairMan());
    EXPECT_TRUE(Fills(ops, kBarFilled).empty());
    EXPECT_EQ(Fills(ops, kBarRest), (std::vector<DiagramRect>{{442, 41, 642, 53}}));
    EXPECT_NE(FindText(ops, "20%"), nullptr);
}

TEST(PairBar, NoFactorsSaysSoInsteadOfANumberAndABar) {
    const DiagramOps ops = PairBarOps(PairBarMode::Full, 0, 0, PairMan());
    EXPECT_TRUE(Fills(ops, kBarFilled).empty());
    EXPECT_TRUE(Fills(ops, kBarRest).empty());
    // The only percentages are the column heads; none stands in the row.
    for (const DiagramOp& o : ops) {
        if (o.kind == Kind::Text && o.text.find('%') != std::string::npos) {
            EXPECT_EQ(o.rect.top, 15) << o.text;
        }
    }
    const DiagramOp* t = FindText(ops, kNoFactorsText);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rect.left, 412);
    EXPECT_EQ(t->rect.top, 38);
    EXPECT_EQ(t->background, kPairRowBackground);
    // The man is still named, and the text lies over the marks (drawn last).
    EXPECT_NE(FindText(ops, "Иван"), nullptr);
    EXPECT_EQ(ops.back().text, kNoFactorsText);
}

TEST(PairBar, RowTextsOfTheMansRecord) {
    PersonRecord man{};
    man.Name.set(Utf8ToCp1251("Пётр Сидоров        "));
    man.Place.set(Utf8ToCp1251("Российская Федерация, Санкт-Петербург"));  // cut to 30 by the record
    man.DateText.set("31.12.1999");
    const PairRowTexts t = PairRowTextsOf(man);
    EXPECT_EQ(t.Name, Utf8ToCp1251("Пётр Сидоров        "));
    EXPECT_EQ(t.Place, Utf8ToCp1251("Российская Федерация, Сан"));  // 25 characters, as a scan entry holds it
    EXPECT_EQ(t.Place.size(), 25u);
    EXPECT_EQ(t.Date, "31.12.1999");
}

TEST(Ranking, RowCountStopsAtTheFirstUnusedEntryAndAt99) {
    ScanTable t{};
    EXPECT_EQ(RankingRowCount(t), 0);
    t[0] = Man("А", 50);
    t[1] = Man("Б", 40);
    t[3] = Man("Г", 30);  // after the unused entry 3: not drawn
    EXPECT_EQ(RankingRowCount(t), 2);
    for (auto& e : t) e = Man("М", 50);
    EXPECT_EQ(RankingRowCount(t), 99);  // entry 100 is never a row
    // A name of two blanks or an empty name is a name; only a single blank ends.
    ScanTable u{};
    u[0].ManName = "  ";
    u[1].ManName = "";
    EXPECT_EQ(RankingRowCount(u), 2);
}

TEST(Ranking, ClearModeIsOnlyWhite) {
    ScanTable t{};
    t[0] = Man("А", 50);
    const DiagramOps ops = RankingOps(RankingMode::Clear, t);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].rect, (DiagramRect{0, 0, 782, 1500}));
    EXPECT_EQ(ops[0].colour, kDiagramWhite);
    EXPECT_EQ(RankingOps(RankingMode::List, ScanTable{}).size(), 1u);  // an empty list
}

TEST(Ranking, RowsOverlapByOneLineAndAlternate) {
    ScanTable t{};
    t[0] = Man("Первый", 50);
    t[1] = Man("Второй", 40);
    t[2] = Man("Третий", 35);
    const DiagramOps ops = RankingOps(RankingMode::List, t);
    EXPECT_EQ(Fills(ops, kOddRowBackground),
              (std::vector<DiagramRect>{{5, 5, 650, 29}, {5, 51, 650, 75}}));
    EXPECT_EQ(Fills(ops, kEvenRowBackground), (std::vector<DiagramRect>{{5, 28, 650, 52}}));
    const auto frames = OfKind(ops, Kind::Frame);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].rect.bottom - 1, frames[1].rect.top);  // the shared line
    const DiagramOp* second = FindText(ops, "Второй");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->rect.left, 35);
    EXPECT_EQ(second->rect.top, 31);
    EXPECT_EQ(second->background, kEvenRowBackground);
    const DiagramOp* number = FindText(ops, "3");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->rect.left, 10);
    EXPECT_EQ(number->rect.top, 54);
    EXPECT_EQ(FindText(ops, "Россия, Москва")->rect.left, 155);
    EXPECT_EQ(FindText(ops, "01.02.1970")->rect.left, 325);
}

TEST(Ranking, RowBarsAndMarks) {
    const DiagramOps mid = RankingRowOps(5, 100, Man("А", 50), 1);
    EXPECT_EQ(Fills(mid, kBarFilled), (std::vector<DiagramRect>{{440, 106, 506, 118}}));
    EXPECT_EQ(Fills(mid, kBarRest), (std::vector<DiagramRect>{{506, 106, 640, 118}}));
    const auto marks = OfKind(mid, Kind::Line);
    ASSERT_EQ(marks.size(), 3u);
    const int xs[] = {504, 569, 639};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(marks[k].rect, (DiagramRect{xs[k], 106, xs[k], 118}));
        EXPECT_EQ(marks[k].colour, kListMark);
    }
    const DiagramOp* pct = FindText(mid, "50%");
    ASSERT_NE(pct, nullptr);
    EXPECT_EQ(pct->rect.left, 412);  // 28 left of the bar
    EXPECT_EQ(pct->pointSize, 8);
    EXPECT_TRUE(pct->bold);

    const DiagramOps full = RankingRowOps(5, 100, Man("А", 90), 1);
    EXPECT_EQ(Fills(full, kBarFilled), (std::vector<DiagramRect>{{440, 106, 640, 118}}));
    EXPECT_TRUE(Fills(full, kBarRest).empty());  // a rest of 0 draws nothing

    const DiagramOps high = RankingRowOps(5, 100, Man("А", 95), 2);
    EXPECT_EQ(Fills(high, kBarFilled), (std::vector<DiagramRect>{{440, 106, 645, 118}}));
    EXPECT_TRUE(OfKind(high, Kind::Line).empty());
    const DiagramOp* hp = FindText(high, "95%");
    ASSERT_NE(hp, nullptr);
    EXPECT_EQ(hp->rect.left, 410);  // 30 left, in the row's size 9
    EXPECT_EQ(hp->pointSize, 9);
}

// The second figure: under the percentile right of the pair's row, inside the
// picture, and right of a ranking row that has it; a row or pair without it
// has nothing there.
TEST(Ranking, SecondFigureBesideTheRowWhereItExists) {
    PairBarExtras extras;
    extras.percentile = 80;
    extras.percentWithHisHouses = 58;
    const DiagramOps pair = PairBarOps(PairBarMode::Full, -40, 40, PairMan(), kPairBarWidth, kPairBarHeight, extras);
    const DiagramOp* t = FindText(pair, "с его домами: 58 %");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rect.left, 655);
    const DiagramOp* percentile = FindText(pair, "выше, чем у 80 % пар");
    ASSERT_NE(percentile, nullptr);
    EXPECT_GE(t->rect.top, percentile->rect.top + DiagramFontPixels(8));
    EXPECT_LE(t->rect.top + DiagramFontPixels(8), kPairBarHeight);
    extras.percentWithHisHouses.reset();
    EXPECT_EQ(FindText(PairBarOps(PairBarMode::Full, -40, 40, PairMan(), kPairBarWidth, kPairBarHeight, extras),
                       "с его домами: 58 %"),
              nullptr);

    ScanEntry e = Man("А", 50);
    e.PercentWithHisHouses = 47;
    const DiagramOps row = RankingRowOps(5, 100, e, 1);
    const DiagramOp* r = FindText(row, "с его домами: 47 %");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->rect.left, 655);  // right of the row's frame (650)
    EXPECT_EQ(r->rect.top, 103);
    EXPECT_NE(FindText(row, "50%"), nullptr);
    for (const DiagramOp& o : RankingRowOps(5, 100, Man("А", 50), 1))
        EXPECT_EQ(o.text.find("с его домами"), std::string::npos);
}

TEST(FactorLabels, OfEachKind) {
    EXPECT_EQ(FactorLabel({ScoreFactor::Kind::Aspect, 4, 1, 120, 0, 3}), "+3  Венера мужчины – тригон – Солнце женщины");
    EXPECT_EQ(FactorLabel({ScoreFactor::Kind::House, 7, 0, 0, 7, -2}), "-2  Сатурн мужчины в 7-м доме женщины");
    EXPECT_EQ(FactorLabel({ScoreFactor::Kind::ReverseHouse, 0, 2, 0, 4, 4}), "+4  Луна женщины в 4-м доме мужчины");
}

TEST(Ranking, MenWithoutAPercentageAreSaidToHaveNoFactors) {
    ScanEntry e = Man("Без факторов", 0, false);
    e.CompatPercent = 77;  // not read without PercentDefined
    const DiagramOps ops = RankingRowOps(5, 5, e, 4);
    EXPECT_TRUE(Fills(ops, kBarFilled).empty());
    EXPECT_TRUE(Fills(ops, kBarRest).empty());
    EXPECT_EQ(FindText(ops, "77%"), nullptr);
    EXPECT_EQ(FindText(ops, "0%"), nullptr);
    const DiagramOp* t = FindText(ops, kNoFactorsText);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rect.left, 412);
    EXPECT_NE(FindText(ops, "Без факторов"), nullptr);
    EXPECT_NE(FindText(ops, "4"), nullptr);
}

TEST(Ranking, PictureHeightHoldsEveryRow) {
    ScanTable t{};
    EXPECT_EQ(RankingPictureHeight(t), 1500);
    for (int k = 0; k < 60; ++k) t[static_cast<std::size_t>(k)] = Man("М", 50);
    EXPECT_EQ(RankingPictureHeight(t), 1500);  // row 60 ends at 1386
    for (auto& e : t) e = Man("М", 50);
    EXPECT_EQ(RankingRowTop(99), 2259);
    EXPECT_EQ(RankingPictureHeight(t), 2288);
    const DiagramOps ops = RankingOps(RankingMode::List, t, 782, RankingPictureHeight(t));
    EXPECT_EQ(OfKind(ops, Kind::Frame).size(), 99u);
    for (const DiagramOp& o : ops) EXPECT_LE(o.rect.bottom, 2288);
}

}  // namespace
}  // namespace pelorin
