// The compatibility diagram painted into images: colours at the places the
// geometry names, and texts inked inside the boxes they are written in.
#include "graphics/ui/diagram.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>

#include "base/cp1251.h"

namespace pelorin {
namespace {

QRgb Rgb32(Rgb c) { return qRgb(c.r, c.g, c.b); }

QImage Picture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);  // anything the drawing leaves shows
    return img;
}

// Saves the picture when PELORIN_PICTURE_DIR names a directory, to look at.
void Keep(const QImage& img, const char* name) {
    const QString dir = qEnvironmentVariable("PELORIN_PICTURE_DIR");
    if (!dir.isEmpty()) img.save(QDir(dir).filePath(QString::fromUtf8(name) + ".png"));
}

// Pixels inside `box` that are neither of the two colours: the ink of a text.
int Ink(const QImage& img, const QRect& box, QRgb background) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (img.rect().contains(x, y) && img.pixel(x, y) != background) ++n;
    return n;
}

// Box of a text op as the painter writes it.
QRect TextBox(const DiagramOp& op) {
    const QFontMetrics m(DiagramFont(op.pointSize, op.bold));
    return QRect(op.rect.left, op.rect.top, m.horizontalAdvance(QString::fromUtf8(op.text)), m.height());
}

const DiagramOp& TextOp(const DiagramOps& ops, const std::string& text, int top) {
    for (const DiagramOp& o : ops)
        if (o.kind == DiagramOp::Kind::Text && o.text == text && o.rect.top == top) return o;
    ADD_FAILURE() << "no text " << text;
    static const DiagramOp none;
    return none;
}

// Whether some pixel of the box has exactly `colour` (the full colour of a text's ink).
bool HasPixelOf(const QImage& img, const QRect& box, QRgb colour) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (img.pixel(x, y) == colour) return true;
    return false;
}

// Black text: antialiasing leaves thin strokes grey, but some pixel is dark.
bool HasDarkPixel(const QImage& img, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100) return true;
        }
    return false;
}

ScanEntry Man(const std::string& utf8Name, int percent, bool defined = true) {
    ScanEntry e;
    e.ManName = Utf8ToCp1251(utf8Name);
    e.ManDate = "14.03.1968";
    e.ManPlace = Utf8ToCp1251("Россия, Екатеринбург");
    e.CompatPercent = percent;
    e.PercentDefined = defined;
    return e;
}

const PairRowTexts kMan{Utf8ToCp1251("Алексей"), Utf8ToCp1251("Россия, Казань"), "21.09.1972"};

TEST(PairBarPainting, ScaleOnlyIsWhiteWithGreyMarks) {
    QImage img = Picture(kPairBarWidth, kPairBarHeight);
    DrawPairBar(img, PairBarMode::ScaleOnly, -3, 7, kMan);
    Keep(img, "pair_scale_only");
    const QRgb white = qRgb(255, 255, 255), grey = Rgb32(kDiagramGrey);
    for (int x : {440, 505, 570, 640}) {
        EXPECT_EQ(img.pixel(x, 30), grey) << x;
        EXPECT_EQ(img.pixel(x, 62), grey) << x;  // down to the picture's bottom
        EXPECT_EQ(img.pixel(x, 29), white) << x;
        EXPECT_EQ(img.pixel(x + 1, 45), white) << x;
    }
    EXPECT_EQ(img.pixel(450, 47), white);  // no bar
    EXPECT_EQ(img.pixel(100, 47), white);  // no row
    EXPECT_EQ(img.pixel(802, 0), white);   // the whole picture is painted

    const DiagramOps ops = PairBarOps(PairBarMode::ScaleOnly, 0, 0, kMan);
    const QRect title = TextBox(TextOp(ops, "Совместимость", 0));
    EXPECT_TRUE(HasPixelOf(img, title, qRgb(0, 0, 255)));
    for (const char* head : {"Имя мужчины", "Родился", "30%", "90%"}) {
        const QRect box = TextBox(TextOp(ops, head, 15));
        EXPECT_GT(Ink(img, box, white), 10) << head;
        EXPECT_TRUE(HasDarkPixel(img, box)) << head;
    }
    // Nothing inked left of the first head nor between the rows of heads.
    EXPECT_EQ(Ink(img, QRect(0, 0, 9, 30), white), 0);
}

TEST(PairBarPainting, FiftyPercentBar) {
    QImage img = Picture(kPairBarWidth, kPairBarHeight);
    DrawPairBar(img, PairBarMode::Full, -25, 25, kMan);
    Keep(img, "pair_50");
    const QRgb blue = Rgb32(kBarFilled), rest = Rgb32(kBarRest), grey = Rgb32(kDiagramGrey),
               row = Rgb32(kPairRowBackground);
    EXPECT_EQ(img.pixel(442, 41), blue);
    EXPECT_EQ(img.pixel(504, 52), blue);  // 63 blue pixels: 442..504
    EXPECT_EQ(img.pixel(505, 47), grey);  // the 50 % mark crosses the bar
    EXPECT_EQ(img.pixel(506, 47), rest);
    EXPECT_EQ(img.pixel(641, 47), rest);
    EXPECT_EQ(img.pixel(642, 47), row);   // 200 pixels in all
    EXPECT_EQ(img.pixel(450, 40), row);
    EXPECT_EQ(img.pixel(450, 53), row);
    // The row: framed in grey, 7..649 by 35..58; the marks run through it.
    EXPECT_EQ(img.pixel(7, 47), grey);
    EXPECT_EQ(img.pixel(649, 47), grey);
    EXPECT_EQ(img.pixel(100, 35), grey);
    EXPECT_EQ(img.pixel(100, 58), grey);
    EXPECT_EQ(img.pixel(8, 57), row);
    EXPECT_EQ(img.pixel(650, 47), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(440, 45), grey);

    const DiagramOps ops = PairBarOps(PairBarMode::Full, -25, 25, kMan);
    const QRect name = TextBox(TextOp(ops, "Алексей", 38));
    EXPECT_GT(Ink(img, name, row), 10);
    const QRect pct = TextBox(TextOp(ops, "50%", 38));
    EXPECT_TRUE(HasPixelOf(img, pct, qRgb(0, 0, 255)));
    EXPECT_LE(pct.right(), 441);  // the number ends before the bar
}

TEST(PairBarPainting, NinetyAndAbove) {
    QImage at90 = Picture(kPairBarWidth, kPairBarHeight);
    DrawPairBar(at90, PairBarMode::Full, -1, 9, kMan);
    Keep(at90, "pair_90");
    EXPECT_EQ(at90.pixel(638, 47), Rgb32(kBarFilled));
    EXPECT_EQ(at90.pixel(639, 47), Rgb32(kBarRest));
    EXPECT_EQ(at90.pixel(641, 47), Rgb32(kBarRest));

    QImage at100 = Picture(kPairBarWidth, kPairBarHeight);
    DrawPairBar(at100, PairBarMode::Full, 0, 12, kMan);
    Keep(at100, "pair_100");
    EXPECT_EQ(at100.pixel(641, 47), Rgb32(kBarFilled));
    EXPECT_EQ(at100.pixel(646, 47), Rgb32(kBarFilled));
    EXPECT_EQ(at100.pixel(647, 47), Rgb32(kPairRowBackground));
    const QRect pct = TextBox(TextOp(PairBarOps(PairBarMode::Full, 0, 12, kMan), "100%", 38));
    EXPECT_TRUE(HasPixelOf(at100, pct, qRgb(0, 0, 255)));
}

TEST(PairBarPainting, NoFactorsShowsTheTextAndNoBar) {
    QImage img = Picture(kPairBarWidth, kPairBarHeight);
    DrawPairBar(img, PairBarMode::Full, 0, 0, kMan);
    Keep(img, "pair_no_factors");
    for (int y = 41; y < 53; ++y)
        for (int x = 442; x < 647; ++x) {
            ASSERT_NE(img.pixel(x, y), Rgb32(kBarFilled)) << x << "," << y;
            ASSERT_NE(img.pixel(x, y), Rgb32(kBarRest)) << x << "," << y;
        }
    const QRect box = TextBox(TextOp(PairBarOps(PairBarMode::Full, 0, 0, kMan), kNoFactorsText, 38));
    EXPECT_TRUE(HasPixelOf(img, box, qRgb(0, 0, 255)));
    // The text's box covers the marks it lies over; the marks show elsewhere.
    EXPECT_EQ(img.pixel(440, 39), Rgb32(kPairRowBackground));
    EXPECT_EQ(img.pixel(440, 32), Rgb32(kDiagramGrey));
    EXPECT_EQ(img.pixel(640, 47), Rgb32(kDiagramGrey));
}

TEST(RankingPainting, ClearAndEmptyAreWhite) {
    ScanTable t{};
    t[0] = Man("Борис", 60);
    QImage img = Picture(kRankingWidth, kRankingHeight);
    DrawRanking(img, t, RankingMode::Clear);
    EXPECT_EQ(img.size(), QSize(782, 1500));
    EXPECT_EQ(Ink(img, img.rect(), qRgb(255, 255, 255)), 0);

    QImage empty = Picture(kRankingWidth, kRankingHeight);
    DrawRanking(empty, ScanTable{}, RankingMode::List);
    EXPECT_EQ(empty.size(), QSize(782, 1500));
    EXPECT_EQ(Ink(empty, empty.rect(), qRgb(255, 255, 255)), 0);
}

TEST(RankingPainting, MixedRowsWithMenWithoutFactorsLast) {
    ScanTable t{};
    t[0] = Man("Борис", 95);
    t[1] = Man("Виктор", 50);
    t[2] = Man("Константин Долгоруко", 20);  // a full name of 20 characters
    t[3] = Man("Денис", 0, false);
    QImage img = Picture(kRankingWidth, kRankingHeight);
    DrawRanking(img, t, RankingMode::List);
    Keep(img, "ranking_mixed");
    const QRgb blue = Rgb32(kBarFilled), rest = Rgb32(kBarRest), odd = Rgb32(kOddRowBackground),
               even = Rgb32(kEvenRowBackground), grey = Rgb32(kDiagramGrey), mark = Rgb32(kListMark);
    // Row 1 (y = 5): 95 %, 205 blue pixels, no marks.
    EXPECT_EQ(img.pixel(440, 11), blue);
    EXPECT_EQ(img.pixel(569, 15), blue);
    EXPECT_EQ(img.pixel(644, 22), blue);
    EXPECT_EQ(img.pixel(645, 15), odd);
    // Row 2 (y = 28): 50 %, 66 blue pixels, light marks.
    EXPECT_EQ(img.pixel(505, 40), blue);
    EXPECT_EQ(img.pixel(504, 40), mark);
    EXPECT_EQ(img.pixel(506, 40), rest);
    EXPECT_EQ(img.pixel(569, 40), mark);
    EXPECT_EQ(img.pixel(639, 34), mark);
    EXPECT_EQ(img.pixel(639, 46), even);  // marks end with the bar
    EXPECT_EQ(img.pixel(30, 45), even);
    // The shared frame line between rows 1 and 2.
    EXPECT_EQ(img.pixel(100, 28), grey);
    EXPECT_EQ(img.pixel(100, 27), odd);
    // Row 3 (y = 51): 20 %, all grey.
    EXPECT_EQ(img.pixel(440, 60), rest);
    EXPECT_EQ(img.pixel(639, 60), mark);
    // Row 4 (y = 74): no factors, no bar.
    for (int x = 440; x < 645; ++x) {
        ASSERT_NE(img.pixel(x, 86), blue) << x;
        ASSERT_NE(img.pixel(x, 86), rest) << x;
    }
    const DiagramOps ops = RankingOps(RankingMode::List, t);
    EXPECT_TRUE(HasPixelOf(img, TextBox(TextOp(ops, kNoFactorsText, 77)), qRgb(0, 0, 255)));
    EXPECT_GT(Ink(img, TextBox(TextOp(ops, "Денис", 77)), even), 10);
    EXPECT_TRUE(HasPixelOf(img, TextBox(TextOp(ops, "95%", 8)), qRgb(0, 0, 255)));
    // Nothing under the last row.
    EXPECT_EQ(Ink(img, QRect(0, 98, 782, 1402), qRgb(255, 255, 255)), 0);
}

TEST(RankingPainting, NinetyNineMenAllFitOnTheTallerPicture) {
    ScanTable t{};
    for (int k = 0; k < kScanEntries; ++k)
        t[static_cast<std::size_t>(k)] = Man("Мужчина " + std::to_string(k + 1), 90 - (k * 60) / 99);
    QImage img = Picture(kRankingWidth, kRankingHeight);
    DrawRanking(img, t, RankingMode::List);
    Keep(img, "ranking_99");
    ASSERT_EQ(img.size(), QSize(782, 2288));
    const int top99 = RankingRowTop(99);
    EXPECT_EQ(top99, 2259);
    EXPECT_EQ(img.pixel(5, top99 + 23), Rgb32(kDiagramGrey));         // bottom frame of row 99
    EXPECT_EQ(img.pixel(20, top99 + 22), Rgb32(kOddRowBackground));   // 99 is odd
    EXPECT_EQ(img.pixel(442, top99 + 10), Rgb32(kBarFilled));         // 31 %: 3 blue pixels
    EXPECT_EQ(img.pixel(443, top99 + 10), Rgb32(kBarRest));
    const DiagramOps ops = RankingOps(RankingMode::List, t, 782, 2288);
    EXPECT_GT(Ink(img, TextBox(TextOp(ops, "99", top99 + 3)), Rgb32(kOddRowBackground)), 5);
    EXPECT_GT(Ink(img, TextBox(TextOp(ops, "Мужчина 99", top99 + 3)), Rgb32(kOddRowBackground)), 10);
    // Entry 100 is not drawn: white below row 99.
    EXPECT_EQ(Ink(img, QRect(0, top99 + 24, 782, 2288 - top99 - 24), qRgb(255, 255, 255)), 0);

    // On a painter of the page's fixed picture the rows past its bottom are cut.
    QImage fixed = Picture(kRankingWidth, kRankingHeight);
    {
        QPainter p(&fixed);
        DrawRanking(p, fixed.size(), t, RankingMode::List);
    }
    EXPECT_EQ(fixed.size(), QSize(782, 1500));
    EXPECT_EQ(fixed.pixel(20, RankingRowTop(65) + 10), Rgb32(kOddRowBackground));
}

TEST(RankingPainting, OneRowAtAnyPlace) {
    ScanTable t{};
    t[6] = Man("Егор", 70);
    QImage img = Picture(700, 60);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        DrawRankingRow(p, 5, 20, t, 7);
        DrawRankingRow(p, 5, 20, t, 0);    // no such entry: nothing
        DrawRankingRow(p, 5, 20, t, 101);  // nor here
    }
    EXPECT_EQ(img.pixel(5, 20), Rgb32(kDiagramGrey));
    EXPECT_EQ(img.pixel(20, 30), Rgb32(kOddRowBackground));
    EXPECT_EQ(img.pixel(440, 26), Rgb32(kBarFilled));  // 70 %: 133 blue pixels
    EXPECT_EQ(img.pixel(572, 26), Rgb32(kBarFilled));
    EXPECT_EQ(img.pixel(573, 26), Rgb32(kBarRest));
    EXPECT_EQ(img.pixel(20, 10), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace pelorin
