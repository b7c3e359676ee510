#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "graphics/bi_wheel.h"
#include "graphics/ui/bi_wheel_painter.h"
#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/person_record.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

constexpr int kW = 782, kH = 880, kCx = 391, kCy = 220;

// Whether a pixel within `d` of (x, y) has the colour.
bool NearColour(const QImage& img, PixelPoint p, QColor colour, int d = 1) {
    for (int y = p.y - d; y <= p.y + d; ++y)
        for (int x = p.x - d; x <= p.x + d; ++x)
            if (img.pixelColor(x, y) == colour) return true;
    return false;
}

bool HasInk(const QImage& img, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

struct FixedPair {
    TChart woman{}, man{};
    AspectGrid grid;
    FixedPair() {
        const double w[] = {0, 40, 75, 110, 150, 200, 230, 260, 300, 330};
        const double m[] = {120, 180, 15, 55, 95, 135, 215, 245, 285, 345};
        for (int i = 0; i < 10; ++i) {
            woman[i].Lon = w[i];
            man[i].Lon = m[i];
        }
        ClearAspectGrid(grid);
        grid[0][0] = 120;  // her Sun, his Sun: trine, red
        grid[0][1] = 180;  // her Sun, his Moon: opposition, blue
        grid[3][3] = 0;    // a conjunction: grid only
    }
    QImage Render(bool draw) const {
        QImage img(kW, kH, QImage::Format_RGB32);
        img.fill(QColor(255, 0, 0));
        QPainter p(&img);
        const TCusps cusps{};
        DrawBiWheel(p, kW, kH, woman, man, cusps, grid, draw);
        return img;
    }
};

const QColor kMagenta(255, 0, 255), kGreen(0, 128, 0), kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(0, 0, 0),
    kWhite(255, 255, 255), kBand(209, 231, 237);

TEST(BiWheelPicture, ClearingLeavesOnlyWhite) {
    const QImage img = FixedPair().Render(false);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST(BiWheelPicture, WheelHoldsInkAndChordsWhereTheGeometrySays) {
    const QImage img = FixedPair().Render(true);
    // The opposition runs straight across the centre at y = 220, the trine from
    // her Sun on the left down to his Sun at 60 screen degrees.
    EXPECT_TRUE(NearColour(img, {340, kCy}, kBlue, 0));
    EXPECT_TRUE(NearColour(img, {440, kCy}, kBlue, 0));
    const PixelPoint a = ScreenPolarPoint(kCx, kCy, 80, 180), b = ScreenPolarPoint(kCx, kCy, 80, 60);
    EXPECT_TRUE(NearColour(img, {(3 * a.x + b.x) / 4, (3 * a.y + b.y) / 4}, kRed));
    EXPECT_TRUE(NearColour(img, {(a.x + 3 * b.x) / 4, (a.y + 3 * b.y) / 4}, kRed));
    // No chord for the conjunction: the inside of the aspect circle above the
    // centre stays white.
    EXPECT_EQ(img.pixelColor(kCx, 170), kWhite);
    EXPECT_EQ(img.pixelColor(kCx - 40, 190), kWhite);
    // Central dot white inside a black ring.
    EXPECT_EQ(img.pixelColor(kCx, kCy), kWhite);
    EXPECT_TRUE(NearColour(img, {kCx, kCy - 7}, kBlack));
    // Her Sun's dot, tick and glyph; his Sun's dot and tick.
    EXPECT_EQ(img.pixelColor(245, kCy), kMagenta);
    EXPECT_TRUE(NearColour(img, {kCx - 85, kCy}, kMagenta));
    EXPECT_TRUE(HasInk(img, QRect(ScreenPolarPoint(kCx, kCy, 175, 23.5 * 360 / 46).x - 6,
                                  ScreenPolarPoint(kCx, kCy, 175, 23.5 * 360 / 46).y - 6, 13, 13)));
    EXPECT_EQ(img.pixelColor(ScreenPolarPoint(kCx, kCy, 140, 60).x, ScreenPolarPoint(kCx, kCy, 140, 60).y), kGreen);
    EXPECT_TRUE(NearColour(img, ScreenPolarPoint(kCx, kCy, 91, 60), kGreen));
    // The sign band's fill between two signs, and Aries' red glyph 4 degrees in.
    const PixelPoint band = ScreenPolarPoint(kCx, kCy, 213, 165);
    EXPECT_EQ(img.pixelColor(band.x, band.y), kBand);
    // (red ANDed onto the band's colour: the band's red stays, green and blue go).
    const PixelPoint aries = ScreenPolarPoint(kCx, kCy, 208, 176);
    bool redOnBand = false;
    for (int y = aries.y - 6; y <= aries.y + 6; ++y)
        for (int x = aries.x - 6; x <= aries.x + 6; ++x) {
            const QColor c = img.pixelColor(x, y);
            redOnBand |= c.red() == 209 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(redOnBand);
    // The sign boundary of Cancer straight below, across the planet rings.
    EXPECT_EQ(img.pixelColor(kCx, kCy + 160), kBlack);
    // Outer circle on the left edge of the wheel.
    EXPECT_TRUE(NearColour(img, {kCx - 218, kCy}, kBlack));
}

TEST(BiWheelPicture, LegendsListsAndGrid) {
    const QImage img = FixedPair().Render(true);
    // Captions in the persons' colours inside their boxes.
    bool magenta = false, green = false;
    for (int y = 10; y < 66; ++y)
        for (int x = 10; x < 148; ++x) magenta |= img.pixelColor(x, y) == kMagenta;
    for (int y = 10; y < 66; ++y)
        for (int x = kW - 168; x < kW - 6; ++x) green |= img.pixelColor(x, y) == kGreen;
    EXPECT_TRUE(magenta);
    EXPECT_TRUE(green);
    EXPECT_TRUE(NearColour(img, {5, 30}, kBlack, 0));  // the box's left edge
    // The planet lists: glyphs and longitude texts.
    EXPECT_TRUE(HasInk(img, QRect(15, 84, 20, 20)));
    EXPECT_TRUE(HasInk(img, QRect(45, 84, 40, 20)));
    EXPECT_TRUE(HasInk(img, QRect(kW - 85, 300, 20, 20)));
    // Grid lines, the conjunction's glyph in cell (4, 4), an empty cell (2, 2).
    EXPECT_EQ(img.pixelColor(15 + 36 * 3, 700), kBlack);
    EXPECT_EQ(img.pixelColor(200, 460 + 36 * 5), kBlack);
    EXPECT_EQ(img.pixelColor(411, 856), kBlack);
    EXPECT_TRUE(HasInk(img, QRect(15 + 36 * 4 + 2, 460 + 36 * 4 + 2, 32, 32)));
    EXPECT_TRUE(HasInk(img, QRect(15 + 36 * 1 + 2, 460 + 36 * 1 + 2, 32, 32)));   // her Sun, his Sun
    EXPECT_FALSE(HasInk(img, QRect(15 + 36 * 2 + 2, 460 + 36 * 2 + 2, 32, 32)));
    // Row header magenta, column header green.
    bool rowHead = false, colHead = false;
    for (int y = 500; y < 528; ++y)
        for (int x = 18; x < 48; ++x) rowHead |= img.pixelColor(x, y) == kMagenta;
    for (int y = 464; y < 494; ++y)
        for (int x = 55; x < 85; ++x) colHead |= img.pixelColor(x, y) == kGreen;
    EXPECT_TRUE(rowHead);
    EXPECT_TRUE(colHead);
    // Below the grid the picture is white.
    EXPECT_FALSE(HasInk(img, QRect(0, 860, kW, 20)));
}

PersonRecord Person(const std::string& name, const std::string& stamp, double moment) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Stamp.set(stamp);
    p.DateText.set("01.01.1970");
    p.TimeText.set("12:00");
    p.TimeKnown = 1;
    p.Place.set(Utf8ToCp1251("Москва"));
    p.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    p.Moment = moment;
    return p;
}

TEST(CliRender, WritesThePictureOfThePair) {
    test::ScratchDir dir;
    std::filesystem::copy_file(std::string(PELORIN_BINARY_DIR) + "/data/Fond.in", dir.file("Fond.in"));
    PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
    for (int i = 1; i <= kTableSlots; ++i) {
        ClearSlot(women, i);
        ClearSlot(men, i);
    }
    women.slot(2) = Person("Анна", "0101000001", 25000.3);
    men.slot(7) = Person("Борис", "0202000002", 24500.6);
    SavePersonFile(dir.file("FEMIN.DAT"), women);
    SavePersonFile(dir.file("MEN.DAT"), men);
    const std::string config = dir.file("main.dat");
    test::WriteFile(config, dir.path() + "\n" + dir.path() + "\n");
    const std::string base = "render --config " + test::Quote(config);

    const std::string out = dir.file("chart.png");
    const auto r = test::RunCli(base + " --woman 0101000001 --man 0202000002 --out " + test::Quote(out));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    QImage img;
    ASSERT_TRUE(img.load(QString::fromStdString(out), "PNG"));
    EXPECT_EQ(img.size(), QSize(kW, kH));
    EXPECT_EQ(img.pixelColor(kCx, kCy), kWhite);  // the central dot
    EXPECT_EQ(img.pixelColor(ScreenPolarPoint(kCx, kCy, 213, 165).x, ScreenPolarPoint(kCx, kCy, 213, 165).y),
              kBand);
    EXPECT_TRUE(HasInk(img, QRect(15, 84, 20, 20)));

    // The pair's composite and Davison chart, each in its own colour.
    for (const auto& [kind, colour] : {std::pair{"composite", QColor(128, 0, 128)}, std::pair{"davison", QColor(0, 96, 160)}}) {
        const auto k = test::RunCli(base + " --woman 0101000001 --man 0202000002 --chart " + kind + " --out " +
                                    test::Quote(out));
        ASSERT_EQ(k.exitCode, 0) << kind << ": " << k.err;
        ASSERT_TRUE(img.load(QString::fromStdString(out), "PNG"));
        bool inColour = false;
        for (int y = 0; y < 440 && !inColour; ++y)
            for (int x = 0; x < kW && !inColour; ++x) inColour = img.pixelColor(x, y) == colour;
        EXPECT_TRUE(inColour) << kind;
    }
    EXPECT_EQ(test::RunCli(base + " --woman 0101000001 --man 0202000002 --chart poster --out " + test::Quote(out)).exitCode,
              2);

    // A stamp not in the file is a data error, a missing option a usage error, an
    // unwritable output a data error.
    const auto unknown = test::RunCli(base + " --woman 0101000009 --man 0202000002 --out " + test::Quote(out));
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("0101000009"), std::string::npos) << unknown.err;
    EXPECT_EQ(test::RunCli(base + " --woman 0101000001 --man 0202000002").exitCode, 2);
    EXPECT_EQ(test::RunCli(base + " --woman 0101000001 --man 0202000002 --out " +
                           test::Quote(dir.file("no/such/dir/x.png")))
                  .exitCode,
              1);
}

}  // namespace
}  // namespace pelorin
