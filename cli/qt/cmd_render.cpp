// pelorin-cli render: the bi-wheel picture of a woman and a man named by their
// stamps, as the page "Карта" shows it after a pair analysis, written as PNG;
// with --chart composite or davison their chart as the page "Композит" shows it.
// Built only with the Qt layer; runs without a display (offscreen platform).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "analysis/aspects.h"
#include "astro/chart.h"
#include "astro/houses.h"
#include "cli/analysis_input.h"
#include "cli/chart_input.h"
#include "cli/command.h"
#include "graphics/relationship_wheel.h"
#include "graphics/ui/bi_wheel_painter.h"
#include "ui/symbol_font.h"
#include "cli/qt/qt_messages.h"
#include "base/cp1251.h"
#include "people/person_chart.h"

namespace pelorin::cli {
namespace {

// The size of the chart picture on the page "Карта".
constexpr int kPictureWidth = 782;
constexpr int kPictureHeight = 880;

// The application object the painting needs, without a display unless one is
// asked for. It must end before the program does (Qt's statics go first).
std::unique_ptr<QGuiApplication> GuiApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    DropRuntimeDirNote();
    static int argc = 1;
    static char name[] = "pelorin-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int RunRender(const std::vector<std::string>& argv) {
    Args args(argv, {"config", "woman", "man", "out", "chart"});
    const std::string configFile = args.required("config");
    const std::string womanStamp = args.required("woman");
    const std::string manStamp = args.required("man");
    const std::string out = args.required("out");
    const std::string kind = args.get("chart").value_or("bi-wheel");
    if (kind != "bi-wheel" && kind != "composite" && kind != "davison")
        throw UsageError("--chart: bi-wheel, composite или davison, а не «" + kind + "»");

    // What the picture needs of the start-up: Fond.in and the two person files.
    Config config = ReadConfig(configFile);
    const std::string& dir = config.DataDir;
    const DirLock lock(dir, LockUse::Read);
    std::string message;
    const int rc = LoadPlutoFile(JoinPath(dir, "Fond.in"), &message);
    if (rc == ENOENT) std::fprintf(stderr, "pelorin-cli render: %s\n", message.c_str());
    else if (rc != 0) throw Error(message);
    PeopleState people;
    LoadPersonFile(JoinPath(dir, "FEMIN.DAT"), people.WomenTable);
    LoadPersonFile(JoinPath(dir, "MEN.DAT"), people.MenTable);
    const PersonRecord& woman = PersonByStamp(people.WomenTable, womanStamp, dir);
    const PersonRecord& man = PersonByStamp(people.MenTable, manStamp, dir);

    // The steps of the pair analysis the chart draws from; a damaged record is
    // refused as the pair analysis refuses it.
    RequireComputableRecord(woman, true, JoinPath(dir, "FEMIN.DAT"));
    RequireServedMoment(man, JoinPath(dir, "MEN.DAT"));
    std::optional<RelationshipChart> relationship;
    if (kind != "bi-wheel") {
        PeopleState pair;
        pair.ChosenWoman = woman;
        pair.ChosenMan = man;
        relationship = RelationshipChartOf(pair, kind == "composite" ? RelationshipKind::Composite
                                                                      : RelationshipKind::Davison);
    }
    TChart womanChart{}, manChart{};
    ComputeChart(woman, womanChart);
    ComputeChart(man, manChart);
    AspectGrid grid;
    FindMutualAspects(womanChart, manChart, grid);
    TCusps cusps{};
    ComputeHouses(woman, cusps);
    const PersonChart his = ChartOf(man);  // his cusps on the outer ring, where he has houses

    const auto app = GuiApplication();
    if (InstallSymbolFont().isEmpty()) throw Error("Не удалось зарегистрировать шрифт символов.");
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    {
        QPainter canvas(&picture);
        if (relationship) {
            RelationshipWheelInput in;
            in.width = kPictureWidth;
            in.height = kPictureHeight;
            in.kind = relationship->kind;
            in.chart = &*relationship;
            in.womanName = DisplayName(woman);
            in.manName = DisplayName(man);
            PaintWheelOps(canvas, PlanRelationshipWheel(in));
        } else {
            DrawBiWheel(canvas, kPictureWidth, kPictureHeight, womanChart, manChart, cusps, grid, true, &grid,
                        his.cusps ? &*his.cusps : nullptr);
        }
    }
    if (!picture.save(QString::fromStdString(out), "PNG"))
        throw Error("Не удалось записать файл «" + out + "».");
    return 0;
}

Register reg({"render",
              "render --config FILE --woman STAMP --man STAMP [--chart bi-wheel|composite|davison] --out FILE.png",
              RunRender});

}  // namespace
}  // namespace pelorin::cli
