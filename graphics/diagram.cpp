#include "graphics/diagram.h"

#include <algorithm>

#include "analysis/score.h"
#include "base/cp1251.h"
#include "graphics/glyph_tables.h"

namespace pelorin {

namespace {

// Scale of the header picture: the bar begins at x = 442, next to the band
// marks of 30 %, 50 %, 70 % and 90 %.
constexpr int kPairBarX = 442;
constexpr int kPairMarks[] = {440, 505, 570, 640};
constexpr int kPairMarkTop = 30;
constexpr int kPairMarkBottom = 70;

// A list row's bar begins at x0 + 435; its light band marks are fixed columns.
constexpr int kRowBarOffset = 435;
constexpr int kRowMarks[] = {504, 569, 639};
constexpr int kRowRight = 650;
constexpr int kMaxRows = 99;

DiagramOp Fill(DiagramRect r, Rgb c) {
    DiagramOp op;
    op.kind = DiagramOp::Kind::Fill;
    op.rect = r;
    op.colour = c;
    return op;
}

DiagramOp Frame(DiagramRect r, Rgb c) {
    DiagramOp op = Fill(r, c);
    op.kind = DiagramOp::Kind::Frame;
    return op;
}

DiagramOp Line(int x1, int y1, int x2, int y2, Rgb c) {
    DiagramOp op = Fill({x1, y1, x2, y2}, c);
    op.kind = DiagramOp::Kind::Line;
    return op;
}

DiagramOp Text(int x, int y, std::string utf8, Rgb colour, int pointSize, bool bold, Rgb background) {
    DiagramOp op;
    op.kind = DiagramOp::Kind::Text;
    op.rect = {x, y, x, y};
    op.colour = colour;
    op.text = std::move(utf8);
    op.pointSize = pointSize;
    op.bold = bold;
    op.background = background;
    return op;
}

// A text of a column that ends 4 pixels before the next column at `nextX`.
DiagramOp ColumnText(int x, int y, std::string utf8, int nextX, int pointSize, Rgb background) {
    DiagramOp op = Text(x, y, std::move(utf8), kDiagramBlack, pointSize, false, background);
    op.maxWidth = nextX - x - 4;
    return op;
}

std::string PercentText(int p) { return std::to_string(p) + "%"; }

// trunc(200 (p - 30) / 60), 0 at 30 % and below.
int ScaleLength(int percent) {
    if (percent <= 30) return 0;
    return 200 * (percent - 30) / 60;  // both operands positive: truncation
}

void PairScaleMarks(DiagramOps& ops) {
    for (int x : kPairMarks) ops.push_back(Line(x, kPairMarkTop, x, kPairMarkBottom, kDiagramGrey));
}

}  // namespace

int DiagramFontPixels(int pointSize) {
    // The canvas's own conversion: size * 96 / 72, rounded to the nearest pixel.
    return (pointSize * 96 + 36) / 72;
}

std::optional<int> DiagramPercent(std::int32_t plusTotal, std::int32_t minusTotal) {
    const std::optional<std::int32_t> p = CompatPercentOf(plusTotal, minusTotal);
    if (!p) return std::nullopt;
    return static_cast<int>(*p);
}

BarLengths PairBarLengths(int percent) {
    if (percent > 90) return {205, 0};
    const int f = percent <= 30 ? 0 : std::max(ScaleLength(percent) - 3, 0);
    return {f, 200 - f};
}

BarLengths RankingBarLengths(int percent) {
    if (percent > 90) return {205, 0};
    const int f = ScaleLength(percent);
    return {f, 200 - f};
}

PairRowTexts PairRowTextsOf(const PersonRecord& man) {
    PairRowTexts t;
    t.Name = man.Name.str();
    const std::string_view place = man.Place.view();
    t.Place = std::string(place.substr(0, std::min<std::size_t>(place.size(), 25)));
    t.Date = man.DateText.str();
    return t;
}

std::string PercentileText(int percentile) { return "выше, чем у " + std::to_string(percentile) + " % пар"; }

DiagramOps PairBarOps(PairBarMode mode, std::int32_t minusTotal, std::int32_t plusTotal, const PairRowTexts& man,
                      int width, int height, const PairBarExtras& extras) {
    DiagramOps ops;
    ops.push_back(Fill({0, 0, width, height}, kDiagramWhite));

    // Column header, size 10.
    ops.push_back(Text(490, 0, "Совместимость", kPercentBlue, 10, false, kDiagramWhite));
    const std::pair<int, const char*> heads[] = {{10, extras.women ? "Имя женщины" : "Имя мужчины"},
                                                  {160, "Страна, город"},
                                                  {330, extras.women ? "Родилась" : "Родился"},
                                                  {430, "30%"},       {495, "50%"},           {560, "70%"},
                                                  {630, "90%"}};
    for (const auto& [x, text] : heads) ops.push_back(Text(x, 15, text, kDiagramBlack, 10, false, kDiagramWhite));
    PairScaleMarks(ops);
    if (mode == PairBarMode::ScaleOnly) return ops;

    const std::optional<int> p = DiagramPercent(plusTotal, minusTotal);

    // The row, size 8.
    const DiagramRect row{7, 35, 650, 59};
    ops.push_back(Fill(row, kPairRowBackground));
    ops.push_back(Frame(row, kDiagramGrey));
    ops.push_back(ColumnText(12, 38, Cp1251ToUtf8(man.Name), 157, 8, kPairRowBackground));
    ops.push_back(ColumnText(157, 38, Cp1251ToUtf8(man.Place), 327, 8, kPairRowBackground));
    ops.push_back(Text(327, 38, Cp1251ToUtf8(man.Date), kDiagramBlack, 8, false, kPairRowBackground));

    if (!p) {
        // No factor at all: no percentage exists. The marks cross the row as
        // usual; the plain text lies over them where the number would stand.
        PairScaleMarks(ops);
        ops.push_back(Text(kPairBarX - 30, 38, kNoFactorsText, kPercentBlue, 8, false, kPairRowBackground));
        return ops;
    }

    ops.push_back(Text(kPairBarX - 30, 38, PercentText(*p), kPercentBlue, 8, true, kPairRowBackground));
    const BarLengths bar = PairBarLengths(*p);
    if (bar.filled > 0) ops.push_back(Fill({kPairBarX, 41, kPairBarX + bar.filled, 53}, kBarFilled));
    if (bar.rest > 0)
        ops.push_back(Fill({kPairBarX + bar.filled, 41, kPairBarX + bar.filled + bar.rest, 53}, kBarRest));
    PairScaleMarks(ops);
    if (extras.percentile)
        ops.push_back(Text(655, 38, PercentileText(*extras.percentile), kPercentBlue, 8, false, kDiagramWhite));
    if (extras.percentWithHisHouses)
        ops.push_back(Text(655, 50, WithHisHousesText(*extras.percentWithHisHouses), kPercentBlue, 8, false,
                           kDiagramWhite));
    return ops;
}

std::string FactorLabel(const ScoreFactor& f) {
    const auto body = [](int n) {
        return std::string(n >= 1 && n <= 10 ? BodyNames[static_cast<std::size_t>(n)] : std::string_view("?"));
    };
    const std::string weight = (f.weight > 0 ? "+" : "") + std::to_string(f.weight);
    if (f.kind == ScoreFactor::Kind::House)
        return weight + "  " + body(f.manBody) + " мужчины в " + std::to_string(f.house) + "-м доме женщины";
    if (f.kind == ScoreFactor::Kind::ReverseHouse)
        return weight + "  " + body(f.womanBody) + " женщины в " + std::to_string(f.house) + "-м доме мужчины";
    std::string aspect = "аспект " + std::to_string(f.angle) + "°";
    switch (f.angle) {
        case 0: aspect = "соединение"; break;
        case 60: aspect = "секстиль"; break;
        case 90: aspect = "квадратура"; break;
        case 120: aspect = "тригон"; break;
        case 180: aspect = "оппозиция"; break;
        default: break;
    }
    return weight + "  " + body(f.manBody) + " мужчины – " + aspect + " – " + body(f.womanBody) + " женщины";
}

int RankingRowCount(const ScanTable& ranking) {
    int n = 0;
    while (n < kMaxRows && !IsUnusedEntry(ranking[static_cast<std::size_t>(n)])) ++n;
    return n;
}

int RankingRowTop(int i) { return kRankingX0 + kRankingRowPitch * (i - 1); }

int RankingPictureHeight(const ScanTable& ranking) {
    const int n = RankingRowCount(ranking);
    if (n == 0) return kRankingHeight;
    return std::max(kRankingHeight, RankingRowTop(n) + kRankingRowHeight + kRankingX0);
}

DiagramOps RankingRowOps(int x0, int y, const ScanEntry& entry, int i) {
    DiagramOps ops;
    const Rgb background = i % 2 != 0 ? kOddRowBackground : kEvenRowBackground;
    const DiagramRect row{x0, y, kRowRight, y + kRankingRowHeight};
    ops.push_back(Fill(row, background));
    ops.push_back(Frame(row, kDiagramGrey));

    const int ty = y + 3;
    ops.push_back(Text(x0 + 5, ty, std::to_string(i), kDiagramBlack, 9, false, background));
    ops.push_back(ColumnText(x0 + 30, ty, Cp1251ToUtf8(entry.ManName), x0 + 150, 9, background));
    ops.push_back(ColumnText(x0 + 150, ty, Cp1251ToUtf8(entry.ManPlace), x0 + 320, 9, background));
    ops.push_back(Text(x0 + 320, ty, Cp1251ToUtf8(entry.ManDate), kDiagramBlack, 9, false, background));

    if (entry.PercentWithHisHouses)
        ops.push_back(Text(kRowRight + 5, ty, WithHisHousesText(*entry.PercentWithHisHouses), kPercentBlue, 8, false,
                           kDiagramWhite));
    const int barX = x0 + kRowBarOffset;
    if (!entry.PercentDefined) {
        ops.push_back(Text(barX - 28, ty, kNoFactorsText, kPercentBlue, 8, false, background));
        return ops;
    }
    const int p = entry.CompatPercent;
    const BarLengths bar = RankingBarLengths(p);
    if (p <= 90) {
        ops.push_back(Text(barX - 28, ty, PercentText(p), kPercentBlue, 8, true, background));
        if (bar.filled > 0) ops.push_back(Fill({barX, y + 6, barX + bar.filled, y + 18}, kBarFilled));
        if (bar.rest > 0) ops.push_back(Fill({barX + bar.filled, y + 6, barX + bar.filled + bar.rest, y + 18}, kBarRest));
        for (int x : kRowMarks) ops.push_back(Line(x, y + 6, x, y + 18, kListMark));
    } else {
        ops.push_back(Text(barX - 30, ty, PercentText(p), kPercentBlue, 9, true, background));
        ops.push_back(Fill({barX, y + 6, x0 + 640, y + 18}, kBarFilled));
    }
    return ops;
}

DiagramOps RankingOps(RankingMode mode, const ScanTable& ranking, int width, int height) {
    DiagramOps ops;
    ops.push_back(Fill({0, 0, width, height}, kDiagramWhite));
    if (mode == RankingMode::Clear) return ops;
    const int n = RankingRowCount(ranking);
    for (int i = 1; i <= n; ++i) {
        DiagramOps row = RankingRowOps(kRankingX0, RankingRowTop(i), ranking[static_cast<std::size_t>(i - 1)], i);
        ops.insert(ops.end(), std::make_move_iterator(row.begin()), std::make_move_iterator(row.end()));
    }
    return ops;
}

}  // namespace pelorin
