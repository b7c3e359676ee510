#pragma once
// Type-ahead in a list that ignores the blanks its entries start with: the
// atlas lists show every country and city behind a blank, so that typing "Мо"
// finds " Москва" as it finds "Москва".
#include <QString>
#include <QStringList>

class QAbstractItemView;

namespace pelorin {

// Installs the search on `view` (its model's display texts, case ignored, "ё" as
// "е"). Typing within the keyboard input interval extends the text sought; a
// single letter typed again moves on to the next entry that begins with it.
void SkipLeadingBlanksInTypeAhead(QAbstractItemView* view);

// The row of `texts` that the typed `sought` text finds, starting at `from` and
// wrapping around; -1 when none does. Exposed for tests.
int TypeAheadRow(const QStringList& texts, const QString& sought, int from);

}  // namespace pelorin
