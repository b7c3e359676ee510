// Makes the pictures of the help pages from the running windows:
//   pelorin_help_shots --config FILE --out DIR
// The main window on the configuration's people (the first woman and the first
// man chosen, the pair analysed and the men ranked), then the entry dialogs, the
// place chooser, the add-city dialog and the legend, each saved as DIR/<name>.png
// in full colour. tools/make_help_screenshots.sh runs it under Xvfb.
//   pelorin_help_shots --config FILE --topics DIR
// shows every topic of the help files of the configuration's system directory
// in the help window instead and saves DIR/topic_<n>.png, for looking them over.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/core/startup.h"
#include "app/main_window.h"
#include "graphics/ui/oboznach_form.h"
#include "people/config.h"
#include "people/exchange.h"
#include "people/ui/import_preview.h"
#include "people/ui/input2h2_form.h"
#include "people/ui/input3h_form.h"
#include "people/ui/input_men_form3.h"
#include "people/ui/input_women_form2.h"
#include "app/core/commands.h"
#include "ui/file_names.h"
#include "ui/help.h"
#include "ui/help_window.h"
#include "ui/message_boxes.h"
#include "ui/symbol_font.h"
#include "ui_input2h2_form.h"
#include "ui_main_window.h"

namespace {

// Messages go to the terminal: nothing may wait for a click.
struct PrintingBoxes : pelorin::MessageBoxes {
    void ShowError(QWidget*, const QString& t) override { std::fprintf(stderr, "error: %s\n", qPrintable(t)); }
    void ShowWarning(QWidget*, const QString& t) override { std::fprintf(stderr, "warning: %s\n", qPrintable(t)); }
    void ShowMessage(QWidget*, const QString& t) override { std::fprintf(stderr, "message: %s\n", qPrintable(t)); }
    bool Confirm(QWidget*, const QString&) override { return false; }
};

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool Save(QWidget* w, const QString& dir, const char* name) {
    w->show();
    w->raise();
    Settle();
    // Full colour: the window as it is seen (a palette of 256 colours dithered
    // the pictures of the pages into blotches and shifted the bars' colours).
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString file = QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!shot.save(file, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The first row that holds the text, else the first row.
void ChooseRow(QListWidget* list, const QString& text) {
    if (list->count() == 0) return;
    const auto found = list->findItems(text, Qt::MatchContains);
    list->setCurrentItem(found.isEmpty() ? list->item(0) : found.front());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("main.dat"), QStringLiteral("FILE"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("folder"), QStringLiteral("DIR"));
    parser.addOption(configOption);
    const QCommandLineOption topicsOption(QStringLiteral("topics"), QStringLiteral("folder"), QStringLiteral("DIR"));
    parser.addOption(outOption);
    parser.addOption(topicsOption);
    parser.process(app);
    if (parser.isSet(topicsOption)) {
        const QString dir = parser.value(topicsOption);
        QDir().mkpath(dir);
        const pelorin::Config config =
            pelorin::ReadConfig(pelorin::ResolveConfigPath(pelorin::PathFromQt(parser.value(configOption))));
        std::vector<std::pair<QString, int>> topics;
        const QString main = QString::fromStdString(pelorin::HelpTargetFor(config.SystemDir, 10).file);
        for (int t : {10, 20, 260, 40, 50, 60, 70, 80, 90, 95, 100}) topics.push_back({main, t});
        for (int t : pelorin::kAstrologyPictureTopics) topics.push_back({main, t});
        topics.push_back({QString::fromStdString(config.SystemDir) + QString::fromLatin1(pelorin::kAddCityHelpFile),
                          pelorin::kAddCityHelpTopic});
        bool ok = true;
        for (const auto& [file, t] : topics) {
            pelorin::HelpWindow w;
            if (!w.Open(file, QStringLiteral("::%1.html").arg(t))) {
                std::fprintf(stderr, "cannot open topic %d of %s\n", t, qPrintable(file));
                ok = false;
                continue;
            }
            ok = Save(&w, dir, ("topic_" + std::to_string(t)).c_str()) && ok;
        }
        return ok ? 0 : 1;
    }
    const QString out = parser.value(outOption);
    if (out.isEmpty() || !QDir().mkpath(out)) return 2;

    pelorin::AppState state;
    PrintingBoxes boxes;
    pelorin::InstallSymbolFont();
    pelorin::TZZavelForm main(pelorin::ResolveConfigPath(pelorin::PathFromQt(parser.value(configOption))),
                              state, boxes, pelorin::DefaultStartupHooks(state));
    main.show();
    Settle();
    main.FormActivate();  // reads main.dat and the people: the dialogs need both
    pelorin::TInput2h2Form placeChooser(state.config, boxes, &main);
    pelorin::TOboznachForm legend(&main);
    main.SetLegend(&legend);
    pelorin::TInput_Women_Form2 womenEntry(state.people.WomenTable, state.config.DataDir, boxes, &main);
    pelorin::TInput_Men_Form3 menEntry(state.people.MenTable, state.config.DataDir, boxes, &main);
    main.SetEntryDialogs(&womenEntry, &menEntry);
    pelorin::TInput3hForm addCity(boxes, &placeChooser);

    bool ok = true;
    auto& f = main.Form();
    auto page = [&](pelorin::MainPage p, const char* name) {
        f.PageControl1->setCurrentIndex(static_cast<int>(p));
        ok = Save(&main, out, name) && ok;
    };
    page(pelorin::MainPage::Title, "main_title");
    f.PageControl1->setCurrentIndex(static_cast<int>(pelorin::MainPage::Women));
    if (f.ListBox1->count() > 0) f.ListBox1->setCurrentRow(0);
    main.BitBtn4Click();
    page(pelorin::MainPage::Women, "page_women");
    f.PageControl1->setCurrentIndex(static_cast<int>(pelorin::MainPage::Men));
    if (f.ListBox2->count() > 0) f.ListBox2->setCurrentRow(0);
    main.BitBtn8Click();
    page(pelorin::MainPage::Men, "page_men");
    main.BitBtn11Click();  // the ranking, then the pair again for its pages
    page(pelorin::MainPage::Compatibility, "page_compat");
    f.PageControl1->setCurrentIndex(static_cast<int>(pelorin::MainPage::Men));
    main.BitBtn8Click();
    main.BitBtn27Click();
    page(pelorin::MainPage::Compatibility, "page_factors");  // the bar and the factors of the pair
    page(pelorin::MainPage::Man, "page_man");
    page(pelorin::MainPage::Pair, "page_pair");
    // The same report at its section on her planets in his houses.
    f.PageControl1->setCurrentIndex(static_cast<int>(pelorin::MainPage::Pair));
    f.RichEdit1->moveCursor(QTextCursor::End);
    if (f.RichEdit1->find(QString::fromUtf8("Её планеты в его домах"), QTextDocument::FindBackward)) {
        QTextCursor found = f.RichEdit1->textCursor();
        found.clearSelection();
        f.RichEdit1->setTextCursor(found);
        QScrollBar* bar = f.RichEdit1->verticalScrollBar();
        bar->setValue(bar->value() + f.RichEdit1->cursorRect().top() - 8);
    }
    page(pelorin::MainPage::Pair, "page_pair_reverse");
    f.RichEdit1->moveCursor(QTextCursor::Start);
    page(pelorin::MainPage::Chart, "page_chart");
    // A page shown for the first time settles its scroll bars only after a few
    // rounds of events: "Композит" is shown once before its picture.
    f.PageControl1->setCurrentIndex(static_cast<int>(pelorin::MainPage::Composite));
    for (int i = 0; i < 10; ++i) Settle();
    page(pelorin::MainPage::Composite, "page_composite");
    page(pelorin::MainPage::Astrology, "page_astrology");

    ok = Save(&womenEntry, out, "dialog_woman") && ok;
    womenEntry.hide();
    ok = Save(&menEntry, out, "dialog_man") && ok;
    menEntry.hide();
    placeChooser.show();  // showing empties the lists
    Settle();
    // The search field at work: a name in another language, the city found
    // and chosen in the lists.
    placeChooser.Form().EditFind->setText(QStringLiteral("Moscow"));
    placeChooser.FindTextChanged();
    placeChooser.FoundChosen(0);
    ChooseRow(placeChooser.Form().ListBox2, QStringLiteral("Москва"));
    ok = Save(&placeChooser, out, "dialog_place") && ok;
    placeChooser.hide();
    addCity.FormShow();
    ok = Save(&addCity, out, "dialog_city") && ok;
    addCity.hide();
    ok = Save(&legend, out, "legend") && ok;

    // The preview of "Импорт…" with a file of every kind of line.
    const pelorin::ImportParse parse = pelorin::ParseExchange(
        "name,date,time,place,latitude,longitude,zone\n"
        "Анна,05.06.1975,14:30,Москва,,,\n"
        "Бэла,31.02.1985,,Кировск,,,\n"
        "Вера,01.01.1990,,Кировск,,,\n"
        "\"Гончарова, Ирина\",12.12.1982,07:05,Лондон,,,\n"
        "Дина,03.03.1979,23:40,Сидней,-33.866667,151.2,10\n"
        "Ева,01.01.1990,,Нигдеград,,,\n",
        pelorin::ExchangeFormat::Csv, "people.csv");
    std::vector<pelorin::ImportProblem> problems = parse.problems;
    const std::vector<pelorin::ImportPlan> plans =
        pelorin::PlanImport(parse, pelorin::TableKind::Women, pelorin::CitySearch::Build(state.config.DataDir),
                            state.config.DataDir, "people.csv", problems);
    pelorin::ImportPreviewDialog preview(plans, problems, state.people.WomenTable, "people.csv", &main);
    preview.ChooseCity(2, 0);
    ok = Save(&preview, out, "dialog_import") && ok;
    return ok ? 0 : 1;
}
