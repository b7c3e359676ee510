#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/text_base.h"
#include "base/cp1251.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::Quote;
using test::ReadFile;
using test::RunCli;
using test::ScratchDir;

std::string TestTexts() { return std::string(PELORIN_SOURCE_DIR) + "/tests/data/texts/"; }

void CopySources(const std::string& to) {
    for (const auto& db : kDatabaseFiles)
        test::WriteFile(to + db.text, ReadFile(TestTexts() + db.text));
}

TEST(CliPackTexts, PacksTheDatabasesThatTheProgramLoads) {
    ScratchDir out;
    const auto r = RunCli("pack-texts --from " + Quote(TestTexts()) + " --to " + Quote(out.path()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"file\": \"data1.dat\", \"work\": \"data2.dat\", \"lines\": 13, \"entries\": 3"),
              std::string::npos) << r.out;
    for (const auto& db : kDatabaseFiles) EXPECT_EQ(ReadFile(out.file(db.work)), "") << db.work;
    // The database is the scrambled Windows-1251 text with CR LF line ends.
    EXPECT_EQ(ScrambleBytes(ReadFile(out.file("as1.dat"))),
              Utf8ToCp1251("*   1 120   3   0   0   0   0\r\nУм и воля заодно.\r\n@\r\n"
                           "*   1 180   3  50\r\nГолова и сердце тянут в разные стороны.\r\n@\r\n"));

    TextDatabases dbs;
    LoadTextDatabases(out.path(), dbs);
    EXPECT_EQ(AspectWeight(dbs.AspectTexts, 1, 0, 1), 3);
    EXPECT_EQ(AspectWeight(dbs.AspectTexts, 5, 90, 4), -10);
    EXPECT_EQ(WriteHouseText(dbs.HouseTexts, out.path(), 10, 12), -4);
    EXPECT_EQ(ReadFile(out.file("Minus.txt")), Utf8ToCp1251("     -4 балла\r\nТайны.\r\n\r\n"));
    EXPECT_TRUE(WriteNatalText(dbs.NatalAspectTexts, out.file("m.txt"), 1, 180, 3, 50));
    EXPECT_TRUE(WriteSignText(dbs.SignTexts, out.file("m.txt"), 12, 4, 50));
    EXPECT_EQ(ReadFile(out.file("m.txt")),
              Utf8ToCp1251("Голова и сердце тянут в разные стороны.\r\n\r\nМечтательна до рассеянности.\r\n\r\n"));
    // Her body in his house, the fifth database: her Moon in his 4th house.
    EXPECT_TRUE(dbs.ReverseMissing.empty());
    EXPECT_EQ(HouseWeight(dbs.ReverseHouseTexts, 2, 4), 5);
    EXPECT_EQ(HouseWeight(dbs.ReverseHouseTexts, 7, 10), -3);
}

TEST(CliPackTexts, TheShippedSourcesAreAccepted) {
    ScratchDir out;
    const auto r = RunCli("pack-texts --from " + Quote(test::SourceDataDir() + "texts") + " --to " +
                          Quote(out.path() + "sub/dir"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    TextDatabases dbs;
    LoadTextDatabases(out.path() + "sub/dir/", dbs);
    EXPECT_EQ(dbs.AspectTexts.lineCount(), static_cast<int>(SplitTextLines(ReadFile(test::SourceDataDir() +
                                                                                   "texts/aspects.txt")).size()));
    EXPECT_EQ(dbs.SignTexts.Find(EntryKind::Sign, {1, 1, 0, 0}).line, 1);
}

TEST(CliPackTexts, ARefusedSourceWritesNothingAndNamesFileAndLine) {
    ScratchDir src, out;
    CopySources(src.path());
    test::WriteFile(src.file("signs.txt"), "*   0   1   1   0   0   0   0\nt\nно конца нет\n");
    const auto r = RunCli("pack-texts --from " + Quote(src.path()) + " --to " + Quote(out.path()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(src.file("signs.txt")), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("строка 1"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));

    std::filesystem::remove(src.file("houses.txt"));
    EXPECT_EQ(RunCli("pack-texts --from " + Quote(src.path()) + " --to " + Quote(out.path())).exitCode, 1);
    // The fifth source is checked as the others.
    CopySources(src.path());
    test::WriteFile(src.file("her_houses.txt"), "*  12   0   1   0   1   0   0\nt\nx\n@\n");
    const auto her = RunCli("pack-texts --from " + Quote(src.path()) + " --to " + Quote(out.path()));
    EXPECT_EQ(her.exitCode, 1);
    EXPECT_NE(her.err.find(src.file("her_houses.txt")), std::string::npos) << her.err;
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
    EXPECT_EQ(RunCli("pack-texts --from " + Quote(src.path())).exitCode, 2);
}

}  // namespace
}  // namespace pelorin
