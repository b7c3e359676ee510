#include "app/print_command.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>

#include "graphics/ui/printed_pages.h"

namespace pelorin {

namespace {

struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

QString RunPrintAction(QWidget* parent, PrintAction action, const AppState& state, const PrintViews& views) {
    if (action == PrintAction::Nothing) return {};
    const RelationshipChart* relationship = nullptr;
    if (action == PrintAction::RelationshipPage) {
        if (!state.Relationship) return {};
        const RelationshipCharts& r = *state.Relationship;
        if (views.davison && !r.davison) return QString::fromStdString(r.davisonRefusal);
        relationship = views.davison ? &*r.davison : &r.composite;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (action == PrintAction::PairReport) printer.setDocName(ReportJobTitle(state.config.DataDir, "Itogo.rtf"));
    if (action == PrintAction::ManReport) printer.setDocName(ReportJobTitle(state.config.DataDir, "Itogo_Men.rtf"));
    if (relationship) printer.setDocName(QString::fromUtf8(RelationshipTitle(relationship->kind)));
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return {};

    BusyCursor busy;
    switch (action) {
        case PrintAction::WomenList: return PrintPersonList(printer, state.people.WomenTable);
        case PrintAction::MenList: return PrintPersonList(printer, state.people.MenTable);
        case PrintAction::Ranking:
            return PrintRankingPage(printer, state.ScanPerson, state.RankedResults, state.ScanOfWomen,
                                    state.ScanSkipped);
        case PrintAction::ChartPage:
            return PrintChartPage(printer, {state.PairWoman, state.PairMan, state.WomanChart, state.ManChart,
                                            state.WomanCusps, state.AspectGrid,
                                            ManHousesKnown(state) ? &state.ManCusps : nullptr});
        case PrintAction::RelationshipPage:
            return PrintRelationshipPage(printer, {state.Relationship->woman, state.Relationship->man, *relationship});
        case PrintAction::PairReport:
            if (views.pairReport) PrintReport(printer, *views.pairReport->document());
            return {};
        case PrintAction::ManReport:
            if (views.manReport) PrintReport(printer, *views.manReport->document());
            return {};
        case PrintAction::Nothing: break;
    }
    return {};
}

}  // namespace pelorin
