// pelorin-cli print: a printed page of the program, through the printing code of
// the window, to a PDF file. The lists of women and men; the chart page and the
// two reports of a pair (after the pair analysis); the ranking of a woman (after
// the scan of all men) or of a man (after the scan of all women); the composite
// and the Davison chart of a pair. Built only with the Qt layer; runs without a display.
#include <QApplication>
#include <QFile>
#include <QPdfWriter>
#include <QTextEdit>
#include <memory>

#include "analysis/pair_analysis.h"
#include "ui/rich_text.h"
#include "cli/analysis_input.h"
#include "cli/chart_input.h"
#include "cli/command.h"
#include "graphics/ui/printed_pages.h"
#include "ui/symbol_font.h"
#include "cli/qt/qt_messages.h"

namespace pelorin::cli {
namespace {

// The rich-text views need the widget application; the offscreen platform
// unless another one is asked for. It must end before the program does.
std::unique_ptr<QApplication> WidgetApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    DropRuntimeDirNote();
    static int argc = 1;
    static char name[] = "pelorin-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

void CheckPrinted(const QString& failure, const std::string& out) {
    if (!failure.isEmpty()) throw Error(failure.toStdString() + " Файл «" + out + "».");
}

// The composite or the Davison chart of the pair: read, computed and printed
// without the pair analysis (no file of the data directory is written).
int PrintRelationship(const Args& args, RelationshipKind kind) {
    const std::string configFile = args.required("config");
    const std::string womanStamp = args.required("woman");
    const std::string manStamp = args.required("man");
    const std::string out = args.required("out");
    ChartInput in;
    LoadChartInput("print", configFile, in);
    ChoosePair(in, womanStamp, manStamp);
    const RelationshipChart chart = RelationshipChartOf(in.people, kind);
    in.lock.reset();

    const auto app = WidgetApplication();
    if (InstallSymbolFont().isEmpty()) throw Error("Не удалось зарегистрировать шрифт символов.");
    {
        QFile probe(QString::fromStdString(out));
        if (!probe.open(QIODevice::WriteOnly)) throw Error("Не удалось записать файл «" + out + "».");
    }
    QPdfWriter writer(QString::fromStdString(out));
    SetUpPdfWriter(writer, QString::fromUtf8(RelationshipTitle(kind)));
    CheckPrinted(PrintRelationshipPage(writer, {in.people.ChosenWoman, in.people.ChosenMan, chart}), out);
    return 0;
}

int RunPrint(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "page", "woman", "man", "out"});
    const std::string configFile = args.required("config");
    const std::string page = args.required("page");
    const std::string out = args.required("out");
    const bool lists = page == "women" || page == "men";
    const bool pair = page == "chart" || page == "pair" || page == "man";
    const bool relationship = page == "composite" || page == "davison";
    if (!lists && !pair && !relationship && page != "ranking")
        throw UsageError("--page: women, men, chart, ranking, pair, man, composite или davison, а не «" + EchoText(page) + "»");
    if (relationship) return PrintRelationship(args, page == "composite" ? RelationshipKind::Composite
                                                                         : RelationshipKind::Davison);
    // Check the options before anything is read or computed.
    // The ranking is of men for --woman, or of women for --man.
    const bool rankingOfWomen = page == "ranking" && args.has("man");
    if (page == "ranking" && args.has("woman") == args.has("man"))
        throw UsageError("--page ranking: give either --woman or --man");
    const std::string womanStamp = lists || rankingOfWomen ? std::string() : args.required("woman");
    const std::string manStamp = pair || rankingOfWomen ? args.required("man") : std::string();

    AnalysisInput in;
    if (lists) {
        in.config = ReadConfig(configFile);
        const std::string& dir = in.config.DataDir;
        in.lock.emplace(dir, LockUse::Read);
        LoadPersonFile(JoinPath(dir, page == "women" ? "FEMIN.DAT" : "MEN.DAT"),
                       page == "women" ? in.people.WomenTable : in.people.MenTable);
    } else {
        LoadAnalysisInput("print", configFile, in);
    }
    const std::string& dir = in.config.DataDir;

    AnalysisState state;
    if (!lists && !rankingOfWomen) {
        in.people.ChosenWoman = PersonByStamp(in.people.WomenTable, womanStamp, dir);
        in.people.WomanChosen = true;
    }
    if (pair) {
        in.people.ChosenMan = PersonByStamp(in.people.MenTable, manStamp, dir);
        in.people.ManChosen = true;
        PairAnalysisObserver none;
        const AnalysisResult r = RunPairAnalysis(in.people, {dir, in.texts}, state, none);
        if (!r.ok) throw Error(r.message);
    } else if (rankingOfWomen) {
        in.people.ChosenMan = PersonByStamp(in.people.MenTable, manStamp, dir);
        in.people.ManChosen = true;
        ScanObserver none;
        const AnalysisResult r = RunWomenScan(in.people, {dir, in.texts}, state, none);
        if (!r.ok) throw Error(r.message);
    } else if (page == "ranking") {
        ScanObserver none;
        const AnalysisResult r = RunScan(in.people, {dir, in.texts}, state, none);
        if (!r.ok) throw Error(r.message);
    }

    const auto app = WidgetApplication();
    if (InstallSymbolFont().isEmpty()) throw Error("Не удалось зарегистрировать шрифт символов.");
    {
        // The writer opens the file only when the painting begins; fail early and clearly.
        QFile probe(QString::fromStdString(out));
        if (!probe.open(QIODevice::WriteOnly)) throw Error("Не удалось записать файл «" + out + "».");
    }
    const QString file = QString::fromStdString(out);
    QPdfWriter writer(file);
    if (page == "women" || page == "men") {
        SetUpPdfWriter(writer, page == "women" ? QStringLiteral("Список женщин") : QStringLiteral("Список мужчин"));
        CheckPrinted(PrintPersonList(writer, page == "women" ? in.people.WomenTable : in.people.MenTable), out);
    } else if (page == "chart") {
        SetUpPdfWriter(writer, QStringLiteral("Гороскоп совместимости"));
        CheckPrinted(PrintChartPage(writer, {state.PairWoman, state.PairMan, state.WomanChart, state.ManChart,
                                             state.WomanCusps, state.AspectGrid,
                                             ManHousesKnown(state) ? &state.ManCusps : nullptr}),
                     out);
    } else if (page == "ranking") {
        SetUpPdfWriter(writer, QStringLiteral("Оценка совместимости"));
        CheckPrinted(PrintRankingPage(writer, state.ScanPerson, state.RankedResults, rankingOfWomen, state.ScanSkipped),
                     out);
    } else {
        const char* name = page == "pair" ? "Itogo.rtf" : "Itogo_Men.rtf";
        QTextEdit view;
        ShowRtfFile(&view, JoinPath(dir, name));
        SetUpPdfWriter(writer, ReportJobTitle(dir, name));
        CheckPrinted(PrintReport(writer, *view.document()), out);
    }
    return 0;
}

Register reg({"print",
              "print --config FILE --page women|men|chart|ranking|pair|man|composite|davison [--woman STAMP] [--man STAMP] "
              "--out FILE.pdf",
              RunPrint});

}  // namespace
}  // namespace pelorin::cli
