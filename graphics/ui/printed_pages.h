#pragma once
// The printed pages on a printer or a PDF writer: the lists of people, the chart
// page, the ranking and the two reports. The window prints to the QPrinter the
// user chose; the batch tool prints the same pages to a QPdfWriter.
#include <QPagedPaintDevice>
#include <QString>
#include <QSizeF>
#include <functional>
#include <memory>
#include <string>

#include "graphics/printed_pages.h"
#include "graphics/relationship_page.h"
#include "graphics/ui/draw_printer.h"

class QPdfWriter;
class QTextDocument;

namespace pelorin {

// Sends the operations of one page to the printer routines, in order.
void PaintPrintOps(PrinterCanvas& canvas, const PrintPage& ops);

// Measures the page of `device` and prints the pages `layout` makes for it, one
// device page each, measuring again at the start of every page. An empty string
// on success, else the reason (the device could not be opened).
QString PrintLaidOutDocument(QPagedPaintDevice& device,
                             const std::function<PrintDocument(const PageMeasure&)>& layout);

QString PrintPersonList(QPagedPaintDevice& device, const PersonTable& table);
QString PrintChartPage(QPagedPaintDevice& device, const ChartPageInput& in);
// The composite or the Davison chart of a pair (the page "Композит").
QString PrintRelationshipPage(QPagedPaintDevice& device, const RelationshipPageInput& in);
QString PrintRankingPage(QPagedPaintDevice& device, const PersonRecord& person, const ScanTable& ranked,
                         bool women = false, const std::vector<SkippedPerson>& skipped = {});

// A report laid out for the pages of a device: a copy of the document in device
// pixels, paginated into text areas of `page`, each printed inside margins of
// `sideMargin` and `topMargin` (all device pixels before `scale`). Lines
// set in a fixed-pitch font (the identity lines of the people, lined up in
// columns) never wrap: the side margins narrow from 2 cm down to 0.5 cm to make
// room for the widest, and where even that is not enough the whole page is
// printed smaller by `scale`.
struct ReportLayout {
    std::unique_ptr<QTextDocument> doc;
    QSizeF page;
    double scale = 1;
    double sideMargin = 0, topMargin = 0;  // in the document's pixels
};
ReportLayout LayOutReport(const QTextDocument& report, QPaintDevice& device);

// A rich-text report as the view shows it, on the device's pages, numbered at the
// foot. An empty string on success, else the reason.
QString PrintReport(QPagedPaintDevice& device, const QTextDocument& report);

// Job title of a printed report: the data directory followed by the file name.
QString ReportJobTitle(const std::string& dataDir, const char* fileName);

// A PDF writer set up like a usual printer: A4, 300 dots per inch, printable area
// 20.0 x 28.7 cm (margins of 0.5 cm).
void SetUpPdfWriter(QPdfWriter& writer, const QString& title);

}  // namespace pelorin
