#include <gtest/gtest.h>

#include <random>

#include "analysis/text_base.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ReadFile;
using test::ScratchDir;

std::string Cp(const std::string& utf8) { return Utf8ToCp1251(utf8); }

// A header line of the database format from seven numbers.
std::string Header(int f1, int f2, int f3, int f4, int f5, int f6, int f7) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "* %3d %3d %3d %3d %3d %3d %3d", f1, f2, f3, f4, f5, f6, f7);
    return buf;
}

TextBase Base(std::vector<std::string> lines, std::string name = "data1.dat") {
    return TextBase(std::move(name), std::move(lines));
}

// Throws Error whose message contains every one of `parts`.
template <class F>
void ExpectError(F f, std::initializer_list<std::string> parts) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        for (const auto& p : parts) EXPECT_NE(std::string(e.what()).find(p), std::string::npos) << e.what();
    }
}

TEST(TextBaseFormat, ScramblingIsAByteWiseXorWithTheTwentyByteKey) {
    std::string plain(45, '\0');
    const std::string s = ScrambleBytes(plain);
    for (std::size_t k = 0; k < s.size(); ++k) EXPECT_EQ(static_cast<unsigned char>(s[k]), FileKey[k % 20]);
    const std::string text = Cp("*   9   0   1   0   0   0   1\r\nСолнце\r\n@\r\n");
    EXPECT_EQ(ScrambleBytes(ScrambleBytes(text)), text);
    EXPECT_NE(ScrambleBytes(text), text);
}

TEST(TextBaseFormat, LinesAsTheTextReaderSeesThem) {
    EXPECT_EQ(SplitTextLines(""), std::vector<std::string>{""});
    EXPECT_EQ(SplitTextLines("\r\n"), std::vector<std::string>{""});
    EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n\r\n"), (std::vector<std::string>{"a", "", "b", ""}));
}

TEST(TextBaseFormat, HeaderFieldsAreThreeCharacterNumbers) {
    const std::string h = "*   5 005 120  -3 x 7   9  12";
    EXPECT_EQ(HeaderField(h, 1), 5);
    EXPECT_EQ(HeaderField(h, 2), 5);
    EXPECT_EQ(HeaderField(h, 3), 120);
    EXPECT_EQ(HeaderField(h, 4), -3);
    EXPECT_EQ(HeaderField(h, 5), std::nullopt);  // "x 7"
    EXPECT_EQ(HeaderField(h, 6), 9);
    EXPECT_EQ(HeaderField(h, 7), 12);
    EXPECT_EQ(HeaderField("*       1", 1), std::nullopt);  // blank field
    EXPECT_EQ(HeaderField("* 5   1", 1), std::nullopt);    // "5  ": not right-aligned
    EXPECT_EQ(HeaderField("*   1", 2), std::nullopt);      // past the end of the line
    EXPECT_EQ(HeaderField("*   1 - 1", 2), std::nullopt);
    // Anything after column 29 is ignored.
    EXPECT_EQ(HeaderField(Header(1, 2, 3, 4, 5, 6, 7) + "junk", 7), 7);
}

TEST(TextBaseFormat, PointWordsFollowTheMagnitude) {
    EXPECT_EQ(PointWords(1), Cp("балл"));
    for (int n : {2, 3, 4}) EXPECT_EQ(PointWords(n), Cp("балла"));
    for (int n = 5; n <= 10; ++n) EXPECT_EQ(PointWords(n), Cp("баллов"));
    EXPECT_EQ(PointWords(0), std::nullopt);
    EXPECT_EQ(PointWords(11), std::nullopt);
    EXPECT_EQ(PointsHeading(1, "x", 1), Cp("     +1 балл"));
    EXPECT_EQ(PointsHeading(4, "x", 1), Cp("     +4 балла"));
    EXPECT_EQ(PointsHeading(-7, "x", 1), Cp("     -7 баллов"));
    EXPECT_EQ(PointsHeading(-2, "x", 1), Cp("     -2 балла"));
    ExpectError([] { PointsHeading(-11, "data1.dat", 12); }, {"data1.dat", "строка 12", "-11"});
}

TEST(TextBaseLookup, WeightRules) {
    const TextBase b = Base({
        Header(0, 0, 1, 90, 0, 0, 2), "t", "no weight", "@",   // passed over
        Header(0, 4, 1, 90, 0, 0, 2), "t", "minus four", "@",  // -4
        Header(7, 0, 1, 90, 0, 0, 2), "t", "later", "@",       // never reached
        Header(2, 5, 3, 0, 0, 0, 4), "t", "plus two", "@",     // F1 wins over F2
        Header(-3, 0, 3, 60, 0, 0, 4), "t", "F1 not > 0", "@", // F1 <= 0: weight from F2 -> none
    });
    EXPECT_EQ(AspectWeight(b, 1, 90, 2), -4);
    EXPECT_EQ(AspectWeight(b, 3, 0, 4), 2);
    EXPECT_EQ(AspectWeight(b, 3, 60, 4), 0);
    EXPECT_EQ(AspectWeight(b, 2, 90, 1), 0);  // the key's order matters
    EXPECT_EQ(AspectWeight(b, 1, 0, 2), 0);
}

TEST(TextBaseLookup, HeadersAreLookedForOnLines1To1995Only) {
    std::vector<std::string> lines(1994, "filler");
    lines.push_back(Header(5, 0, 1, 0, 0, 0, 1));  // line 1995
    lines.push_back(Header(6, 0, 1, 0, 0, 0, 2));  // line 1996
    lines.push_back("t");
    lines.push_back("text");
    lines.push_back("@");
    const TextBase b = Base(lines);
    EXPECT_EQ(AspectWeight(b, 1, 0, 2), 0);
    EXPECT_EQ(AspectWeight(b, 1, 0, 1), 5);
    EXPECT_EQ(b.FindLinear(EntryKind::Aspect, {1, 0, 2, 0}).line, 0);
    EXPECT_EQ(b.line(2000), "");
    EXPECT_EQ(b.line(1999), "@");
}

TEST(TextBaseLookup, EveryHeaderMetHasAllSevenFieldsConverted) {
    const TextBase b = Base({
        Header(5, 0, 1, 0, 0, 0, 1), "t", "x", "@",
        "*   1   0   2   0   0  ab   3", "t", "x", "@",  // line 5: F6 is not a number
        Header(4, 0, 1, 0, 0, 0, 2), "t", "x", "@",
    }, "/data/data1.dat");
    EXPECT_EQ(AspectWeight(b, 1, 0, 1), 5);  // found before the bad header
    ExpectError([&] { AspectWeight(b, 1, 0, 2); }, {"/data/data1.dat", "строка 5", "поле 6", "« ab»"});
    ExpectError([&] { AspectWeight(b, 9, 0, 9); }, {"строка 5"});  // no match: the scan meets it
    // The house lookup converts all seven as well; the natal lookup only F1..F4.
    ScratchDir dir;
    ExpectError([&] { WriteHouseText(b, dir.path(), 9, 9); }, {"строка 5", "поле 6"});
    EXPECT_FALSE(b.Find(EntryKind::Natal, {9, 9, 9, 9}).line);
    ExpectError([&] { b.Find(EntryKind::Sign, {9, 9, 9, 0}); }, {"строка 5"});
    // A blank field is not a number either.
    const TextBase blank = Base({"*   1       1   0   0   0   1", "t", "x", "@"});
    ExpectError([&] { AspectWeight(blank, 1, 0, 1); }, {"строка 1", "поле 2"});
    // A header cut short after F4: fine for the natal texts, an error for the others.
    const TextBase cut = Base({"*   1   0   3   0", "x", "@"});
    EXPECT_EQ(cut.Find(EntryKind::Natal, {1, 0, 3, 0}).line, 1);
    ExpectError([&] { cut.Find(EntryKind::Sign, {0, 3, 0, 0}); }, {"поле 5"});
}

class WritingLookups : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string plus() { return ReadFile(dir.file("Plus.txt")); }
    std::string minus() { return ReadFile(dir.file("Minus.txt")); }
};

TEST_F(WritingLookups, CreateBothFilesEvenWhenNothingMatches) {
    const TextBase b = Base({Header(3, 0, 1, 0, 0, 0, 1), "t", "x", "@"});
    EXPECT_EQ(WriteAspectText(b, dir.path(), 5, 0, 5), 0);
    EXPECT_EQ(plus(), "");
    EXPECT_EQ(minus(), "");
    // A scan before the first pair analysis: the house pass creates them too.
    ScratchDir other;
    EXPECT_EQ(WriteHouseText(b, other.path(), 5, 5), 0);
    EXPECT_EQ(ReadFile(other.file("Plus.txt")), "");
    EXPECT_EQ(ReadFile(other.file("Minus.txt")), "");
}

TEST_F(WritingLookups, HeadingTextFromTheSecondLineAfterTheHeaderAndOneEmptyLine) {
    const TextBase b = Base({
        Header(0, 0, 1, 90, 0, 0, 2), Cp("Солнце М"), "skipped entry", "@",
        Header(0, 4, 1, 90, 0, 0, 2), Cp("Солнце М — квадрат"), Cp("первая строка"), " *not a header", "@",
        Header(1, 0, 3, 0, 0, 0, 1), "title", "one", "@",
        Header(7, 0, 6, 0, 5, 0, 0), "title", "house", "@",
    });
    EXPECT_EQ(WriteAspectText(b, dir.path(), 1, 90, 2), -4);
    EXPECT_EQ(WriteAspectText(b, dir.path(), 3, 0, 1), 1);
    EXPECT_EQ(WriteHouseText(b, dir.path(), 6, 5), 7);
    EXPECT_EQ(minus(), Cp("     -4 балла\r\nпервая строка\r\n *not a header\r\n\r\n"));
    EXPECT_EQ(plus(), Cp("     +1 балл\r\none\r\n\r\n     +7 баллов\r\nhouse\r\n\r\n"));
    // Appending only: a second lookup adds the same entry again.
    WriteAspectText(b, dir.path(), 3, 0, 1);
    EXPECT_EQ(plus(), Cp("     +1 балл\r\none\r\n\r\n     +7 баллов\r\nhouse\r\n\r\n     +1 балл\r\none\r\n\r\n"));
}

TEST_F(WritingLookups, AWeightAboveTenStopsTheWritingLookupOnly) {
    const TextBase b = Base({Header(11, 0, 1, 0, 0, 0, 1), "t", "x", "@"});
    EXPECT_EQ(AspectWeight(b, 1, 0, 1), 11);
    ExpectError([&] { WriteAspectText(b, dir.path(), 1, 0, 1); }, {"data1.dat", "строка 1", "11"});
    EXPECT_EQ(plus(), "");
}

TEST_F(WritingLookups, AnEntryWithoutItsEndLineIsAnErrorNotAnOverrun) {
    const TextBase b = Base({Header(2, 0, 1, 0, 0, 0, 1), "t", "text", "more"}, "/d/data1.dat");
    EXPECT_EQ(AspectWeight(b, 1, 0, 1), 2);  // the weight alone reads no text
    ExpectError([&] { WriteAspectText(b, dir.path(), 1, 0, 1); }, {"/d/data1.dat", "строке 1", "«@»"});
    EXPECT_EQ(plus(), "");  // nothing half-written
    // A header on line 1995 whose text would begin past line 2000.
    std::vector<std::string> lines(1994, "x");
    lines.push_back("*   0   0   3   0   0   0   0");  // line 1995
    for (int n = 1996; n <= 2000; ++n) lines.push_back("x");
    const TextBase full = Base(lines, "as1.dat");
    ExpectError([&] { WriteNatalText(full, dir.file("Plus_Men.txt"), 0, 0, 3, 0); }, {"строке 1995"});
}

TEST_F(WritingLookups, ManTextsNatalFromTheNextLineSignsFromTheSecond) {
    const TextBase natal = Base({
        "*   1 120   3  50", "first text line", "second", "@",
        "*   1 120   3   0   0   0   0", "favourable", "@",
    }, "as1.dat");
    const std::string out = dir.file("Minus_Men.txt");
    EXPECT_TRUE(WriteNatalText(natal, out, 1, 120, 3, 50));
    EXPECT_FALSE(WriteNatalText(natal, out, 1, 180, 3, 50));
    EXPECT_EQ(ReadFile(out), "first text line\r\nsecond\r\n\r\n");

    const TextBase signs = Base({
        "*   0   1   1   0   0   0   0", Cp("Солнце в Овне"), "aries", "@",
        "*   0   5   4  50   0   0   0", "title", "venus afflicted", "@",
    }, "pla1.dat");
    const std::string plus = dir.file("Plus_Men.txt");
    EXPECT_TRUE(WriteSignText(signs, plus, 1, 1, 0));
    EXPECT_FALSE(WriteSignText(signs, plus, 5, 4, 0));  // the flag is part of the key
    EXPECT_TRUE(WriteSignText(signs, plus, 5, 4, 50));
    EXPECT_EQ(ReadFile(plus), "aries\r\n\r\nvenus afflicted\r\n\r\n");
}

// A random database with good and bad headers, short headers, zero weights and
// duplicate keys, over the whole 2000 lines.
TextBase RandomBase(std::mt19937& rng, int badOneIn) {
    std::uniform_int_distribution<int> small(0, 3), weight(0, 4), any(0, 99);
    std::vector<std::string> lines;
    const int count = 1 + static_cast<int>(rng() % 2000);
    while (static_cast<int>(lines.size()) < count) {
        if (any(rng) < 60) {
            std::string h = Header(weight(rng), weight(rng), small(rng), small(rng) * 60, small(rng), small(rng),
                                   small(rng));
            if (badOneIn && rng() % badOneIn == 0) h[2 + 4 * (rng() % 7) + rng() % 3] = 'x';
            if (any(rng) < 3) h.resize(2 + rng() % 28);
            lines.push_back(h);
        } else {
            lines.push_back(any(rng) < 20 ? "@" : "text");
        }
    }
    lines.resize(static_cast<std::size_t>(count));
    return Base(lines);
}

TEST(TextBaseIndex, AgreesWithThePlainScanOnEveryKeyAndError) {
    std::mt19937 rng(20240611);
    for (int trial = 0; trial < 60; ++trial) {
        const TextBase b = RandomBase(rng, trial % 3 == 0 ? 0 : 40 * trial);
        for (int k = 0; k < 4; ++k) {
            const auto kind = static_cast<EntryKind>(k);
            for (int a = 0; a < 4; ++a)
                for (int c = 0; c < 4; ++c)
                    for (int d : {0, 60, 120, 180, 1}) {
                        const EntryKey key{a, d, c, k == 2 ? a : 0};
                        auto outcome = [&](bool indexed) {
                            try {
                                const FoundEntry f = indexed ? b.Find(kind, key) : b.FindLinear(kind, key);
                                return std::to_string(f.line) + " " + std::to_string(f.weight);
                            } catch (const Error& e) {
                                return std::string(e.what());
                            }
                        };
                        ASSERT_EQ(outcome(true), outcome(false)) << trial;
                    }
        }
    }
}

TEST(TextBaseIndex, ArbitraryBytesNeverReadOutOfBounds) {
    std::mt19937 rng(99);
    const char alphabet[] = "*@ 0123456789-+x\r\n\xC0";
    for (int trial = 0; trial < 40; ++trial) {
        std::string bytes(static_cast<std::size_t>(rng() % 9000), ' ');
        for (char& c : bytes) c = alphabet[rng() % (sizeof alphabet - 1)];
        std::vector<std::string> lines = SplitTextLines(bytes);
        if (lines.size() > 2000) lines.resize(2000);
        const TextBase b = Base(lines);
        for (int k = 0; k < 4; ++k)
            for (int v = 0; v < 20; ++v) {
                const EntryKey key{v % 4, v % 3 ? 0 : 180, v % 5, v % 2 ? 50 : 0};
                try {
                    const FoundEntry f = b.Find(static_cast<EntryKind>(k), key);
                    if (f.line) b.EntryText(f.line, 2);
                } catch (const Error&) {
                }
            }
        for (int n = 1; n <= 2000; n += 97) {
            try {
                b.EntryText(n, 1);
            } catch (const Error&) {
            }
        }
    }
}

// ---- Loading -------------------------------------------------------------

class Loading : public ::testing::Test {
protected:
    ScratchDir dir;
    void Put(const std::string& name, const std::string& plain) {
        test::WriteFile(dir.file(name), ScrambleBytes(plain));
    }
};

TEST_F(Loading, UnscramblesThroughTheWorkFileAndEmptiesIt) {
    Put("data1.dat", Header(3, 0, 1, 0, 0, 0, 1) + "\r\nt\r\n" + Cp("текст") + "\r\n@\r\n");
    // A stale, longer work file (left by an interrupted run) must not leak into the lines.
    test::WriteFile(dir.file("data2.dat"), std::string(500, 'Z') + "\r\nZZZ\r\n");
    const TextBase b = LoadTextBase(dir.path(), "data1.dat", "data2.dat");
    EXPECT_EQ(b.lineCount(), 4);
    EXPECT_EQ(b.line(3), Cp("текст"));
    EXPECT_EQ(b.line(5), "");
    EXPECT_EQ(AspectWeight(b, 1, 0, 1), 3);
    EXPECT_EQ(ReadFile(dir.file("data2.dat")), "");
    EXPECT_EQ(b.name(), dir.file("data1.dat"));
}

TEST_F(Loading, AnEmptyFileIsRefusedAndBlocksOfTwentyBytesEndCleanly) {
    Put("as1.dat", "");
    test::WriteFile(dir.file("as2.dat"), "");
    ExpectError([&] { LoadTextBase(dir.path(), "as1.dat", "as2.dat"); }, {dir.file("as1.dat"), "пуста"});
    EXPECT_EQ(ReadFile(dir.file("as2.dat")), "");
    Put("as1.dat", std::string(18, 'a') + "\r\n" + std::string(18, 'b') + "\r\n");  // 40 bytes
    const TextBase f = LoadTextBase(dir.path(), "as1.dat", "as2.dat");
    EXPECT_EQ(f.lineCount(), 2);
    EXPECT_EQ(f.line(2), std::string(18, 'b'));
}

TEST_F(Loading, MissingFilesAndOverlongDatabasesAreErrorsNamingTheFile) {
    test::WriteFile(dir.file("data2.dat"), "");
    ExpectError([&] { LoadTextBase(dir.path(), "data1.dat", "data2.dat"); }, {dir.file("data1.dat")});
    Put("pla1.dat", "x\r\n");
    ExpectError([&] { LoadTextBase(dir.path(), "pla1.dat", "pla2.dat"); }, {dir.file("pla2.dat")});

    std::string big;
    for (int i = 0; i < 2000; ++i) big += "line\r\n";
    Put("data1.dat", big);
    EXPECT_EQ(LoadTextBase(dir.path(), "data1.dat", "data2.dat").lineCount(), 2000);
    Put("data1.dat", big + "@");
    ExpectError([&] { LoadTextBase(dir.path(), "data1.dat", "data2.dat"); }, {dir.file("data1.dat"), "2001"});
    EXPECT_EQ(ReadFile(dir.file("data2.dat")), "");  // no plain text left behind
}

TEST_F(Loading, AllFourInOrderAndThoseAfterAFailureStayEmpty) {
    for (const auto& db : kDatabaseFiles) test::WriteFile(dir.file(db.work), "");
    Put("data1.dat", Header(3, 0, 1, 0, 0, 0, 1) + "\r\nt\r\nx\r\n@\r\n");
    Put("data1_d.dat", Header(2, 0, 1, 0, 4, 0, 0) + "\r\nt\r\nx\r\n@\r\n");
    Put("pla1.dat", "x\r\n");
    TextDatabases dbs;
    ExpectError([&] { LoadTextDatabases(dir.path(), dbs); }, {"as1.dat"});
    EXPECT_EQ(AspectWeight(dbs.AspectTexts, 1, 0, 1), 3);
    EXPECT_EQ(dbs.HouseTexts.lineCount(), 4);
    EXPECT_EQ(dbs.NatalAspectTexts.lineCount(), 0);
    EXPECT_EQ(dbs.SignTexts.lineCount(), 0);
    Put("as1.dat", "*   1   0   3   0\r\nx\r\n@\r\n");
    LoadTextDatabases(dir.path(), dbs);
    EXPECT_EQ(dbs.SignTexts.line(1), "x");
    EXPECT_EQ(dbs.NatalAspectTexts.Find(EntryKind::Natal, {1, 0, 3, 0}).line, 1);
}

// The shipped aspect database emptied, cut in half or replaced by random bytes
// is refused at loading, naming the file; so is an entry without its end line
// or with a header that does not read. A database that reads but lacks entries
// is used, and its missing keys are counted.
TEST_F(Loading, DamagedDatabasesAreRefusedAndMissingKeysCounted) {
    test::WriteFile(dir.file("data2.dat"), "");
    const std::string shipped = ReadFile(std::string(PELORIN_BINARY_DIR) + "/data/data1.dat");
    std::mt19937 rng(400);
    std::string random(400, '\0');
    for (char& c : random) c = static_cast<char>(rng());
    const std::pair<std::string, std::string> damaged[] = {
        {"", "пуста"},
        {shipped.substr(0, shipped.size() / 2), "нет строки окончания"},
        {random, "не читается"},
        {ScrambleBytes(Header(3, 0, 1, 0, 0, 0, 1) + "\r\nt\r\nx\r\n"), "нет строки окончания"},
        {ScrambleBytes(Header(3, 0, 1, 0, 0, 0, 1) + "\r\n@\r\n"), "нет строки окончания"},  // no title line
        {ScrambleBytes("*   3   x   1   0   0   0   1\r\nt\r\nx\r\n@\r\n"), "поле 2"},
    };
    for (const auto& [bytes, why] : damaged) {
        test::WriteFile(dir.file("data1.dat"), bytes);
        ExpectError([&] { LoadTextBase(dir.path(), "data1.dat", "data2.dat"); }, {dir.file("data1.dat"), why});
        EXPECT_EQ(ReadFile(dir.file("data2.dat")), "");
    }

    test::WriteFile(dir.file("data1.dat"), shipped);
    const TextBase whole = LoadTextBase(dir.path(), "data1.dat", "data2.dat");
    EXPECT_EQ(MissingKeys(whole, kDatabaseFiles[0]).missing, 0);
    EXPECT_EQ(MissingKeys(whole, kDatabaseFiles[0]).total, 450);
    // The first entry taken out (its header line turned into a plain line).
    std::string plain = ScrambleBytes(shipped);
    plain[0] = '#';
    test::WriteFile(dir.file("data1.dat"), ScrambleBytes(plain));
    TextDatabases dbs;
    dbs.AspectTexts = LoadTextBase(dir.path(), "data1.dat", "data2.dat");
    EXPECT_EQ(MissingKeys(dbs.AspectTexts, kDatabaseFiles[0]).missing, 1);
    // Her bodies in his houses: all 120 keys shipped, and counted with the others.
    test::WriteFile(dir.file("data2_r.dat"), "");
    test::WriteFile(dir.file("data1_r.dat"), ReadFile(std::string(PELORIN_BINARY_DIR) + "/data/data1_r.dat"));
    dbs.ReverseHouseTexts = LoadTextBase(dir.path(), "data1_r.dat", "data2_r.dat");
    EXPECT_EQ(MissingKeys(dbs.ReverseHouseTexts, kDatabaseFiles[kReverseDatabase]).missing, 0);
    EXPECT_EQ(MissingKeys(dbs.ReverseHouseTexts, kDatabaseFiles[kReverseDatabase]).total, 120);
    const std::vector<std::string> warnings = DatabaseWarnings(dbs);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(dir.file("data1.dat")), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("нет 1 из 450"), std::string::npos) << warnings[0];
    // A natal pair and class counts as present with either flag.
    const TextBase natal = Base({"*   1   0   3  50", "x", "@"}, "as1.dat");
    EXPECT_EQ(MissingKeys(natal, kDatabaseFiles[2]).missing, 44);
    EXPECT_EQ(MissingKeys(natal, kDatabaseFiles[2]).total, 45);
}

}  // namespace
}  // namespace pelorin
