#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QTableWidget>
#include <QFileInfo>
#include <QFontInfo>
#include <QKeyEvent>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTextEdit>
#include <regex>

#include "graphics/ui/factor_panel.h"
#include "ui/image_canvas.h"
#include "ui/message_boxes.h"
#include "analysis/pair_analysis.h"
#include "app/core/commands.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "people/exchange.h"
#include "people/person_entry.h"
#include "people/person_record.h"
#include "people/ui/import_preview.h"
#include "support/test_support.h"
#include "ui_main_window.h"

namespace pelorin {
namespace {

struct RecordingBoxes : MessageBoxes {
    QStringList shown;
    void ShowError(QWidget*, const QString& text) override { shown << text; }
    void ShowWarning(QWidget*, const QString& text) override { warnings << text; }
    void ShowMessage(QWidget*, const QString& text) override { messages << text; }
    bool Confirm(QWidget*, const QString& text) override {
        questions << text;
        return answerYes;
    }
    QStringList warnings, messages, questions;
    bool answerYes = true;
};

PersonTable People(TableKind kind, int n) {
    PersonTable t{kind, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
    for (int i = 1; i <= n; ++i) {
        PersonRecord& r = t.slot(i);
        r.Name.set(PadRight(Utf8ToCp1251("Имя " + std::to_string(10 + n - i)), 20));
        r.Stamp.set("01010000" + std::to_string(10 + i));
        r.DateText.set("01.01.1980");
        r.TimeText.set(" --- ");
        r.Place.set(PadRight(Utf8ToCp1251("Москва"), 26));
        BuildListLine(r);
    }
    return t;
}

struct Fixture {
    test::ScratchDir dir;
    std::string config;
    AppState state;
    RecordingBoxes boxes;
    Fixture(int women = 3, int men = 5) {
        SavePersonFile(dir.file("FEMIN.DAT"), People(TableKind::Women, women));
        SavePersonFile(dir.file("MEN.DAT"), People(TableKind::Men, men));
        config = dir.file("main.dat");
        test::WriteFile(config, dir.path() + "\r\n" + dir.path() + "\r\n");
    }
    std::unique_ptr<TZZavelForm> Start(StartupHooks hooks = {}) {
        auto w = std::make_unique<TZZavelForm>(config, state, boxes, std::move(hooks));
        w->FormActivate();
        return w;
    }
};

// Saves the window when PELORIN_PICTURE_DIR names a directory, to look at.
void SaveWindowPicture(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("PELORIN_PICTURE_DIR");
    if (dir.isEmpty()) return;
    w->show();
    w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

bool CommandsEnabled(TZZavelForm& w) {
    auto& f = w.Form();
    return f.BitBtn27->isEnabled() || f.BitBtn11->isEnabled() || f.BitBtn29->isEnabled();
}

TEST(MainWindow, LayoutOfTheWindow) {
    Fixture fx;
    auto w = fx.Start();
    auto& f = w->Form();
    EXPECT_EQ(w->size(), QSize(811, 544));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("   Pelorin - программа оценки совместимости мужчины и женщины"));
    const char* pages[] = {"Pelorin", "Женщины", "Мужчины", "Совместимость", "Пара",
                           "Мужчина", "Карта", "Композит", "Астрология"};
    ASSERT_EQ(f.PageControl1->count(), 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(f.PageControl1->tabText(i), QString::fromUtf8(pages[i]));
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    EXPECT_EQ(f.Gauge1->size(), QSize(102, 27));
    EXPECT_EQ(f.Gauge1->value(), 0);
    EXPECT_EQ(f.Image2->size(), QSize(782, 1500));
    EXPECT_EQ(f.Image1->size(), QSize(782, 880));
    EXPECT_EQ(f.RichEdit2->size(), QSize(782, 1950));
    EXPECT_EQ(f.Image14->toolTip(), QString::fromUtf8(" Щелкните!"));
    EXPECT_EQ(f.Image15->toolTip(), QString::fromUtf8("  Щелкните !  "));
    EXPECT_EQ(f.Image11->toolTip(), QString::fromUtf8("Астрологическая совместимость"));
    EXPECT_EQ(f.BitBtn29->text(), QString::fromUtf8("  Печать"));
    EXPECT_EQ(f.Image4->Picture().size(), QSize(803, 456));
    EXPECT_EQ(f.Image8->Picture().size(), QSize(180, 120));
}

TEST(MainWindow, StartupFillsTheListsAndDisablesTheCommands) {
    Fixture fx(3, 5);
    auto w = fx.Start();
    auto& f = w->Form();
    EXPECT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    ASSERT_EQ(f.ListBox1->count(), 3);
    EXPECT_EQ(f.ListBox2->count(), 5);
    EXPECT_TRUE(f.ListBox1->item(0)->text().startsWith(QString::fromUtf8("Имя 10")));  // sorted
    EXPECT_EQ(f.ListBox1->currentRow(), 0);
    EXPECT_EQ(f.Label11->text(), QString::fromUtf8("Список женщин.  Всего: 3 человек"));
    EXPECT_EQ(f.Label22->text(), QString::fromUtf8("Список мужчин.  Всего: 5 человек"));
    EXPECT_FALSE(CommandsEnabled(*w));
    EXPECT_EQ(f.Image5->Surface().pixelColor(5, 5), QColor(255, 223, 239));
    EXPECT_EQ(f.Image6->Surface().pixelColor(5, 5), QColor(191, 228, 208));
    EXPECT_EQ(f.Image1->Surface().pixelColor(5, 5), QColor(255, 255, 255));
    // Pages laid out after start-up: the backgrounds still cover them.
    f.Image5->resize(800, 440);
    EXPECT_EQ(f.Image5->Surface().size(), QSize(800, 440));
    EXPECT_EQ(f.Image5->Surface().pixelColor(790, 430), QColor(255, 223, 239));
    EXPECT_TRUE(f.ListBox1->font().fixedPitch() || QFontInfo(f.ListBox1->font()).fixedPitch());
    // The sequence runs once: activating the window again changes nothing.
    f.ListBox1->clear();
    w->FormActivate();
    EXPECT_EQ(f.ListBox1->count(), 0);
}

// The whole road of a user: choose a woman and a man, analyse the pair, then scan.
TEST(MainWindow, ChoosingAPairAnalysesItAndScansAllMen) {
    Fixture fx(2, 3);
    for (const char* kind : {"FEMIN.DAT", "MEN.DAT"}) {
        PersonTable t{std::string(kind) == "MEN.DAT" ? TableKind::Men : TableKind::Women, {}};
        LoadPersonFile(fx.dir.file(kind), t);
        for (int i : UsedSlots(t)) {
            t.slot(i).CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
            t.slot(i).TimeKnown = 1;
            t.slot(i).Moment = 30000 + 97.3 * i;
        }
        SavePersonFile(fx.dir.file(kind), t);
    }
    const std::string built = std::string(PELORIN_BINARY_DIR) + "/data/";
    for (const char* f : {"data1.dat", "data1_d.dat", "as1.dat", "pla1.dat", "data1_r.dat", "Fond.in", "pairs.tbl"})
        test::WriteFile(fx.dir.file(f), test::ReadFile(built + f));
    for (const char* f : {"data2.dat", "data2_d.dat", "as2.dat", "pla2.dat", "data2_r.dat"})
        test::WriteFile(fx.dir.file(f), "");
    auto w = fx.Start(DefaultStartupHooks(fx.state));
    auto& f = w->Form();
    ASSERT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();

    f.ListBox1->setCurrentRow(1);
    w->BitBtn4Click();
    EXPECT_TRUE(f.BitBtn11->isEnabled());
    EXPECT_FALSE(f.BitBtn27->isEnabled());
    EXPECT_TRUE(f.Label9->text().startsWith(QString::fromUtf8("Женщина: Имя 11")));
    w->BitBtn8Click();
    EXPECT_TRUE(f.BitBtn27->isEnabled());
    EXPECT_TRUE(f.BitBtn29->isEnabled());

    w->BitBtn27Click();
    ASSERT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    EXPECT_EQ(f.PageControl1->currentIndex(), static_cast<int>(MainPage::Pair));
    EXPECT_TRUE(f.RichEdit1->toPlainText().contains(QString::fromUtf8("АНАЛИЗ СОВМЕСТИМОСТИ")));
    EXPECT_TRUE(f.RichEdit1->toPlainText().contains(QString::fromUtf8("Позитивные факторы")));
    EXPECT_TRUE(f.RichEdit2->toPlainText().contains(QString::fromUtf8("ГОРОСКОП МУЖЧИНЫ")));
    EXPECT_TRUE(fx.state.PairDone);
    // The bi-wheel on "Карта".
    const QImage& chart = f.Image1->Surface();
    EXPECT_EQ(chart.size(), QSize(782, 880));
    int ink = 0;
    for (int y = 0; y < chart.height(); y += 2)
        for (int x = 0; x < chart.width(); x += 2) ink += chart.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_GT(ink, 2000);
    // The bar of "Совместимость" holds the filled blue part of the pair's percentage.
    const QImage& strip = f.Image3->Surface();
    int blue = 0;
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 0; y < strip.height(); ++y) blue += strip.pixelColor(x, y) == QColor(111, 129, 230);
    EXPECT_GT(blue, 50);
    // Under the bar, the factors of the percentage; a click shows the factor's
    // paragraph, as the pair report has it.
    f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Compatibility));
    auto* factors = w->findChild<FactorPanel*>(QStringLiteral("FactorPanel"));
    ASSERT_TRUE(factors);
    EXPECT_TRUE(factors->isVisibleTo(w.get()));
    EXPECT_FALSE(f.ScrollBox1->isVisibleTo(w.get()));
    QListWidget* top = factors->Favourable()->count() > 0 ? factors->Favourable() : factors->Unfavourable();
    ASSERT_GT(top->count(), 0);
    EXPECT_EQ(factors->Favourable()->count() + factors->Unfavourable()->count(),
              static_cast<int>(fx.state.Factors.size()));
    top->setCurrentRow(0);
    const QString paragraph = factors->Paragraph()->toPlainText();
    ASSERT_GT(paragraph.size(), 40);
    EXPECT_TRUE(f.RichEdit1->toPlainText().contains(paragraph.section(QLatin1Char('\n'), 1, 1)))
        << paragraph.toStdString();
    // These men were born at a known time and place: her planets in his houses
    // are the third group, each with its paragraph of the report's section.
    ASSERT_TRUE(fx.state.Reverse);
    EXPECT_TRUE(factors->Reverse()->isVisibleTo(w.get()));
    ASSERT_EQ(factors->Reverse()->count(), static_cast<int>(fx.state.Reverse->Factors.size()));
    ASSERT_GT(factors->Reverse()->count(), 0);
    factors->Reverse()->setCurrentRow(0);
    const QString reverse = factors->Paragraph()->toPlainText();
    ASSERT_GT(reverse.size(), 40);
    const QString report = f.RichEdit1->toPlainText();
    EXPECT_GT(report.indexOf(reverse.section(QLatin1Char('\n'), 1, 1)),
              report.indexOf(QString::fromUtf8("Её планеты в его домах")));
    EXPECT_EQ(factors->Favourable()->currentRow(), -1);
    EXPECT_TRUE(report.contains(QString::fromUtf8("с его домами: %1 %").arg(*fx.state.PercentWithHisHouses)));
    SaveWindowPicture(w.get(), "window_pair_factors");

    w->BitBtn11Click();
    ASSERT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    EXPECT_TRUE(fx.state.ScanDone);
    EXPECT_FALSE(fx.state.PairDone);
    EXPECT_FALSE(fx.state.people.ManChosen);
    EXPECT_EQ(f.Label10->text(), QString::fromUtf8("Мужчина: Сканируем всех"));
    EXPECT_EQ(f.PageControl1->currentIndex(), static_cast<int>(MainPage::Compatibility));
    EXPECT_TRUE(f.RichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(f.Image1->Surface().pixelColor(391, 220), QColor(Qt::white));  // the chart was cleared
    EXPECT_FALSE(IsUnusedEntry(fx.state.RankedResults[2]));
    EXPECT_TRUE(IsUnusedEntry(fx.state.RankedResults[3]));
    int rows = 0;
    for (int y = 0; y < 200; ++y) rows += f.Image2->Surface().pixelColor(500, y) != QColor(Qt::white);
    EXPECT_GT(rows, 10);  // the ranking list is drawn
    EXPECT_FALSE(factors->isVisibleTo(w.get()));

    // "Все женщины" needs a chosen man again; then it ranks the women for him.
    EXPECT_FALSE(f.AllWomenButton->isEnabled());
    f.ListBox2->setCurrentRow(0);
    w->BitBtn8Click();
    ASSERT_TRUE(f.AllWomenButton->isEnabled());
    w->AllWomenButtonClick();
    ASSERT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    EXPECT_TRUE(fx.state.ScanDone && fx.state.ScanOfWomen);
    EXPECT_TRUE(fx.state.people.ManChosen);
    EXPECT_EQ(f.PageControl1->currentIndex(), static_cast<int>(MainPage::Compatibility));
    EXPECT_FALSE(IsUnusedEntry(fx.state.RankedResults[1]));
    EXPECT_TRUE(IsUnusedEntry(fx.state.RankedResults[2]));
    EXPECT_TRUE(f.ScrollBox1->isVisibleTo(w.get()));
    SaveWindowPicture(w.get(), "window_all_women");
}

int InkOf(const QImage& picture) {
    int ink = 0;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) ink += picture.pixelColor(x, y) != QColor(Qt::white);
    return ink;
}

// "Анализ пары" fills "Композит" with the pair's composite; the choice shows the
// Davison chart; a man whose place was typed has none, and printing it says why.
TEST(MainWindow, CompositePageFillsAfterThePairAnalysis) {
    Fixture fx(1, 2);
    PersonTable women{TableKind::Women, {}}, men{TableKind::Men, {}};
    LoadPersonFile(fx.dir.file("FEMIN.DAT"), women);
    LoadPersonFile(fx.dir.file("MEN.DAT"), men);
    women.slot(1).CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
    women.slot(1).TimeKnown = 1;
    women.slot(1).Moment = 27548.775;
    men.slot(1).CoordText.set(Utf8ToCp1251("  0°08’ЗД  51°31’СШ"));  // "Имя 11": time and atlas place
    men.slot(1).TimeKnown = 1;
    men.slot(1).ShiftFlag.set("Z");
    men.slot(1).Moment = 26494.0625;
    men.slot(2).CoordText.set(MenCoordText());  // "Имя 10": his place typed
    men.slot(2).ShiftFlag.set("L");
    men.slot(2).Moment = 25000.5;
    SavePersonFile(fx.dir.file("FEMIN.DAT"), women);
    SavePersonFile(fx.dir.file("MEN.DAT"), men);
    const std::string built = std::string(PELORIN_BINARY_DIR) + "/data/";
    for (const char* f : {"data1.dat", "data1_d.dat", "as1.dat", "pla1.dat", "data1_r.dat", "Fond.in"})
        test::WriteFile(fx.dir.file(f), test::ReadFile(built + f));
    for (const char* f : {"data2.dat", "data2_d.dat", "as2.dat", "pla2.dat", "data2_r.dat"}) test::WriteFile(fx.dir.file(f), "");
    auto w = fx.Start(DefaultStartupHooks(fx.state));
    auto& f = w->Form();
    auto chooseMan = [&](const char* name) {
        f.ListBox2->setCurrentItem(f.ListBox2->findItems(QString::fromUtf8(name), Qt::MatchStartsWith).value(0));
        w->BitBtn8Click();
    };
    w->BitBtn4Click();
    chooseMan("Имя 11");
    EXPECT_EQ(InkOf(f.ImageComposite->Surface()), 0);  // nothing before the analysis
    w->BitBtn27Click();
    ASSERT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    ASSERT_TRUE(fx.state.Relationship);
    EXPECT_TRUE(fx.state.Relationship->composite.cusps);
    ASSERT_TRUE(fx.state.Relationship->davison);
    EXPECT_TRUE(f.CompositeChoice->isChecked());
    const QImage composite = f.ImageComposite->Surface().copy();
    EXPECT_EQ(composite.size(), QSize(782, 880));
    EXPECT_GT(InkOf(composite), 5000);
    // The chart's colour is the composite's, on the ring of the wheel.
    bool purple = false;
    for (int y = 0; y < 440 && !purple; ++y)
        for (int x = 0; x < 782 && !purple; ++x) purple = composite.pixelColor(x, y) == QColor(128, 0, 128);
    EXPECT_TRUE(purple);
    f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Composite));
    SaveWindowPicture(w.get(), "window_composite");
    f.DavisonChoice->setChecked(true);
    const QImage davison = f.ImageComposite->Surface().copy();
    EXPECT_NE(davison, composite);
    EXPECT_GT(InkOf(davison), 5000);
    SaveWindowPicture(w.get(), "window_davison");
    // The batch tool gives the charts the page shows.
    for (const bool isComposite : {true, false}) {
        const auto r = test::RunCli(std::string(isComposite ? "composite" : "davison") + " --config " +
                                    test::Quote(fx.config) + " --woman 0101000011 --man 0101000011");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const RelationshipChart& c = isComposite ? fx.state.Relationship->composite : *fx.state.Relationship->davison;
        const std::regex lon(R"re("body": "[A-Za-z]+", "lon": (-?[0-9.eE+-]+))re");
        int i = 0;
        for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), lon); it != std::sregex_iterator(); ++it, ++i)
            EXPECT_DOUBLE_EQ(std::stod((*it)[1]), c.chart[i].Lon) << i;
        EXPECT_EQ(i, kBodyCount);
    }

    // The typed man: the page says why instead of a wheel, and so does "  Печать".
    chooseMan("Имя 10");
    w->BitBtn27Click();
    ASSERT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    ASSERT_TRUE(fx.state.Relationship);
    EXPECT_FALSE(fx.state.Relationship->davison);
    const int refusal = InkOf(f.ImageComposite->Surface());
    EXPECT_GT(refusal, 0);
    EXPECT_LT(refusal, 2500);  // the heading and a few lines of text, no wheel
    f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Composite));
    SaveWindowPicture(w.get(), "window_davison_refused");
    fx.boxes.messages.clear();
    w->BitBtn29Click();
    ASSERT_EQ(fx.boxes.messages.size(), 1);
    EXPECT_TRUE(fx.boxes.messages[0].contains(QString::fromUtf8("Карта Давидсона не построена")));
    f.CompositeChoice->setChecked(true);
    EXPECT_GT(InkOf(f.ImageComposite->Surface()), 5000);  // his composite has no houses but is drawn

    // An analysis that fails at the charts (a damaged moment) leaves no earlier pair there.
    fx.state.people.ChosenMan.Moment = std::nan("");
    w->BitBtn27Click();
    EXPECT_EQ(fx.boxes.shown.size(), 1);
    EXPECT_FALSE(fx.state.Relationship);
    EXPECT_EQ(InkOf(f.ImageComposite->Surface()), 0);
    chooseMan("Имя 11");
    w->BitBtn27Click();
    EXPECT_GT(InkOf(f.ImageComposite->Surface()), 5000);

    // A scan leaves no pair: the page is blank again.
    w->BitBtn11Click();
    EXPECT_FALSE(fx.state.Relationship);
    EXPECT_EQ(InkOf(f.ImageComposite->Surface()), 0);
}

TEST(MainWindow, DeletingThroughThePageAsksFirst) {
    Fixture fx(3, 1);
    auto w = fx.Start();
    auto& f = w->Form();
    w->BitBtn9Click();  // nobody chosen yet
    ASSERT_EQ(fx.boxes.messages.size(), 1);
    EXPECT_EQ(fx.boxes.messages[0], QString::fromUtf8("  Не выбрана женщина...   "));
    w->BitBtn4Click();
    fx.boxes.answerYes = false;
    w->BitBtn9Click();
    EXPECT_EQ(fx.boxes.questions.size(), 1);
    EXPECT_EQ(f.ListBox1->count(), 3);
    fx.boxes.answerYes = true;
    w->BitBtn9Click();
    EXPECT_EQ(f.ListBox1->count(), 2);
    EXPECT_EQ(f.Label11->text(), QString::fromUtf8("Список женщин.  Всего: 2 человек"));
    EXPECT_EQ(f.Label9->text(), QString::fromUtf8("Женщина: "));
}

TEST(MainWindow, EmptyWomenFileHasNoSelection) {
    Fixture fx(0, 1);
    auto w = fx.Start();
    EXPECT_EQ(w->Form().ListBox1->count(), 0);
    EXPECT_EQ(w->Form().ListBox1->currentRow(), -1);
    EXPECT_EQ(w->Form().Label11->text(), QString::fromUtf8("Список женщин.  Всего: 0 человек"));
}

TEST(MainWindow, MissingConfigIsReportedAndStopsStartup) {
    Fixture fx;
    fx.config = fx.dir.file("none/main.dat");
    auto w = fx.Start();
    ASSERT_EQ(fx.boxes.shown.size(), 1);
    EXPECT_TRUE(fx.boxes.shown[0].contains("main.dat"));
    EXPECT_EQ(w->Form().ListBox1->count(), 0);
    EXPECT_TRUE(CommandsEnabled(*w));  // step 7 never ran
}

TEST(MainWindow, ShortPersonFileIsReportedAndNoCommandWritesPeople) {
    Fixture fx;
    const std::string women = test::ReadFile(fx.dir.file("FEMIN.DAT")).substr(0, 30000);
    test::WriteFile(fx.dir.file("FEMIN.DAT"), women);
    const std::string men = test::ReadFile(fx.dir.file("MEN.DAT"));
    auto w = fx.Start();
    ASSERT_EQ(fx.boxes.shown.size(), 1);
    EXPECT_TRUE(fx.boxes.shown[0].contains("FEMIN.DAT"));
    EXPECT_EQ(w->Form().ListBox2->count(), 0);
    EXPECT_TRUE(CommandsEnabled(*w));
    // "Добавить", "Сохранить" and "Удалить" of both pages.
    for (auto click : {&TZZavelForm::BitBtn5Click, &TZZavelForm::BitBtn13Click, &TZZavelForm::BitBtn9Click,
                       &TZZavelForm::BitBtn12Click, &TZZavelForm::BitBtn7Click, &TZZavelForm::BitBtn10Click})
        ((*w).*click)();
    // "Импорт…" too, before any file is asked for.
    int asked = 0;
    w->SetExchangeHooks({[&](QWidget*, const QString&, const QString&, bool) { ++asked; return QString(); }, {}});
    w->Form().ImportWomenButton->click();
    w->Form().ImportMenButton->click();
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(fx.boxes.messages.size(), 8);
    for (const QString& m : fx.boxes.messages) EXPECT_TRUE(m.contains(QString::fromUtf8("не загружен"))) << m.toStdString();
    EXPECT_TRUE(test::ReadFile(fx.dir.file("FEMIN.DAT")) == women);
    EXPECT_TRUE(test::ReadFile(fx.dir.file("MEN.DAT")) == men);
}

// "Экспорт…" writes the list's file as it stands; "Импорт…" shows who comes in,
// waits for the city a name leaves open, and stores only on "Добавить".
TEST(MainWindow, ExportAndImportThroughThePreview) {
    Fixture fx(2, 3);
    for (const char* f : {"sng.wdt", "europa.wdt", "namerica.wdt", "samerica.wdt", "africa.wdt", "azia.wdt",
                          "austral.wdt", "zones.tzt"})
        test::WriteFile(fx.dir.file(f), test::ReadFile(std::string(PELORIN_BINARY_DIR) + "/data/" + f));
    auto w = fx.Start();
    auto& f = w->Form();
    QString chosen;
    std::function<bool(ImportPreviewDialog&)> preview;
    w->SetExchangeHooks({[&](QWidget*, const QString&, const QString&, bool) { return chosen; },
                         [&](ImportPreviewDialog& d) { return preview(d); }});

    chosen = QString::fromStdString(fx.dir.file("men.aaf"));
    f.ExportMenButton->click();
    PersonTable men{TableKind::Men, {}};
    LoadPersonFile(fx.dir.file("MEN.DAT"), men);
    EXPECT_EQ(test::ReadFile(fx.dir.file("men.aaf")), ExportPeople(men, ExchangeFormat::Aaf));
    ASSERT_EQ(fx.boxes.messages.size(), 1);
    EXPECT_TRUE(fx.boxes.messages[0].contains(QString::fromUtf8("(AAF): 3 человек")));

    test::WriteFile(fx.dir.file("in.csv"),
                    "name,date,time,place\n"
                    "Анна,05.06.1975,14:30,Москва\n"  // two cities of the name
                    "Бэла,31.02.1985,,Кировск\n"      // no such day
                    "Вера,01.01.1990,,Кировск\n");    // one city
    chosen = QString::fromStdString(fx.dir.file("in.csv"));
    const std::string before = test::ReadFile(fx.dir.file("FEMIN.DAT"));
    int readyBefore = -1;
    preview = [&](ImportPreviewDialog& d) {
        readyBefore = d.Ready();
        EXPECT_EQ(d.Table()->rowCount(), 3);
        EXPECT_TRUE(d.Table()->item(1, 5)->text().contains(QString::fromUtf8("пропущена")));
        EXPECT_FALSE(d.ChooseCity(4, 0));  // one city: nothing to choose
        EXPECT_TRUE(d.ChooseCity(2, 1));
        EXPECT_EQ(d.Ready(), 2);
        return false;  // "Отмена"
    };
    f.ImportWomenButton->click();
    EXPECT_EQ(readyBefore, 1);
    EXPECT_TRUE(test::ReadFile(fx.dir.file("FEMIN.DAT")) == before);
    int readyAfter = -1;
    preview = [&](ImportPreviewDialog& d) {
        d.ChooseCity(2, 0);
        readyAfter = d.Ready();
        return true;
    };
    f.ImportWomenButton->click();
    EXPECT_EQ(readyAfter, 2);
    EXPECT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    ASSERT_EQ(f.ListBox1->count(), 4);
    EXPECT_EQ(f.Label11->text(), QString::fromUtf8("Список женщин.  Всего: 4 человек"));
    EXPECT_TRUE(fx.boxes.messages.last().contains(QString::fromUtf8("2 человек")));
    PersonTable women{TableKind::Women, {}};
    LoadPersonFile(fx.dir.file("FEMIN.DAT"), women);
    EXPECT_EQ(Cp1251ToUtf8(women.slot(3).Name.str()).substr(0, 8), "Анна");
    EXPECT_EQ(women.slot(3).Hour, 14);
    QString again;
    preview = [&](ImportPreviewDialog& d) {
        again = d.Table()->item(2, 5)->text();  // Вера
        return false;
    };
    f.ImportWomenButton->click();
    EXPECT_TRUE(again.contains(QString::fromUtf8("уже есть в списке"))) << again.toStdString();
}

// A person of the file who is in the list already starts unticked in the
// preview and is not added; ticked, they are.
TEST(MainWindow, AnImportRowAlreadyListedStartsUntickedAndCanBeTicked) {
    Fixture fx(2, 1);
    for (const char* f : {"sng.wdt", "europa.wdt", "namerica.wdt", "samerica.wdt", "africa.wdt", "azia.wdt",
                          "austral.wdt", "zones.tzt"})
        test::WriteFile(fx.dir.file(f), test::ReadFile(std::string(PELORIN_BINARY_DIR) + "/data/" + f));
    PersonTable women{TableKind::Women, {}};
    LoadPersonFile(fx.dir.file("FEMIN.DAT"), women);
    women.slot(1).Day = women.slot(1).Month = 1;  // "Имя 11", 01.01.1980
    women.slot(1).Year = 1980;
    SavePersonFile(fx.dir.file("FEMIN.DAT"), women);
    auto w = fx.Start();
    auto& f = w->Form();
    test::WriteFile(fx.dir.file("in.csv"), "name,date,latitude,longitude,zone\n"
                                           "Имя 11,01.01.1980,10,10,0\n"  // listed already
                                           "Новая,02.01.1980,10,10,0\n");
    std::function<bool(ImportPreviewDialog&)> preview;
    w->SetExchangeHooks({[&](QWidget*, const QString&, const QString&, bool) {
                             return QString::fromStdString(fx.dir.file("in.csv"));
                         },
                         [&](ImportPreviewDialog& d) { return preview(d); }});
    preview = [&](ImportPreviewDialog& d) {
        EXPECT_EQ(d.Included(), (std::vector<bool>{false, true}));
        EXPECT_EQ(d.Table()->item(0, 0)->checkState(), Qt::Unchecked);
        EXPECT_TRUE(d.Table()->item(0, 5)->text().contains(QString::fromUtf8("уже есть в списке")));
        EXPECT_EQ(d.Ready(), 1);
        return true;
    };
    f.ImportWomenButton->click();
    EXPECT_EQ(f.ListBox1->count(), 3);
    preview = [&](ImportPreviewDialog& d) {
        EXPECT_EQ(d.Included(), (std::vector<bool>{false, false}));
        EXPECT_EQ(d.Ready(), 0);
        EXPECT_TRUE(d.SetIncluded(2, true));  // ticked: added again all the same
        EXPECT_EQ(d.Table()->item(0, 0)->checkState(), Qt::Checked);
        EXPECT_EQ(d.Ready(), 1);
        return true;
    };
    f.ImportWomenButton->click();
    EXPECT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    EXPECT_EQ(f.ListBox1->count(), 4);
}

// The preview of another program's file: the summary names the encoding read,
// a person with coordinates but no zone near a city waits for the city whose
// zone to take, and the notes say what the reading converted.
TEST(MainWindow, ThePreviewAsksForTheZoneAndNamesTheEncoding) {
    const std::string dataDir = std::string(PELORIN_BINARY_DIR) + "/data";
    const ImportParse parse = ParseExchange("name,date,time,lat,lng\nJos\xE9,01.07.1990,10:00,-45,-140\n",
                                            ExchangeFormat::Csv, "in.csv");
    std::vector<ImportProblem> problems;
    const std::vector<ImportPlan> plans =
        PlanImport(parse, TableKind::Women, CitySearch::Build(dataDir), dataDir, "in.csv", problems);
    PersonTable list{TableKind::Women, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(list, i);
    ImportPreviewDialog d(plans, problems, list, "in.csv");
    d.SetEncoding(parse.encoding);
    const QString summary = d.findChild<QLabel*>(QStringLiteral("ImportSummary"))->text();
    EXPECT_TRUE(summary.contains(QString::fromUtf8("прочитан в кодировке Latin-1"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QString::fromUtf8("Нужно выбрать город (под таблицей): 1"))) << summary.toStdString();
    EXPECT_EQ(d.Ready(), 0);
    const QString outcome = d.Table()->item(0, 5)->text();
    EXPECT_TRUE(outcome.contains(QString::fromUtf8("выберите под таблицей город, чей пояс взять"))) << outcome.toStdString();
    EXPECT_TRUE(d.ChooseCity(2, 0));
    EXPECT_EQ(d.Ready(), 1);
    EXPECT_TRUE(d.Table()->item(0, 4)->text().contains(QString::fromUtf8("45°00′ ю. ш., 140°00′ з. д.: пояс ")))
        << d.Table()->item(0, 4)->text().toStdString();
}

// A scan ranks the men it can compute and names, under the ranking, those it
// could not, with the reason; the command succeeds.
TEST(MainWindow, AScanNamesTheMenItLeftOutUnderTheRanking) {
    Fixture fx(1, 3);
    PersonTable men{TableKind::Men, {}};
    LoadPersonFile(fx.dir.file("MEN.DAT"), men);
    men.slot(2).Moment = 1e155;  // "Имя 11"
    SavePersonFile(fx.dir.file("MEN.DAT"), men);
    auto w = fx.Start();
    w->BitBtn4Click();
    w->BitBtn11Click();
    EXPECT_TRUE(fx.boxes.shown.isEmpty()) << fx.boxes.shown.join("|").toStdString();
    EXPECT_TRUE(fx.state.ScanDone);
    EXPECT_FALSE(IsUnusedEntry(fx.state.RankedResults[1]));
    EXPECT_TRUE(IsUnusedEntry(fx.state.RankedResults[2]));
    auto* skipped = w->findChild<QLabel*>(QStringLiteral("SkippedLabel"));
    ASSERT_TRUE(skipped);
    EXPECT_TRUE(skipped->isVisibleTo(w.get()));
    EXPECT_TRUE(skipped->text().contains(QString::fromUtf8("Имя 11 (01.01.1980) — момент рождения"))) << skipped->text().toStdString();
    EXPECT_TRUE(skipped->text().contains(QStringLiteral("MEN.DAT")));
    SaveWindowPicture(w.get(), "window_scan_skipped");
    // Mended, the next scan leaves nobody out and the names go.
    fx.state.people.MenTable.slot(2).Moment = 0;
    w->BitBtn11Click();
    EXPECT_FALSE(skipped->isVisibleTo(w.get()));
}

TEST(MainWindow, FailingLoadersOfTheHooks) {
    {
        Fixture fx;
        auto w = fx.Start({[](const std::string& p) { throw Error("Нет файла «" + p + "»"); }, {}});
        ASSERT_EQ(fx.boxes.shown.size(), 1);
        EXPECT_TRUE(fx.boxes.shown[0].contains("Fond.in"));
        EXPECT_EQ(w->Form().ListBox1->count(), 0);
    }
    {
        Fixture fx;
        auto w = fx.Start({{}, [](const std::string& d) { throw Error("Нет файла «" + d + "as2.dat»"); }});
        ASSERT_EQ(fx.boxes.shown.size(), 1);
        EXPECT_TRUE(fx.boxes.shown[0].contains("as2.dat"));
        EXPECT_EQ(w->Form().ListBox1->count(), 3);
        EXPECT_FALSE(CommandsEnabled(*w));
    }
}

TEST(MainWindow, HelpByPageAndByPicture) {
    Fixture fx;
    test::WriteFile(fx.dir.file("PelorinHelp.chm"), "ITSF");
    auto w = fx.Start();
    QStringList opened;
    w->SetHelpViewer([&](const QString& file, const QString& topic) {
        opened << QFileInfo(file).fileName() + topic;
        return true;
    });
    // "Астрология" opens its own page, which lists the articles of its pictures.
    const char* expected[] = {"::10.html", "::40.html", "::50.html", "::60.html",
                              "::80.html", "::70.html", "::90.html", "::95.html", "::120.html"};
    for (int page = 0; page < 9; ++page) {
        w->Form().PageControl1->setCurrentIndex(page);
        opened.clear();
        w->BitBtn2Click();
        ASSERT_EQ(opened.size(), 1) << page;
        EXPECT_EQ(opened[0], QStringLiteral("PelorinHelp.chm") + expected[page]);
    }
    opened.clear();
    Q_EMIT w->Form().Image8->clicked();
    Q_EMIT w->Form().Image14->clicked();
    Q_EMIT w->Form().Image15->clicked();
    Q_EMIT w->Form().Image16->clicked();
    EXPECT_EQ(opened, (QStringList{"PelorinHelp.chm::160.html", "PelorinHelp.chm::260.html",
                                   "PelorinHelp.chm::20.html", "PelorinHelp.chm::190.html"}));
    EXPECT_TRUE(fx.boxes.shown.isEmpty());
}

TEST(MainWindow, MissingOrFailingHelpFileGivesTheMessage) {
    Fixture fx;
    auto w = fx.Start();
    bool called = false;
    w->SetHelpViewer([&](const QString&, const QString&) { return called = true; });
    w->BitBtn2Click();
    EXPECT_FALSE(called);
    ASSERT_EQ(fx.boxes.shown.size(), 1);
    EXPECT_EQ(fx.boxes.shown[0],
              QStringLiteral("Unable to open help file ") + QString::fromStdString(fx.dir.path()) + "PelorinHelp.chm");
    test::WriteFile(fx.dir.file("PelorinHelp.chm"), "ITSF");
    w->SetHelpViewer([](const QString&, const QString&) { return false; });
    w->BitBtn2Click();
    EXPECT_EQ(fx.boxes.shown.size(), 2);
}

TEST(MainWindow, GaugeFollowsTheProgressCounter) {
    Fixture fx;
    auto w = fx.Start();
    fx.state.ProgressCounter = 42;
    w->Timer1Timer();
    EXPECT_EQ(w->Form().Gauge1->value(), 42);
    fx.state.ProgressCounter = 0;
    w->Timer1Timer();
    EXPECT_EQ(w->Form().Gauge1->value(), 0);
}

// Pictures, drawing surfaces, lists, text views and the gauge show no text of
// their own: a screen reader has only their accessible names.
TEST(MainWindow, ControlsWithoutTextHaveDistinctAccessibleNames) {
    Fixture fx;
    auto w = fx.Start();
    QStringList missing;
    QSet<QString> names;
    int checked = 0;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        const bool textless = qobject_cast<ImageCanvas*>(c) || qobject_cast<QListWidget*>(c) ||
                              qobject_cast<QTextEdit*>(c) || qobject_cast<QPlainTextEdit*>(c) ||
                              qobject_cast<QProgressBar*>(c);
        if (!textless) continue;
        ++checked;
        const QString name = c->accessibleName().trimmed();
        if (name.isEmpty()) missing << c->objectName();
        else EXPECT_FALSE(names.contains(name)) << c->objectName().toStdString() << ": " << name.toStdString();
        names.insert(name);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
    // Image1..Image16, two lists, two comment boxes, two reports, the gauge, the
    // three lists and the paragraph of the factors, the picture of "Композит".
    EXPECT_EQ(checked, 16 + 2 + 2 + 2 + 1 + 4 + 1);
    auto& f = w->Form();
    EXPECT_EQ(f.ListBox1->accessibleName(), QString::fromUtf8("Список женщин"));
    EXPECT_EQ(f.Image13->accessibleName(), f.Image13->toolTip());
}


// The keyboard: Tab reaches the pictures that open help topics and Enter opens
// them; Tab leaves a comment box; after an add the chosen person keeps the
// highlight.
TEST(MainWindow, KeyboardReachesPicturesLeavesCommentsKeepsTheChosenHighlighted) {
    Fixture fx(4, 2);
    auto w = fx.Start();
    auto& f = w->Form();
    test::WriteFile(fx.dir.file("PelorinHelp.chm"), "ITSF");
    QStringList opened;
    w->SetHelpViewer([&](const QString&, const QString& topic) {
        opened << topic;
        return true;
    });
    w->show();
    auto tabStops = [&] {
        QStringList names;
        QWidget* at = w.get();
        for (int i = 0; i < 300; ++i) {
            at = at->nextInFocusChain();
            if (at == w.get()) break;
            if ((at->focusPolicy() & Qt::TabFocus) && at->isVisible() && at->isEnabled()) names << at->objectName();
        }
        return names;
    };
    f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Title));
    const QStringList title = tabStops();
    EXPECT_TRUE(title.contains(QStringLiteral("Image14")) && title.contains(QStringLiteral("Image15"))) << title.join(' ').toStdString();
    EXPECT_FALSE(title.contains(QStringLiteral("Image4")));  // the page's own picture is passed over
    f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Astrology));
    const QStringList astrology = tabStops();
    for (const char* name : {"Image8", "Image9", "Image10", "Image11", "Image12", "Image13", "Image16"})
        EXPECT_TRUE(astrology.contains(QLatin1String(name))) << name;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.Image8, &enter);
    EXPECT_EQ(opened, QStringList{QStringLiteral("::160.html")});

    f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Women));
    f.Memo1->setPlainText(QStringLiteral("abc"));
    for (Qt::KeyboardModifiers m : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, m, QStringLiteral("\t"));
        QApplication::sendEvent(f.Memo1, &tab);
    }
    EXPECT_FALSE(f.Memo1->toPlainText().contains(QLatin1Char('\t')));

    f.ListBox1->setCurrentRow(2);
    w->BitBtn4Click();
    const QString chosen = f.ListBox1->currentItem()->text();
    w->BitBtn5Click();  // no entry dialog here: the list is read again as after one
    ASSERT_NE(f.ListBox1->currentItem(), nullptr);
    EXPECT_EQ(f.ListBox1->currentItem()->text(), chosen);
    EXPECT_NE(f.ListBox1->currentRow(), 0);
}

}  // namespace
}  // namespace pelorin
