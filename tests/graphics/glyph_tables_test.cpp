#include "graphics/glyph_tables.h"

#include <gtest/gtest.h>

#include <set>

namespace pelorin {
namespace {

TEST(GlyphTables, SignsRunFromAtToK) {
    EXPECT_EQ(SignGlyphs[1], '@');
    EXPECT_EQ(SignGlyphs[2], 'A');
    EXPECT_EQ(SignGlyphs[12], 'K');
    EXPECT_EQ(SignNames[1], "Овен");
    EXPECT_EQ(SignNames[12], "Рыбы");
}

TEST(GlyphTables, BodyCodesOfTheThreeRanges) {
    EXPECT_EQ(BodyGlyphs[0], 0x20);
    const char chart[] = "LMNOPQRSTU";  // Sun .. Pluto
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(BodyGlyphs[i], chart[i - 1]) << i;
    EXPECT_EQ(BodyGlyphs[31], 'j');
    EXPECT_EQ(BodyGlyphs[32], 0xB4);
    EXPECT_EQ(BodyGlyphs[43], 0xBF);
    const unsigned char tail[] = {0x91, 0x8D, 0xA9, 0x8F, 0x90, 0x2B, 0xB3, 0x23, 0x7C, 0x26};
    for (int i = 44; i <= 53; ++i) EXPECT_EQ(BodyGlyphs[i], tail[i - 44]) << i;
}

TEST(GlyphTables, BodyNamesAtTheirIndices) {
    EXPECT_EQ(BodyNames[1], "Солнце");
    EXPECT_EQ(BodyNames[10], "Плутон");
    EXPECT_EQ(BodyNames[16], "Черная Луна");
    EXPECT_EQ(BodyNames[31], "Вертекс");
    EXPECT_EQ(BodyNames[32], "Куспид I дома");
    EXPECT_EQ(BodyNames[43], "Куспид XII дома");
    EXPECT_EQ(BodyNames[44], "Точка жизни");
    EXPECT_EQ(BodyNames[48], "IC");
    for (int i = 49; i <= 53; ++i) EXPECT_TRUE(BodyNames[i].empty()) << i;
}

TEST(GlyphTables, AspectGlyphsOnlyAtListedAngles) {
    const std::set<int> listed = {0,   1,   2,   3,   4,   18,  20,  24,  25,  30,  36,  40,
                                  45,  51,  60,  72,  77,  78,  80,  90,  100, 102, 103, 108,
                                  120, 128, 135, 140, 144, 150, 154, 156, 160, 162, 180};
    for (int a = 0; a <= 180; ++a)
        EXPECT_EQ(AspectGlyphs[a] != 0, listed.count(a) == 1) << a;
    EXPECT_EQ(AspectGlyphs[4], 0xAF);   // the same code as the minute mark
    EXPECT_EQ(AspectGlyphs[108], 0x81);
    EXPECT_EQ(AspectGlyphs[154], 0xA6);
    EXPECT_EQ(AspectGlyphAt(-1), 0);
    EXPECT_EQ(AspectGlyphAt(181), 0);
    EXPECT_EQ(AspectGlyphAt(5), 0);
}

TEST(GlyphTables, FiveComputedAspectsThroughTheirDegreeValues) {
    const unsigned char expected[] = {'n', 'x', '}', 0x82, 0xA8};
    for (int row = 1; row <= 5; ++row) {
        const int v = AspectDegreeValue(AspectNames[row]);
        EXPECT_EQ(AspectGlyphAt(v), expected[row - 1]) << row;
    }
    EXPECT_EQ(AspectNames[1].degreeText, "  0");
    EXPECT_EQ(AspectNames[2].degreeText, " 60");
    EXPECT_EQ(AspectNames[5].name, "Оппозиция");
    EXPECT_EQ(AspectDegreeValue({"x", "", "181"}), -1);
    EXPECT_EQ(AspectDegreeValue({"x", "", "6 0"}), -1);
}

}  // namespace
}  // namespace pelorin
