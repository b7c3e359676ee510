#include "graphics/ui/printed_pages.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "graphics/glyph_tables.h"
#include "ui/symbol_font.h"
#include "base/cp1251.h"

namespace pelorin {

namespace {

QColor ToQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }
Qt::PenStyle ToPenStyle(PrintPen p) { return p == PrintPen::Dot ? Qt::DotLine : Qt::SolidLine; }
Qt::BrushStyle BrushStyleOf(const PrintOp& op) { return op.brushSolid ? Qt::SolidPattern : Qt::NoBrush; }

bool IsSymbolFont(const std::string& font) { return font == kSymbolFontFamily; }

QString TextOf(const PrintOp& op) {
    if (IsSymbolFont(op.font)) return SymbolString(op.text);
    return QString::fromStdString(Cp1251ToUtf8(op.text));
}

void SetPen(PrinterCanvas& c, const PrintOp& op) {
    QPen pen(ToQColor(op.colour));
    pen.setStyle(ToPenStyle(op.pen));
    pen.setWidth(op.penWidth);
    c.painter.setPen(pen);
}

}  // namespace

void PaintPrintOps(PrinterCanvas& c, const PrintPage& ops) {
    // The default canvas state of a page: black solid pen of width 1, white solid brush.
    c.painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    c.painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    for (const PrintOp& op : ops) {
        const int style = op.bold ? FontBold : FontRegular;
        switch (op.kind) {
            case PrintOp::Kind::Text:
                PrintTextAt(c, TextOf(op), QString::fromStdString(op.font), op.size, op.x1, op.y1, style,
                            ToQColor(op.colour), ToQColor(op.brush), BrushStyleOf(op));
                break;
            case PrintOp::Kind::TextPolar:
                PrintTextPolar(c, TextOf(op), QString::fromStdString(op.font), op.size, BrushStyleOf(op),
                               ToQColor(op.brush), ToQColor(op.colour), style, op.cx, op.cy, op.r1, op.a1);
                break;
            case PrintOp::Kind::Line:
                PrintLineAt(c, op.penWidth, ToQColor(op.colour), ToPenStyle(op.pen), op.x1, op.y1, op.x2, op.y2);
                break;
            case PrintOp::Kind::RadialSegment:
                PrintRadialSegment(c, op.penWidth, ToQColor(op.colour), ToPenStyle(op.pen), op.cx, op.cy, op.r1,
                                   op.a1, op.r2, op.a2);
                break;
            case PrintOp::Kind::Rectangle:
                SetPen(c, op);
                c.painter.setBrush(QBrush(ToQColor(op.brush), BrushStyleOf(op)));
                PrintRectangleAt(c, op.x1, op.y1, op.x2, op.y2);
                break;
            case PrintOp::Kind::Circle:
                SetPen(c, op);
                PrintCircleAt(c, ToQColor(op.brush), BrushStyleOf(op), op.cx, op.cy, op.r1);
                break;
            case PrintOp::Kind::DotPolar:
                SetPen(c, op);
                PrintDotPolar(c, ToQColor(op.brush), BrushStyleOf(op), op.cx, op.cy, op.r1, op.a1, op.r2);
                break;
        }
    }
}

QString PrintLaidOutDocument(QPagedPaintDevice& device,
                             const std::function<PrintDocument(const PageMeasure&)>& layout) {
    InstallSymbolFont();
    QPainter painter;
    if (!painter.begin(&device)) return QStringLiteral("Не удалось начать печать.");
    PrinterCanvas canvas{painter, {}};
    const PrintDocument doc = layout(MeasurePrinterPage(device, canvas));
    for (std::size_t i = 0; i < doc.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return QStringLiteral("Не удалось начать новую страницу.");
        }
        MeasurePrinterPage(device, canvas);
        PaintPrintOps(canvas, doc[i]);
    }
    if (!painter.end()) return QStringLiteral("Не удалось завершить печать.");
    return {};
}

QString PrintPersonList(QPagedPaintDevice& device, const PersonTable& table) {
    return PrintLaidOutDocument(device, [&](const PageMeasure& m) { return PersonListDocument(table, m); });
}

QString PrintChartPage(QPagedPaintDevice& device, const ChartPageInput& in) {
    return PrintLaidOutDocument(device, [&](const PageMeasure& m) { return PrintDocument{ChartPageOps(in, m)}; });
}

QString PrintRankingPage(QPagedPaintDevice& device, const PersonRecord& person, const ScanTable& ranked,
                         bool women) {
    return PrintLaidOutDocument(device,
                                [&](const PageMeasure& m) { return RankingDocument(person, ranked, m, women); });
}

void PrintReport(QPagedPaintDevice& device, const QTextDocument& report) {
    // QTextDocument::print lays out a copy of the document on the device's pages.
    report.print(&device);
}

QString ReportJobTitle(const std::string& dataDir, const char* fileName) {
    return QString::fromStdString(dataDir) + QString::fromLatin1(fileName);
}

void SetUpPdfWriter(QPdfWriter& writer, const QString& title) {
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Pelorin"));
}

}  // namespace pelorin
