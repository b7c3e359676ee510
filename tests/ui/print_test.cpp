// pelorin-cli print: every printed page written as a PDF through the printing
// code of the window, with the expected number of pages.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>
#include <regex>

#include "graphics/ui/diagram.h"
#include "graphics/ui/printed_pages.h"
#include "ui/rich_text.h"
#include <QImage>
#include <QPainter>

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

namespace pelorin {
namespace {

// Wherever the page breaks, a report's heading is printed on the page of the
// text that follows it.
TEST(PrintedReport, AHeadingNeverStandsAloneAtTheFootOfAPage) {
    QPdfWriter writer(QStringLiteral("/dev/null"));
    SetUpPdfWriter(writer, QStringLiteral("Itogo.rtf"));
    int moved = 0;
    for (int n = 20; n < 140; ++n) {
        QTextDocument doc;
        QTextCursor c(&doc);
        for (int i = 0; i < n; ++i) {
            c.insertBlock();
            c.insertText(QStringLiteral("Строка отчёта %1").arg(i));
        }
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        c.insertBlock(centred);
        c.insertText(QString::fromUtf8("Негативные факторы"));
        c.insertBlock(QTextBlockFormat());  // the empty paragraph after it, as the reports have
        c.insertBlock(QTextBlockFormat());
        c.insertText(QString::fromUtf8("-8 баллов"));
        const ReportLayout l = LayOutReport(doc, writer);
        auto pageOf = [&](const QString& text) {
            for (QTextBlock b = l.doc->begin(); b.isValid(); b = b.next())
                if (b.text() == text)
                    return static_cast<int>(l.doc->documentLayout()->blockBoundingRect(b).top() / l.page.height());
            return -1;
        };
        const int heading = pageOf(QString::fromUtf8("Негативные факторы"));
        EXPECT_EQ(heading, pageOf(QString::fromUtf8("-8 баллов"))) << n;
        if (heading > pageOf(QStringLiteral("Строка отчёта %1").arg(n - 1))) ++moved;
    }
    EXPECT_GT(moved, 0);  // some of these put the heading at a foot
}

// The rightmost column of `image` with ink (any pixel not white), or -1.
int RightmostInk(const QImage& image) {
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return x;
    return -1;
}

// The widest name the record holds, 20 of the widest letters, and the widest
// place: on the printed chart page, the printed ranking and the screen ranking
// each stays left of the next column (cut and ended with "…" where the letters
// are too wide for it), and a usual name is printed whole.
TEST(ColumnLayout, TheWidestNameNeverRunsIntoTheNextColumn) {
    const std::string widest = std::string(20, '\xC6');  // "Ж" x 20
    const std::string widePlace = std::string(25, '\xD8');  // "Ш" x 25
    // Pages of 20 x 28.7 cm at 120 dots per inch.
    const PageMeasure page = MeasurePage(945, 1356, 200, 287);
    auto paint = [&](const PrintPage& ops, const std::string& text, double x) {
        QImage image(page.scale.XScale * page.widthCm, page.scale.YScale * page.heightCm, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PrinterCanvas canvas{painter, page.scale};
        PrintPage only;
        for (const PrintOp& op : ops)
            if (op.kind == PrintOp::Kind::Text && op.text == text && op.x1 == x) only.push_back(op);
        EXPECT_EQ(only.size(), 1u) << x;
        PaintPrintOps(canvas, only);
        painter.end();
        return RightmostInk(image) / page.scale.XScale;  // cm
    };

    PersonRecord woman = Person("", "0101000001", 30000, 1);
    woman.Name.set(widest);
    PersonRecord man = Person("", "0101000002", 30100, 2);
    man.Name.set(std::string(20, '\xD8'));  // "Ш" x 20
    man.Place.set(PadRight(widePlace, 26));
    const TChart chart{};
    const TCusps cusps{};
    const AspectGrid grid{};
    const PrintPage chartPage = ChartPageOps({woman, man, chart, chart, cusps, grid}, page);
    EXPECT_LT(paint(chartPage, widest, 1.0), kChartBirthX);
    EXPECT_LT(paint(chartPage, man.Name.str(), 1.0), kChartBirthX);

    ScanTable ranked{};
    for (ScanEntry& e : ranked) e.ManName = " ";
    ranked[0].ManName = widest;
    ranked[0].ManPlace = widePlace;
    ranked[0].ManDate = "01.01.1970";
    ranked[0].CompatPercent = 60;
    ranked[0].PercentDefined = true;
    ranked[1] = ranked[0];
    ranked[1].ManName = PadRight(Utf8ToCp1251("Пример: Борис Петров"), 20);
    ranked[1].ManPlace = Utf8ToCp1251("Москва");
    const PrintDocument ranking = RankingDocument(woman, ranked, page);
    EXPECT_LT(paint(ranking[0], widest, 1.5), kRankingBirthX);  // the heading's name
    EXPECT_LT(paint(ranking[0], widest, 1.7), 5.3);
    EXPECT_LT(paint(ranking[0], widePlace, 5.3), 9.6);
    // A usual name is not cut: it ends where the whole name ends.
    const double usual = paint(ranking[0], ranked[1].ManName, 1.7);
    EXPECT_GT(usual, 1.7 + 2.0);
    EXPECT_LT(usual, 5.3);

    // The screen ranking, 9 points at 96 dpi: the name column ends at x0 + 150.
    for (const ScanEntry& e : {ranked[0]}) {
        QImage image(kRankingWidth, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DiagramOps name;
        for (const DiagramOp& op : RankingRowOps(kRankingX0, 5, e, 1))
            if (op.kind == DiagramOp::Kind::Text && op.text == Cp1251ToUtf8(e.ManName)) {
                name.push_back(op);
                name.back().background = kDiagramWhite;
            }
        ASSERT_EQ(name.size(), 1u);
        PaintDiagramOps(painter, name);
        painter.end();
        EXPECT_LT(RightmostInk(image), kRankingX0 + 150);
        EXPECT_GT(RightmostInk(image), kRankingX0 + 100);  // cut to the column, not dropped
    }
}

}  // namespace
}  // namespace pelorin
