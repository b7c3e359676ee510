#include <gtest/gtest.h>

#include "base/cp1251.h"

namespace pelorin {
namespace {

TEST(Cp1251, EveryUpperByteRoundTripsThroughUtf8) {
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = Cp1251ToUtf8(one);
        std::size_t bad = 0;
        EXPECT_EQ(Utf8ToCp1251(utf8, &bad), one) << "byte " << b;
        EXPECT_EQ(bad, std::string::npos) << "byte " << b;
        ASSERT_EQ(CodePointToCp1251(Cp1251ToCodePoint(static_cast<unsigned char>(b))).value_or(0), b);
    }
}

TEST(Cp1251, KnownCharactersOfTheUpperHalf) {
    EXPECT_EQ(Cp1251ToCodePoint(0xC0), U'А');
    EXPECT_EQ(Cp1251ToCodePoint(0xDF), U'Я');
    EXPECT_EQ(Cp1251ToCodePoint(0xE0), U'а');
    EXPECT_EQ(Cp1251ToCodePoint(0xFF), U'я');
    EXPECT_EQ(Cp1251ToCodePoint(0xA8), U'Ё');
    EXPECT_EQ(Cp1251ToCodePoint(0xB8), U'ё');
    EXPECT_EQ(Cp1251ToCodePoint(0xB0), U'°');
    EXPECT_EQ(Cp1251ToCodePoint(0x92), U'’');
    EXPECT_EQ(Cp1251ToCodePoint(0x97), U'—');
    EXPECT_EQ(Cp1251ToCodePoint(0x88), U'€');
    EXPECT_EQ(Cp1251ToCodePoint(0xB9), U'№');
    EXPECT_EQ(Cp1251ToCodePoint(0xA0), char32_t(0xA0));
    EXPECT_EQ(Cp1251ToCodePoint(0x80), U'Ђ');
}

TEST(Cp1251, ByteWithoutCharacterBecomesC1ControlAndBack) {
    // 0x98 is unassigned in Windows-1251: it travels as U+0098 so nothing is lost.
    EXPECT_EQ(Cp1251ToCodePoint(0x98), char32_t(0x98));
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");
    EXPECT_EQ(Utf8ToCp1251("\xC2\x98"), "\x98");
}

TEST(Cp1251, RussianTextConvertsBothWays) {
    const std::string utf8 = "Список женщин.  Всего: 3 — «Ёлка» 56°52’СШ";
    std::size_t bad = 0;
    const std::string cp = Utf8ToCp1251(utf8, &bad);
    EXPECT_EQ(bad, std::string::npos);
    EXPECT_EQ(cp.size(), 42u);
    EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
}

TEST(Cp1251, CharactersWithoutCodeAreMarkedAndReported) {
    std::size_t bad = 0;
    EXPECT_EQ(Utf8ToCp1251("ab\xE2\x98\x89" "c", &bad), "ab?c");  // U+2609 SUN
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(Utf8ToCp1251("x\xFFy", &bad), "x?y");  // malformed UTF-8
    EXPECT_EQ(bad, 1u);
    EXPECT_EQ(Utf8ToCp1251("\xD0", &bad), "?");  // cut sequence
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF", &bad), "??");  // overlong form of '/'
}

}  // namespace
}  // namespace pelorin
