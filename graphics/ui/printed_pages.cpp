#include "graphics/ui/printed_pages.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <algorithm>

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
                            ToQColor(op.colour), ToQColor(op.brush), BrushStyleOf(op), op.maxWidth);
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

QString PrintRelationshipPage(QPagedPaintDevice& device, const RelationshipPageInput& in) {
    return PrintLaidOutDocument(device,
                                [&](const PageMeasure& m) { return PrintDocument{RelationshipPageOps(in, m)}; });
}

QString PrintRankingPage(QPagedPaintDevice& device, const PersonRecord& person, const ScanTable& ranked,
                         bool women, const std::vector<SkippedPerson>& skipped) {
    return PrintLaidOutDocument(
        device, [&](const PageMeasure& m) { return RankingDocument(person, ranked, m, women, skipped); });
}

namespace {

// A heading of a report (a centred paragraph: the title, the percentage,
// "Позитивные факторы", "Негативные факторы") never stands alone at the foot of
// a page: where the next paragraph with text begins on a later page, the
// heading begins that page too.
void KeepHeadingsWithText(QTextDocument& doc) {
    const double pageHeight = doc.pageSize().height();
    if (!(pageHeight > 0)) return;
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    auto top = [&](const QTextBlock& b) { return layout->blockBoundingRect(b).top(); };
    auto pageOf = [&](const QTextBlock& b) { return static_cast<int>(top(b) / pageHeight); };
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat format = b.blockFormat();
        if (!(format.alignment() & Qt::AlignHCenter) || b.text().trimmed().isEmpty()) continue;
        QTextBlock next = b.next();
        while (next.isValid() && next.text().trimmed().isEmpty()) next = next.next();
        if (!next.isValid() || pageOf(next) <= pageOf(b)) continue;
        // The heading's space above it grows by the rest of its page, so that it
        // begins the next page (the layout is asked again for every later block).
        QTextBlockFormat moved = format;
        moved.setTopMargin(format.topMargin() + (pageOf(b) + 1) * pageHeight - top(b) + 1);
        QTextCursor(b).setBlockFormat(moved);
    }
}

}  // namespace

ReportLayout LayOutReport(const QTextDocument& report, QPaintDevice& device) {
    ReportLayout out;
    out.doc.reset(report.clone());
    QTextDocument& doc = *out.doc;
    doc.documentLayout()->setPaintDevice(&device);

    // The widest line that must stay whole: a paragraph set in a fixed-pitch font.
    double widest = 0;
    const double cm = device.logicalDpiX() / 2.54;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        double width = 0;
        bool fixed = false;
        // Tab stops are in the document's pixels (96 per inch).
        const QList<QTextOption::Tab> tabs = b.blockFormat().tabPositions();
        const double tabScale = device.logicalDpiX() / 96.0;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QFont font = f.charFormat().font();
            fixed = QFontInfo(font).fixedPitch();
            if (!fixed) break;
            const QFontMetricsF fm(font, &device);
            const QStringList pieces = f.text().split(QLatin1Char('\t'));
            for (qsizetype k = 0; k < pieces.size(); ++k) {
                if (k > 0) {  // a tab: on to the first stop beyond the text so far
                    double next = width + fm.horizontalAdvance(QLatin1Char(' '));
                    for (const QTextOption::Tab& t : tabs)
                        if (t.position * tabScale > width) {
                            next = t.position * tabScale;
                            break;
                        }
                    width = next;
                }
                width += fm.horizontalAdvance(pieces[k]);
            }
        }
        // A long paragraph in that font is prose after all: it wraps as any other.
        if (!fixed || width > 1.3 * (device.width() - cm)) continue;
        QTextBlockFormat format = b.blockFormat();
        format.setNonBreakableLines(true);
        QTextCursor(b).setBlockFormat(format);
        widest = std::max(widest, width + format.leftMargin() + format.rightMargin() + format.textIndent());
    }

    const double pageW = device.width(), pageH = device.height();
    const double need = widest * 1.01 + 2;  // room for rounding in the layout
    double margin = 2 * cm;
    if (need > pageW - 2 * margin) margin = std::max(0.5 * cm, (pageW - need) / 2);
    const double docW = std::max(pageW, need + 2 * margin);
    out.scale = pageW / docW;
    out.sideMargin = margin;
    out.topMargin = 2 * device.logicalDpiY() / 2.54;
    // The pages hold the text area only; the margins are left round it when it is
    // painted (frame margins would be taken in screen units).
    out.page = QSizeF(docW - 2 * margin, pageH / out.scale - 2 * out.topMargin);
    QTextFrameFormat frame = doc.rootFrame()->frameFormat();
    frame.setMargin(0);
    doc.rootFrame()->setFrameFormat(frame);
    doc.setDocumentMargin(0);
    doc.setPageSize(out.page);
    KeepHeadingsWithText(doc);
    return out;
}

QString PrintReport(QPagedPaintDevice& device, const QTextDocument& report) {
    QPainter painter;
    if (!painter.begin(&device)) return QStringLiteral("Не удалось начать печать.");
    const ReportLayout layout = LayOutReport(report, device);
    const int pages = std::max(1, layout.doc->pageCount());
    const QFont numberFont = layout.doc->defaultFont();
    const QFontMetricsF fm(numberFont, &device);
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return QStringLiteral("Не удалось начать новую страницу.");
        }
        const QRectF view(0, i * layout.page.height(), layout.page.width(), layout.page.height());
        painter.save();
        painter.scale(layout.scale, layout.scale);
        painter.translate(layout.sideMargin, layout.topMargin - view.top());
        layout.doc->drawContents(&painter, view);
        painter.restore();
        // The page number at the foot, right, under the text as the view's own printing puts it.
        const QString number = QString::number(i + 1);
        painter.setFont(numberFont);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(device.width() - layout.sideMargin * layout.scale - fm.horizontalAdvance(number),
                                 device.height() - layout.topMargin * layout.scale + fm.ascent() +
                                     5 * device.logicalDpiY() / 72.0),
                         number);
    }
    if (!painter.end()) return QStringLiteral("Не удалось завершить печать.");
    return {};
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
