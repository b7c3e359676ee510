#include "ui/symbol_font.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <set>

#include "graphics/glyph_tables.h"

namespace pelorin {
namespace {

int InkOf(const QString& text, int pointSize = 24) {
    QImage img(80, 80, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setFont(SymbolFont(pointSize));
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 80, 80), Qt::AlignCenter, text);
    }
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) ++ink;
    return ink;
}

TEST(SymbolFont, FamilyResolvesToTheEmbeddedFont) {
    EXPECT_EQ(InstallSymbolFont(), QString::fromUtf8(kSymbolFontFamily));
    EXPECT_EQ(QFontInfo(SymbolFont(12)).family(), QString::fromUtf8(kSymbolFontFamily));
    EXPECT_EQ(InstallSymbolFont(), InstallSymbolFont());  // registered once
}

// The lists' columns need a fixed pitch wherever "Courier" itself is missing.
TEST(SymbolFont, CourierFallsBackToAFixedPitchTwin) {
    InstallSymbolFont();
    const QStringList twins = QFont::substitutes(QStringLiteral("Courier"));
    ASSERT_FALSE(twins.isEmpty());
    bool anyInstalled = false;
    for (const QString& twin : twins) {
        if (!QFontDatabase::hasFamily(twin)) continue;
        anyInstalled = true;
        EXPECT_TRUE(QFontInfo(QFont(twin)).fixedPitch()) << twin.toStdString();
    }
    EXPECT_TRUE(anyInstalled);
    EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("Courier"))).fixedPitch());
    EXPECT_FALSE(QFont::substitutes(QStringLiteral("Arial")).isEmpty());
}

TEST(SymbolFont, EveryCodeOfTheTablesDrawsInk) {
    std::set<unsigned char> codes;
    for (int n = 1; n <= 12; ++n) codes.insert(SignGlyphs[n]);
    for (int i = 1; i <= 53; ++i) codes.insert(BodyGlyphs[i]);
    for (unsigned char c : AspectGlyphs)
        if (c) codes.insert(c);
    codes.insert({0xAF, 0xB0, 0xB2});                  // minute, second, retrograde marks
    for (int c = '0'; c <= '9'; ++c) codes.insert(static_cast<unsigned char>(c));
    for (int c = 0xC0; c <= 0xFF; ++c) codes.insert(static_cast<unsigned char>(c));  // Cyrillic
    for (unsigned char c : codes) EXPECT_GT(InkOf(SymbolText(c)), 8) << std::hex << int(c);
    EXPECT_EQ(InkOf(SymbolText(0x20)), 0);
}

TEST(SymbolFont, SignsAndBodiesAreDistinctShapes) {
    std::set<QByteArray> shapes;
    auto shape = [](unsigned char code) {
        QImage img(60, 60, QImage::Format_Mono);
        img.fill(1);
        QPainter p(&img);
        p.setFont(SymbolFont(20));
        p.drawText(QRect(0, 0, 60, 60), Qt::AlignCenter, SymbolText(code));
        p.end();
        return QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
    };
    for (int n = 1; n <= 12; ++n) shapes.insert(shape(SignGlyphs[n]));
    for (int i = 1; i <= 10; ++i) shapes.insert(shape(BodyGlyphs[i]));
    EXPECT_EQ(shapes.size(), 22u);
}

TEST(SymbolFont, TextsOfBytesAndLetters) {
    EXPECT_EQ(SymbolText(0x40), QString(QChar(0xF040)));
    const QString s = SymbolString("\xC0\x31");
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0].unicode(), 0xF0C0);
    EXPECT_EQ(s[1].unicode(), 0xF031);
    // Ordinary letters are in the font as well.
    EXPECT_GT(InkOf(QString::fromUtf8("Ж")), 8);
}

}  // namespace
}  // namespace pelorin
