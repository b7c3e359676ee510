#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "analysis/percentile.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ScratchDir;

TEST(Percentile, ShareOfPairsBelowAKnownPercentage) {
    PercentileTable t;
    t.unknownTime[40] = 10;
    t.unknownTime[50] = 30;
    t.unknownTime[70] = 60;
    t.knownTime[90] = 3;
    EXPECT_EQ(PercentileOf(t, 40, false), 0);
    EXPECT_EQ(PercentileOf(t, 50, false), 10);
    EXPECT_EQ(PercentileOf(t, 69, false), 40);
    EXPECT_EQ(PercentileOf(t, 100, false), 100);
    EXPECT_EQ(PercentileOf(t, 91, true), 100);
    EXPECT_EQ(PercentileOf(t, 90, true), 0);
    EXPECT_EQ(PercentileOf(PercentileTable{}, 50, true), std::nullopt);

    // Written and read back; a damaged file names itself and the line.
    ScratchDir dir;
    t.textsFingerprint = "0123456789abcdef";
    WriteFileAtomic(dir.file("pairs.tbl"), PercentileTableText(t, "test"));
    const auto back = LoadPercentileTable(dir.path());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->unknownTime, t.unknownTime);
    EXPECT_EQ(back->knownTime, t.knownTime);
    EXPECT_EQ(back->textsFingerprint, t.textsFingerprint);
    WriteFileAtomic(dir.file("pairs.tbl"), "0 1 1\n1 x 2\n");
    try {
        LoadPercentileTable(dir.path());
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("pairs.tbl» повреждена: строка 2"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(LoadPercentileTable(dir.file("nowhere")));
}

// The shipped table is made from the shipped aspect and house texts: when they
// change, the table must be made again (tools/README.md).
TEST(Percentile, ShippedTableMatchesTheShippedTexts) {
    // Loading writes the databases' work files: on copies.
    ScratchDir dir;
    namespace fs = std::filesystem;
    for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data")) {
        const std::string ext = f.path().extension().string();
        if (ext == ".dat" || ext == ".tbl") fs::copy_file(f.path(), dir.file(f.path().filename().string()));
    }
    TextDatabases texts;
    LoadTextDatabases(dir.path(), texts);
    const auto table = LoadPercentileTable(dir.path());
    ASSERT_TRUE(table);
    EXPECT_EQ(table->textsFingerprint, TextsFingerprint(texts));
}

// The percentile is given only for the databases the table was made for; for
// edited ones it is withheld with a note, and a damaged table is said likewise.
TEST(Percentile, GivenOnlyForTheDatabasesTheTableWasMadeFor) {
    ScratchDir dir;
    TextDatabases texts;
    texts.AspectTexts = TextBase("data1.dat", {"*   3   0   1   0   0   0   1", "t", "x", "@"});
    PercentileTable t;
    t.unknownTime[40] = 10;
    t.unknownTime[60] = 30;
    t.textsFingerprint = TextsFingerprint(texts);
    WriteFileAtomic(dir.file("pairs.tbl"), PercentileTableText(t, "test"));
    PairPercentile p = PercentileForPair(dir.path(), texts, 50, false);
    EXPECT_EQ(p.percentile, 25);
    EXPECT_TRUE(p.note.empty());
    EXPECT_FALSE(PercentileForPair(dir.path(), texts, std::nullopt, false).percentile);

    // Only the wording of a text changed: another database all the same.
    texts.AspectTexts = TextBase("data1.dat", {"*   3   0   1   0   0   0   1", "t", "y", "@"});
    p = PercentileForPair(dir.path(), texts, 50, false);
    EXPECT_FALSE(p.percentile);
    EXPECT_NE(p.note.find("pairs.tbl"), std::string::npos) << p.note;
    EXPECT_NE(p.note.find("других баз"), std::string::npos) << p.note;

    WriteFileAtomic(dir.file("pairs.tbl"), "0 1\n");
    p = PercentileForPair(dir.path(), texts, 50, false);
    EXPECT_FALSE(p.percentile);
    EXPECT_NE(p.note.find("повреждена"), std::string::npos) << p.note;
    std::remove(dir.file("pairs.tbl").c_str());
    p = PercentileForPair(dir.path(), texts, 50, false);
    EXPECT_FALSE(p.percentile);
    EXPECT_TRUE(p.note.empty());
}

}  // namespace
}  // namespace pelorin
