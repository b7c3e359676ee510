// The window as a person meets it, on the offscreen platform, with a data
// directory of 99 women and 99 men and the build's databases:
//   start-up     from the start of the process until the main window's first paint
//   pair         from the click on "Анализ пары" until the pair page is painted
//                with both report views filled (and the bi-wheel and the
//                composite of "Композит" drawn)
//   davison      with "Композит" in front, from the choice of «Давидсон» until
//                the page is painted with the pair's Davison chart
//   scan         from the click on "Анализ всех" until the ranking is painted
//   peak memory  the peak resident size of a session that starts, analyses a
//                pair and scans all men
// Each figure stands beside its floor, the same work without the window: the
// start-up sequence alone, RunPairAnalysis and RunScan with silent observers.
// Medians of --runs runs (default 7).
//   pelorin_window_bench [--runs N]
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/pair_analysis.h"
#include "app/core/startup.h"
#include "app/main_window.h"
#include "base/cp1251.h"
#include "base/short_text.h"
#include "graphics/ui/oboznach_form.h"
#include "people/person_record.h"
#include "people/ui/input2h2_form.h"
#include "people/ui/input3h_form.h"
#include "people/ui/input_men_form3.h"
#include "people/ui/input_women_form2.h"
#include "ui/image_canvas.h"
#include "ui/message_boxes.h"
#include "ui/symbol_font.h"
#include "ui_main_window.h"

namespace {

using namespace pelorin;
namespace fs = std::filesystem;

struct SilentBoxes : MessageBoxes {
    void ShowError(QWidget*, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void ShowWarning(QWidget*, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void ShowMessage(QWidget*, const QString&) override {}
    bool Confirm(QWidget*, const QString&) override { return true; }
};

const char* const kCities[][2] = {
    {"Москва", " 37°37’ВД  55°45’СШ"}, {"Новосибирск", " 82°55’ВД  55°02’СШ"},
    {"Мурманск", " 33°05’ВД  68°58’СШ"}, {"Сочи", " 39°43’ВД  43°35’СШ"},
};

PersonTable People(TableKind kind) {
    PersonTable t{kind, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
    for (int i = 1; i <= kUsableSlots; ++i) {
        PersonRecord& r = t.slot(i);
        const auto& city = kCities[i % 4];
        r.Name.set(PadRight(Utf8ToCp1251((kind == TableKind::Men ? "Мужчина " : "Женщина ") + std::to_string(100 + i)), 20));
        r.Stamp.set((kind == TableKind::Men ? "02000000" : "01000000") + std::to_string(10 + i));
        r.DateText.set("01.01.1970");
        r.TimeText.set("12:00");
        r.TimeKnown = 1;
        r.Place.set(PadRight(Utf8ToCp1251(city[0]), 26));
        r.CoordText.set(Utf8ToCp1251(city[1]));
        r.Moment = (kind == TableKind::Men ? 18000 : 21000) + 137.31 * i + 0.37 * (i % 7);
        BuildListLine(r);
    }
    return t;
}

// A scratch data directory with the build's databases; main.dat names it.
std::string MakeDataDir(const fs::path& dir) {
    fs::create_directories(dir);
    for (const auto& f : fs::directory_iterator(std::string(PELORIN_BINARY_DIR) + "/data")) {
        if (!f.is_regular_file()) continue;
        const std::string name = f.path().filename().string();
        if (name == "FEMIN.DAT" || name == "MEN.DAT" || name == "main.dat") continue;
        fs::copy_file(f.path(), dir / name, fs::copy_options::overwrite_existing);
    }
    SavePersonFile((dir / "FEMIN.DAT").string(), People(TableKind::Women));
    SavePersonFile((dir / "MEN.DAT").string(), People(TableKind::Men));
    const std::string config = (dir / "main.dat").string();
    const std::string d = dir.string() + "/";
    FILE* f = std::fopen(config.c_str(), "wb");
    std::fprintf(f, "%s\r\n%s\r\n", d.c_str(), d.c_str());
    std::fclose(f);
    return config;
}

// Notes when a widget's paint events end, on the clock `clock`.
struct PaintWatch : QObject {
    QElapsedTimer clock;
    double lastPaintEnd = -1;
    QWidget* widget = nullptr;
    void Arm(QWidget* w) {
        widget = w;
        lastPaintEnd = -1;
        w->installEventFilter(this);
        clock.start();
    }
    ~PaintWatch() override {
        if (widget) widget->removeEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Paint) return false;
        o->event(e);  // the paint itself, then its end is noted
        lastPaintEnd = clock.nsecsElapsed() / 1e6;
        return true;
    }
    // Lets events run until the widget has painted and nothing has been painted
    // for 100 ms; returns when its last paint ended (ms since Arm).
    double Settle() {
        QElapsedTimer guard;
        guard.start();
        double seen = -2;
        QElapsedTimer quiet;
        quiet.start();
        while (guard.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (lastPaintEnd != seen) {
                seen = lastPaintEnd;
                quiet.restart();
            } else if (lastPaintEnd >= 0 && quiet.elapsed() > 100) {
                break;
            }
        }
        return lastPaintEnd;
    }
};

// The windows of the program as main() makes them.
struct Session {
    AppState state;
    SilentBoxes boxes;
    TZZavelForm main;
    TInput2h2Form placeChooser;
    TOboznachForm legend;
    TInput_Women_Form2 womenEntry;
    TInput_Men_Form3 menEntry;
    TInput3hForm addCity;
    explicit Session(const std::string& config)
        : main((InstallSymbolFont(), config), state, boxes, DefaultStartupHooks(state)),
          placeChooser(state.config, boxes, &main),
          legend(&main),
          womenEntry(state.people.WomenTable, state.config.DataDir, boxes, &main),
          menEntry(state.people.MenTable, state.config.DataDir, boxes, &main),
          addCity(boxes, &placeChooser) {
        main.SetLegend(&legend);
        main.SetEntryDialogs(&womenEntry, &menEntry);
        womenEntry.SetPlaceChooser(&placeChooser);
        placeChooser.SetAddCityDialog(&addCity);
    }
    void ChooseWoman(int row) {
        main.Form().ListBox1->setCurrentRow(row);
        main.BitBtn4Click();
    }
    void ChooseMan(int row) {
        main.Form().ListBox2->setCurrentRow(row);
        main.BitBtn8Click();
    }
    double Pair() {
        PaintWatch watch;
        watch.Arm(main.Form().RichEdit1->viewport());
        main.Form().BitBtn27->click();
        return watch.Settle();
    }
    // Whether "Композит" holds a drawing (the pair analysis fills it).
    bool CompositeFilled() {
        const QImage& picture = main.Form().ImageComposite->Surface();
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                if (picture.pixelColor(x, y) != QColor(Qt::white)) return true;
        return false;
    }
    double Davison() {
        auto& f = main.Form();
        f.CompositeChoice->setChecked(true);
        f.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Composite));
        QCoreApplication::processEvents();
        PaintWatch watch;
        watch.Arm(f.ImageComposite);
        f.DavisonChoice->click();
        const double ms = watch.Settle();
        f.CompositeChoice->setChecked(true);
        return ms;
    }
    double Scan() {
        PaintWatch watch;
        watch.Arm(main.Form().Image2);
        main.Form().BitBtn11->click();
        return watch.Settle();
    }
};

long PeakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v[(v.size() - 1) / 2] + v[v.size() / 2]) / 2;
}

// Child: start as main() does and report the first paint; with `session`, then
// analyse a pair, scan all men and report the peak resident size.
int RunChild(const std::string& config, bool session) {
    QElapsedTimer t;
    t.start();
    int argc = 1;
    char name[] = "pelorin";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    Session s(config);
    PaintWatch watch;
    watch.Arm(&s.main);
    const double before = t.nsecsElapsed() / 1e6;
    s.main.show();
    while (watch.lastPaintEnd < 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double firstPaint = before + watch.lastPaintEnd;
    if (!session) {
        std::printf("painted %.2f\n", firstPaint);
        std::fflush(stdout);
        return 0;
    }
    QCoreApplication::processEvents();
    s.ChooseWoman(10);
    s.ChooseMan(20);
    s.Pair();
    s.Scan();
    std::printf("peak %ld\n", PeakKilobytes());
    std::fflush(stdout);
    return 0;
}

double SpawnStartup(const QString& self, const std::string& config, double* inProcess) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(self, {QStringLiteral("--child-startup"), QString::fromStdString(config)});
    while (p.waitForReadyRead(20000)) {
        const QByteArray line = p.readLine();
        if (line.startsWith("painted")) {
            const double ms = t.nsecsElapsed() / 1e6;
            *inProcess = line.mid(8).trimmed().toDouble();
            p.waitForFinished();
            return ms;
        }
    }
    p.waitForFinished();
    return -1;
}

long SpawnSession(const QString& self, const std::string& config) {
    QProcess p;
    p.start(self, {QStringLiteral("--child-session"), QString::fromStdString(config)});
    p.waitForFinished(120000);
    const QByteArray out = p.readAllStandardOutput();
    const int at = out.indexOf("peak ");
    return at < 0 ? -1 : out.mid(at + 5).trimmed().toLong();
}

struct NoPair : PairAnalysisObserver {};
struct NoScan : ScanObserver {};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string(argv[1]) == "--child-startup") return RunChild(argv[2], false);
    if (argc == 3 && std::string(argv[1]) == "--child-session") return RunChild(argv[2], true);
    int runs = 7;
    if (argc == 3 && std::string(argv[1]) == "--runs") runs = std::max(1, std::atoi(argv[2]));

    const fs::path dir = fs::temp_directory_path() / ("pelorin-window-bench-" + std::to_string(::getpid()));
    const std::string config = MakeDataDir(dir);
    QApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();

    std::vector<double> startup, startupInside, startupFloor, pair, pairFloor, davison, scan, scanFloor;
    bool compositeFilled = true;
    for (int i = 0; i < runs; ++i) {
        double inside = 0;
        startup.push_back(SpawnStartup(self, config, &inside));
        startupInside.push_back(inside);
    }
    {
        // The floor of the start-up: the start-up sequence without the window.
        for (int i = 0; i < runs; ++i) {
            AppState st;
            struct NoWindow : StartupView {
                void ShowWomenList(const std::vector<std::string>&, const std::string&) override {}
                void ShowMenList(const std::vector<std::string>&, const std::string&) override {}
                void SetDefaultCursor() override {}
                void DisableAnalysisCommands() override {}
                void PrepareDrawingSurfaces() override {}
            } view;
            QElapsedTimer t;
            t.start();
            RunStartup(config, st, view, DefaultStartupHooks(st));
            startupFloor.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    {
        Session s(config);
        s.main.show();
        QCoreApplication::processEvents();
        s.main.FormActivate();
        QCoreApplication::processEvents();
        for (int i = 0; i < runs; ++i) {
            s.ChooseWoman(i % 99);
            s.ChooseMan((7 * i + 3) % 99);
            pair.push_back(s.Pair());
            compositeFilled = compositeFilled && s.CompositeFilled();
            davison.push_back(s.Davison());
            NoPair none;
            QElapsedTimer t;
            t.start();
            RunPairAnalysis(s.state.people, {s.state.config.DataDir, s.state.databases}, s.state, none);
            pairFloor.push_back(t.nsecsElapsed() / 1e6);
        }
        for (int i = 0; i < runs; ++i) {
            s.ChooseWoman((5 * i + 1) % 99);
            scan.push_back(s.Scan());
            NoScan none;
            QElapsedTimer t;
            t.start();
            RunScan(s.state.people, {s.state.config.DataDir, s.state.databases}, s.state, none);
            scanFloor.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    const long peak = SpawnSession(self, config);
    fs::remove_all(dir);

    std::printf("Window on the %s platform, 99 women and 99 men, median of %d runs\n",
                qPrintable(QGuiApplication::platformName()), runs);
    std::printf("%-34s %10s %12s %10s\n", "figure", "measured", "floor", "goal");
    std::printf("%-34s %7.1f ms %9.1f ms %7s ms\n", "start-up to first paint", Median(startup),
                Median(startupFloor), "250");
    std::printf("%-34s %7.1f ms %12s\n", "  of which inside the process", Median(startupInside), "");
    std::printf("%-34s %7.1f ms %9.1f ms %7s ms\n", "pair analysis to painted page", Median(pair), Median(pairFloor),
                "50");
    std::printf("%-34s %7.1f ms %12s\n", "  «Давидсон» chosen to painted page", Median(davison), "");
    if (!compositeFilled) std::printf("the pair analysis left \"Композит\" empty\n");
    std::printf("%-34s %7.1f ms %9.1f ms %7s ms\n", "scan of 99 men to painted ranking", Median(scan),
                Median(scanFloor), "100");
    std::printf("%-34s %7.1f MB %12s %7s MB\n", "peak memory of a session", peak / 1024.0, "", "120");
    return 0;
}
