#include "analysis/rtf_text.h"

#include <gtest/gtest.h>

#include <random>

#include "base/cp1251.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

std::string Text(const RtfParagraph& p) {
    std::string s;
    for (const RtfRun& r : p.runs) s += r.text;
    return Cp1251ToUtf8(s);
}

TEST(RtfText, ReadsThePairReportAsWritten) {
    const std::string rtf = test::ReadFile(std::string(PELORIN_SOURCE_DIR) + "/tests/data/report/Itogo.rtf");
    const RtfDocument d = ParseRtf(rtf);
    ASSERT_EQ(d.fonts.size(), 2u);
    EXPECT_EQ(d.fonts[0], "Courier");
    EXPECT_EQ(d.fonts[1], "Arial");
    const RtfParagraph* title = nullptr;
    const RtfParagraph* percent = nullptr;
    for (const RtfParagraph& p : d.paragraphs) {
        if (Text(p).find("АНАЛИЗ СОВМЕСТИМОСТИ") != std::string::npos) title = &p;
        if (Text(p).find("СОВМЕСТИМОСТЬ ") == 0) percent = &p;
    }
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->centred);
    EXPECT_TRUE(title->runs[0].bold);
    EXPECT_TRUE(title->runs[0].italic);
    EXPECT_EQ(title->runs[0].halfPoints, 24);
    EXPECT_EQ(Text(*title), "Программа \"Pelorin\":     АНАЛИЗ СОВМЕСТИМОСТИ");
    ASSERT_NE(percent, nullptr);
    EXPECT_TRUE(percent->centred);
    EXPECT_EQ(percent->runs[0].font, 1);
    EXPECT_EQ(percent->runs[0].halfPoints, 20);
    // Three empty paragraphs after the two header lines, before the title.
    EXPECT_TRUE(d.paragraphs[0].runs.empty());
    EXPECT_TRUE(d.paragraphs[2].runs.empty());
}

TEST(RtfText, ReportsWithTheOldDefaultCharsetReadTheSame) {
    const std::string rtf = test::ReadFile(std::string(PELORIN_SOURCE_DIR) + "/tests/data/report/Itogo_Men.rtf");
    std::string old = rtf;
    for (std::size_t at; (at = old.find("\\fcharset204 ")) != std::string::npos;) old.replace(at, 13, "\\fcharset1 ");
    ASSERT_NE(old, rtf);
    const RtfDocument a = ParseRtf(rtf);
    const RtfDocument b = ParseRtf(old);
    EXPECT_EQ(a.fonts, b.fonts);
    ASSERT_EQ(a.paragraphs.size(), b.paragraphs.size());
    for (std::size_t i = 0; i < a.paragraphs.size(); ++i) EXPECT_EQ(Text(a.paragraphs[i]), Text(b.paragraphs[i]));
}

TEST(RtfText, EscapesHexCharactersAndStates) {
    const RtfDocument d = ParseRtf(
        "{\\rtf1{\\fonttbl{\\f0 Courier;}}{\\*\\generator hidden}\\pard\\qc\\b A\\b0  b\\\\c\\{d\\}\\'e0\\par "
        "\\pard{\\i x}y\\fs30 z\\par}");
    ASSERT_EQ(d.paragraphs.size(), 2u);
    EXPECT_TRUE(d.paragraphs[0].centred);
    EXPECT_EQ(Text(d.paragraphs[0]), "A b\\c{d}а");
    EXPECT_TRUE(d.paragraphs[0].runs[0].bold);
    EXPECT_FALSE(d.paragraphs[0].runs[1].bold);
    EXPECT_FALSE(d.paragraphs[1].centred);
    ASSERT_EQ(d.paragraphs[1].runs.size(), 3u);
    EXPECT_TRUE(d.paragraphs[1].runs[0].italic);
    EXPECT_FALSE(d.paragraphs[1].runs[1].italic);  // the group ended
    EXPECT_EQ(d.paragraphs[1].runs[2].halfPoints, 30);
}

// The identity lines' columns: tab stops last until \pard, a \tab is a tab.
TEST(RtfText, TabStopsBelongToTheirParagraphs) {
    const RtfDocument d = ParseRtf("{\\rtf1\\pard\\tx3600\\tx7488 a\\tab b\\par c\\par \\pard d\\tx-5\\tx99999 e}");
    ASSERT_EQ(d.paragraphs.size(), 3u);
    EXPECT_EQ(d.paragraphs[0].tabStops, (std::vector<int>{3600, 7488}));
    EXPECT_EQ(Text(d.paragraphs[0]), "a\tb");
    EXPECT_EQ(d.paragraphs[1].tabStops, (std::vector<int>{3600, 7488}));
    EXPECT_TRUE(d.paragraphs[2].tabStops.empty());  // reset, and no stop off the page
}

TEST(RtfText, AnyBytesAreReadWithoutFailing) {
    std::mt19937 rng(7);
    const std::string alphabet = "{}\\'abcfsqpr0123456789 -*;\r\n\xe0\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string s(rng() % 200, ' ');
        for (char& c : s) c = alphabet[rng() % alphabet.size()];
        const RtfDocument d = ParseRtf(s);
        EXPECT_FALSE(d.paragraphs.empty());
    }
    // Deep nesting and cut-off escapes.
    EXPECT_NO_THROW(ParseRtf(std::string(100000, '{') + "x" + std::string(3, '}')));
    EXPECT_NO_THROW(ParseRtf("\\'"));
    EXPECT_NO_THROW(ParseRtf("\\fs99999999999999999999 x\\"));
}

}  // namespace
}  // namespace pelorin
