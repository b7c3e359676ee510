#pragma once
// The printed pages on a printer or a PDF writer: the lists of people, the chart
// page, the ranking and the two reports. The window prints to the QPrinter the
// user chose; the batch tool prints the same pages to a QPdfWriter.
#include <QPagedPaintDevice>
#include <QString>
#include <functional>
#include <string>

#include "graphics/printed_pages.h"
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
QString PrintRankingPage(QPagedPaintDevice& device, const PersonRecord& person, const ScanTable& ranked,
                         bool women = false);

// A rich-text report as the view shows it, on the device's pages.
void PrintReport(QPagedPaintDevice& device, const QTextDocument& report);

// Job title of a printed report: the data directory followed by the file name.
QString ReportJobTitle(const std::string& dataDir, const char* fileName);

// A PDF writer set up like a usual printer: A4, 300 dots per inch, printable area
// 20.0 x 28.7 cm (margins of 0.5 cm).
void SetUpPdfWriter(QPdfWriter& writer, const QString& title);

}  // namespace pelorin
