#include "ui/rich_text.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "analysis/rtf_text.h"
#include "base/cp1251.h"
#include "base/file_io.h"

namespace pelorin {

void ShowRtfFile(QTextEdit* view, const std::string& path) {
    const RtfDocument doc = ParseRtf(ReadWholeFile(path));
    QTextDocument* text = view->document();
    // A report is shown, not edited: no undo history, and one edit block, so
    // that the document is laid out once and not after every run.
    text->setUndoRedoEnabled(false);
    text->clear();
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& p : doc.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(p.centred ? Qt::AlignHCenter : Qt::AlignLeft);
        if (!p.tabStops.empty()) {
            // Twips to the document's pixels (96 per inch).
            QList<QTextOption::Tab> tabs;
            for (int twips : p.tabStops) tabs.append(QTextOption::Tab(twips / 15.0, QTextOption::LeftTab));
            block.setTabPositions(tabs);
        }
        if (first) cursor.setBlockFormat(block);
        else cursor.insertBlock(block);
        first = false;
        for (const RtfRun& r : p.runs) {
            QTextCharFormat f;
            const std::string family =
                r.font >= 0 && static_cast<std::size_t>(r.font) < doc.fonts.size() ? doc.fonts[r.font] : "";
            f.setFontFamilies({QString::fromStdString(family.empty() ? "Arial" : family)});
            f.setFontPointSize(r.halfPoints / 2.0);
            f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(r.italic);
            cursor.insertText(QString::fromStdString(Cp1251ToUtf8(r.text)), f);
        }
    }
    cursor.endEditBlock();
    view->moveCursor(QTextCursor::Start);
}

}  // namespace pelorin
