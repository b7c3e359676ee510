#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "analysis/text_base.h"
#include "analysis/text_pack.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

std::string Refusal(EntryKind kind, const std::string& source) {
    try {
        PackTextSource(kind, source, "src.txt");
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

void ExpectRefused(EntryKind kind, const std::string& source, std::initializer_list<std::string> parts) {
    const std::string m = Refusal(kind, source);
    ASSERT_FALSE(m.empty()) << source;
    EXPECT_NE(m.find("«src.txt»"), std::string::npos) << m;
    for (const auto& p : parts) EXPECT_NE(m.find(p), std::string::npos) << m;
}

TEST(PackTextSource, ConvertsToWindows1251WithCrLf) {
    const PackedText p = PackTextSource(EntryKind::Aspect,
                                        "\xEF\xBB\xBF*   3   0   1   0   0   0   1\nЗаголовок\r\nТекст — «ё»\n@\n\n",
                                        "src.txt");
    EXPECT_EQ(p.plain, Utf8ToCp1251("*   3   0   1   0   0   0   1\r\nЗаголовок\r\nТекст — «ё»\r\n@\r\n\r\n"));
    EXPECT_EQ(p.lines, 5);
    EXPECT_EQ(p.entries, 1);
    EXPECT_EQ(PackTextSource(EntryKind::Natal, "", "src.txt").plain, "");
    // Entries without weight are allowed; the lookup passes them over.
    EXPECT_EQ(PackTextSource(EntryKind::House, "*   0   0   1   0   1   0   0\nt\nx\n@\n", "s").entries, 1);
    // The natal texts convert F1..F4 only.
    EXPECT_EQ(PackTextSource(EntryKind::Natal, "*   1   0   3   0\nx\n@\n", "s").entries, 1);
}

TEST(PackTextSource, RefusesWhatTheProgramCouldNotUse) {
    const std::string ok = "*   3   0   1   0   0   0   1\nt\nx\n@\n";
    ExpectRefused(EntryKind::Aspect, ok + "*   3   0   1   0  xx   0   1\nt\nx\n@\n", {"строка 5", "поле 5", "« xx»"});
    ExpectRefused(EntryKind::Sign, "*   0   1   1   0\nt\nx\n@\n", {"строка 1", "поле 5"});
    ExpectRefused(EntryKind::Aspect, "*  11   0   1   0   0   0   1\nt\nx\n@\n", {"строка 1", "11"});
    ExpectRefused(EntryKind::House, "*   0  12   1   0   1   0   0\nt\nx\n@\n", {"строка 1", "-12"});
    ExpectRefused(EntryKind::Aspect, ok + "*   3   0   1   0   0   0   2\nt\nx\n", {"строка 5", "«@»"});
    ExpectRefused(EntryKind::Aspect, "*   3   0   1   0   0   0   2\nt\nx\n" + ok, {"строка 1", "строка 4"});
    ExpectRefused(EntryKind::Aspect, "*   3   0   1   0   0   0   2\n@\nx\n@\n", {"строка 1"});
    ExpectRefused(EntryKind::Natal, ok + "x\nУ\u2603\n", {"строка 6", "позиции 2", "Windows-1251"});
    ExpectRefused(EntryKind::Natal, "ok\n\xff\n", {"строка 2"});
    std::string longSource;
    for (int i = 0; i < 1996; ++i) longSource += "x\n";
    ExpectRefused(EntryKind::Natal, longSource, {"1996", "1995"});
    longSource.resize(longSource.size() - 2);
    EXPECT_EQ(PackTextSource(EntryKind::Natal, longSource, "s").lines, 1995);
}

// The shipped sources: every key each report asks for, one entry each, with
// valid fields and a non-empty text.
class ShippedTexts : public ::testing::Test {
protected:
    static TextBase Packed(const DatabaseFile& db) {
        const std::string path = test::SourceDataDir() + "texts/" + db.text;
        const PackedText p = PackTextSource(db.kind, test::ReadFile(path), path);
        return TextBase(db.text, SplitTextLines(p.plain));
    }
    // The keys of all headers, in the key order of `kind`.
    static std::multiset<EntryKey> Keys(const TextBase& b, EntryKind kind) {
        std::multiset<EntryKey> keys;
        for (int n = 1; n <= b.lineCount(); ++n) {
            const std::string& l = b.line(n);
            if (l.empty() || l[0] != '*') continue;
            int f[8];
            for (int k = 1; k <= 7; ++k) f[k] = HeaderField(l, k).value_or(-999);
            switch (kind) {
                case EntryKind::Aspect: keys.insert({f[3], f[4], f[7], 0}); break;
                case EntryKind::House: keys.insert({f[3], f[5], 0, 0}); break;
                case EntryKind::Natal: keys.insert({f[1], f[2], f[3], f[4]}); break;
                case EntryKind::Sign: keys.insert({f[2], f[3], f[4], 0}); break;
            }
        }
        return keys;
    }
    static void ExpectCoverage(const DatabaseFile& db, const std::multiset<EntryKey>& expected) {
        const TextBase b = Packed(db);
        EXPECT_EQ(Keys(b, db.kind), expected) << db.text;
        const int skip = db.kind == EntryKind::Natal ? 1 : 2;
        for (const EntryKey& k : expected) {
            const FoundEntry e = b.Find(db.kind, k);
            ASSERT_NE(e.line, 0) << db.text << " " << k[0] << " " << k[1] << " " << k[2] << " " << k[3];
            if (db.kind == EntryKind::Aspect || db.kind == EntryKind::House) {
                EXPECT_GE(std::abs(e.weight), 1);
                EXPECT_LE(std::abs(e.weight), 10);
            }
            EXPECT_FALSE(b.EntryText(e.line, skip).empty()) << db.text << " line " << e.line;
            for (int f = 1; f <= 7; ++f) EXPECT_TRUE(HeaderField(b.line(e.line), f)) << db.text << " " << e.line;
        }
    }
    static constexpr int kManBodies[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
};

TEST_F(ShippedTexts, AspectsHaveThe450Keys) {
    std::multiset<EntryKey> keys;
    for (int m : kManBodies)
        for (int a : {0, 60, 90, 120, 180})
            for (int w = 1; w <= 10; ++w) keys.insert({m, a, w, 0});
    ASSERT_EQ(keys.size(), 450u);
    ExpectCoverage(kDatabaseFiles[0], keys);
}

TEST_F(ShippedTexts, HousesHaveThe108Keys) {
    std::multiset<EntryKey> keys;
    for (int m : kManBodies)
        for (int h = 1; h <= 12; ++h) keys.insert({m, h, 0, 0});
    ExpectCoverage(kDatabaseFiles[1], keys);
}

TEST_F(ShippedTexts, NatalHasOneSidePerPairAndClassButTwoConjunctions) {
    std::multiset<EntryKey> keys;
    const int bodies[] = {1, 3, 4, 5, 6, 7};  // Sun, Mercury, Venus, Mars, Jupiter, Saturn
    // Conjunctions: unfavourable for Saturn with the Sun, Mercury, Venus or Mars and
    // for Mars with the Sun or Mercury, favourable otherwise; the Sun with Mars or
    // Saturn has both sides.
    const std::set<std::pair<int, int>> conjunctionMinus{{1, 5}, {1, 7}, {3, 5}, {3, 7}, {4, 7}, {5, 7}};
    const std::set<std::pair<int, int>> conjunctionBoth{{1, 5}, {1, 7}};
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j) {
            const std::pair<int, int> pair{bodies[i], bodies[j]};
            keys.insert({pair.first, 120, pair.second, 0});
            keys.insert({pair.first, 180, pair.second, 50});
            if (conjunctionMinus.count(pair)) keys.insert({pair.first, 0, pair.second, 50});
            if (!conjunctionMinus.count(pair) || conjunctionBoth.count(pair))
                keys.insert({pair.first, 0, pair.second, 0});
        }
    ASSERT_EQ(keys.size(), 47u);
    ExpectCoverage(kDatabaseFiles[2], keys);
}

// The report shows every entry of a present aspect: a harmonious one must not
// be warned against, nor a tense one praised.
TEST_F(ShippedTexts, NatalTrinesAreNeverUnfavourableNorSquaresFavourable) {
    int checked = 0;
    for (const EntryKey& k : Keys(Packed(kDatabaseFiles[2]), EntryKind::Natal)) {
        if (k[1] == 120) { EXPECT_EQ(k[3], 0) << k[0] << " sextile/trine " << k[2]; }
        if (k[1] == 180) { EXPECT_EQ(k[3], 50) << k[0] << " square/opposition " << k[2]; }
        checked += k[1] != 0;
    }
    EXPECT_EQ(checked, 30);
}

TEST_F(ShippedTexts, SignsHaveThe60Keys) {
    std::multiset<EntryKey> keys;
    for (int s = 1; s <= 12; ++s) {
        keys.insert({s, 1, 0, 0});
        for (int body : {4, 5})
            for (int flag : {0, 50}) keys.insert({s, body, flag, 0});
    }
    ExpectCoverage(kDatabaseFiles[3], keys);
}

// Her body in his house: her ten bodies, the Moon included, in his twelve houses.
TEST_F(ShippedTexts, HerHousesHaveThe120Keys) {
    std::multiset<EntryKey> keys;
    for (int b = 1; b <= 10; ++b)
        for (int h = 1; h <= 12; ++h) keys.insert({b, h, 0, 0});
    ASSERT_EQ(kDatabaseFiles[kReverseDatabase].source, std::string("data1_r.dat"));
    ExpectCoverage(kDatabaseFiles[kReverseDatabase], keys);
}

TEST_F(ShippedTexts, TextsAreSafeForTheReportsAndAllDifferent) {
    std::set<std::string> seen;
    std::size_t herLines = 0;
    for (const DatabaseFile& db : kDatabaseFiles) {
        const TextBase b = Packed(db);
        const int skip = db.kind == EntryKind::Natal ? 1 : 2;
        for (int n = 1; n <= b.lineCount(); ++n) {
            if (b.line(n).empty() || b.line(n)[0] != '*') continue;
            if (db.kind == EntryKind::Aspect) {
                // Header, title, one text line, end line.
                ASSERT_LE(n + 3, b.lineCount());
                EXPECT_EQ(b.line(n + 3), "@") << db.text << " line " << n;
            }
            for (int t = n + skip; t <= b.lineCount() && b.line(t) != "@"; ++t) {
                const std::string& text = b.line(t);
                EXPECT_EQ(text.find_first_of("\\{}"), std::string::npos) << db.text << " line " << t;
                EXPECT_GE(text.size(), 200u) << db.text << " line " << t;
                EXPECT_LE(text.size(), 700u) << db.text << " line " << t;
                EXPECT_TRUE(seen.insert(text).second) << db.text << " line " << t << " repeats a text";
                herLines += &db == &kDatabaseFiles[kReverseDatabase];
            }
        }
    }
    EXPECT_GE(herLines, 120u);
    EXPECT_EQ(seen.size(), 450u + 118u + 48u + 72u + herLines);
}

}  // namespace
}  // namespace pelorin
