#pragma once
// What the entry dialogs read from their text boxes, as Windows-1251.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "base/cp1251.h"

namespace pelorin {

inline std::string FieldText(const QLineEdit* edit) { return Utf8ToCp1251(edit->text().toStdString()); }

// The lines of a comment box; an empty box has none.
inline std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
    std::vector<std::string> lines;
    const QString text = memo->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(Utf8ToCp1251(line.toStdString()));
    return lines;
}

}  // namespace pelorin
