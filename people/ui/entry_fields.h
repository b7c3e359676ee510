#pragma once
// What the entry dialogs read from their text boxes, as Windows-1251, and what
// they do when their store procedure has answered.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "people/person_entry.h"
#include "ui/message_boxes.h"

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

// The hour and minute fields of an entry dialog and their captions, shown for
// "Время рождения известно"; hidden, they go back to 12:00.
inline void ShowTimeFields(bool known, QSpinBox* hour, QSpinBox* minute, QWidget* hourCaption,
                           QWidget* minuteCaption) {
    for (QWidget* w : {static_cast<QWidget*>(hour), static_cast<QWidget*>(minute), hourCaption, minuteCaption})
        w->setVisible(known);
    if (!known) {
        hour->setValue(12);
        minute->setValue(0);
    }
}

// The tick box «по старому стилю» of an entry dialog: shown while the date typed
// is before 1 February 1918 (OldStyleApplies), and unticked when it goes.
inline void ShowOldStyle(QCheckBox* box, const QSpinBox* day, const QSpinBox* month, const QSpinBox* year) {
    const bool applies = OldStyleApplies(day->value(), month->value(), year->value());
    if (!applies) box->setChecked(false);
    box->setVisible(applies);
}

inline void FollowOldStyle(QDialog* dialog, QCheckBox* box, QSpinBox* day, QSpinBox* month, QSpinBox* year) {
    for (QSpinBox* field : {day, month, year})
        QObject::connect(field, &QSpinBox::valueChanged, dialog, [=] { ShowOldStyle(box, day, month, year); });
    ShowOldStyle(box, day, month, year);
}

// Whether the date typed is of the old style: the box ticked while it applies.
inline bool OldStyleChosen(const QCheckBox* box, const QSpinBox* day, const QSpinBox* month, const QSpinBox* year) {
    return box->isChecked() && OldStyleApplies(day->value(), month->value(), year->value());
}

// The end of "   Продолжить" in an entry dialog, the same for women and men: a
// refusal is shown and the dialog stays; a person stored closes it. A place
// chooser left with "Отменить" returns to the dialog with everything typed
// still there (name, date, time, comment), so that the user can choose the
// place again or cancel the entry; nothing was stored. True when stored.
inline bool FinishEntry(QDialog& dialog, MessageBoxes& boxes, const EntryResult& res, QLineEdit* name) {
    switch (res.outcome) {
        case EntryOutcome::Refused:
            boxes.ShowMessage(&dialog, QString::fromStdString(res.message));
            return false;
        case EntryOutcome::Cancelled:
            dialog.activateWindow();
            return false;
        case EntryOutcome::Stored:
            name->clear();
            dialog.accept();
            return true;
    }
    return false;
}

}  // namespace pelorin
