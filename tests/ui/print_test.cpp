// pelorin-cli print: every printed page written as a PDF through the printing
// code of the window, with the expected number of pages.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>
#include <regex>

#include "graphics/ui/printed_pages.h"
#include "ui/rich_text.h"

#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/person_record.h"
#include "base/short_text.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

PersonRecord Person(const std::string& name, const std::string& stamp, double moment, int day) {
    PersonRecord p{};
    p.Name.set(PadRight(Utf8ToCp1251(name), 20));
    p.Stamp.set(stamp);
    p.Day = day;
    p.Month = 1;
    p.Year = 1970;
    p.DateText.set("01.01.1970");
    p.TimeText.set("12:00");
    p.TimeKnown = 1;
    p.Place.set(Utf8ToCp1251("Москва"));
    p.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    p.Moment = moment;
    return p;
}

int PdfPages(const std::string& content) {
    static const std::regex page("/Type\\s*/Page(?![s\\w])");
    return static_cast<int>(std::distance(std::sregex_iterator(content.begin(), content.end(), page),
                                          std::sregex_iterator()));
}

class CliPrint : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& e : std::filesystem::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data"))
            std::filesystem::copy_file(e.path(), dir.file(e.path().filename().string()));
        PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
        for (int i = 1; i <= kTableSlots; ++i) {
            ClearSlot(women, i);
            ClearSlot(men, i);
        }
        women.slot(1) = Person("Анна", "0101000001", 25000.3, 1);
        women.slot(2) = Person("Вера", "0101000003", 26000.7, 2);
        for (int n = 1; n <= 99; ++n)  // a full men's file: two pages of the list and of the ranking
            men.slot(n) = Person("Мужчина " + std::to_string(n), "02020" + std::to_string(10000 + n),
                                 20000.0 + 97.3 * n, 1 + n % 28);
        SavePersonFile(dir.file("FEMIN.DAT"), women);
        SavePersonFile(dir.file("MEN.DAT"), men);
        config = dir.file("main.dat");
        test::WriteFile(config, dir.path() + "\n" + dir.path() + "\n");
    }

    // Prints `page` and returns the number of pages of the PDF written.
    int Print(const std::string& page, const std::string& options) {
        const std::string out = dir.file(page + ".pdf");
        const auto r = test::RunCli("print --config " + test::Quote(config) + " --page " + page + " " + options +
                                    " --out " + test::Quote(out));
        EXPECT_EQ(r.exitCode, 0) << page << ": " << r.err;
        EXPECT_TRUE(r.out.empty());
        if (!std::filesystem::exists(out)) return -1;
        const std::string pdf = test::ReadFile(out);
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u) << page;
        return PdfPages(pdf);
    }

    test::ScratchDir dir;
    std::string config;
    const std::string pair = "--woman 0101000001 --man 0202010007";
};

TEST_F(CliPrint, EveryPageAsAPdfWithItsPageCount) {
    EXPECT_EQ(Print("women", ""), 1);
    EXPECT_EQ(Print("men", ""), 2);  // 99 men: 67 on the first page, 32 on the second
    EXPECT_EQ(Print("ranking", "--woman 0101000001"), 2);
    EXPECT_EQ(Print("chart", pair), 1);
    EXPECT_GE(Print("pair", pair), 1);
    EXPECT_GE(Print("man", pair), 1);
    EXPECT_EQ(Print("composite", pair), 1);
    EXPECT_EQ(Print("davison", pair), 1);
}

TEST_F(CliPrint, RefusesMissingStampsUnknownPagesAndUnwritableFiles) {
    const std::string base = "print --config " + test::Quote(config) + " --out " + test::Quote(dir.file("x.pdf"));
    EXPECT_EQ(test::RunCli(base + " --page chart --woman 0101000001").exitCode, 2);
    EXPECT_EQ(test::RunCli(base + " --page ranking").exitCode, 2);
    EXPECT_EQ(test::RunCli(base + " --page poster").exitCode, 2);
    EXPECT_EQ(test::RunCli(base + " --page davison --woman 0101000001").exitCode, 2);
    const auto unknown = test::RunCli(base + " --page ranking --woman 0101000009");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("0101000009"), std::string::npos) << unknown.err;
    EXPECT_EQ(test::RunCli("print --config " + test::Quote(config) + " --page women --out " +
                           test::Quote(dir.file("no/such/dir/x.pdf")))
                  .exitCode,
              1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.pdf")));
}

TEST(PrintedReport, IdentityLinesStayWholeWithinThePage) {
    QTextEdit view;
    ShowRtfFile(&view, std::string(PELORIN_SOURCE_DIR) + "/tests/data/report/Itogo.rtf");
    QPdfWriter writer(QStringLiteral("/dev/null"));
    SetUpPdfWriter(writer, QStringLiteral("Itogo.rtf"));  // A4, 20 cm printable: 2 cm margins leave too little
    const ReportLayout l = LayOutReport(*view.document(), writer);
    int identity = 0;
    for (QTextBlock b = l.doc->begin(); b.isValid(); b = b.next()) {
        if (!b.text().contains(QStringLiteral("Москва")) && !b.text().contains(QStringLiteral("Санкт"))) continue;
        ++identity;
        ASSERT_EQ(b.layout()->lineCount(), 1) << b.text().toStdString();
        const double right = l.doc->documentLayout()->blockBoundingRect(b).left() + b.layout()->lineAt(0).naturalTextWidth();
        EXPECT_LE(right, l.page.width() + 1) << b.text().toStdString();
    }
    EXPECT_EQ(identity, 2);
    EXPECT_GT(l.scale, 0.95);  // the margins made the room; the text keeps its size
}

}  // namespace
}  // namespace pelorin
