#include "ui/message_boxes.h"

#include <QMessageBox>

namespace pelorin {

void QtMessageBoxes::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Pelorin"), text);
}

void QtMessageBoxes::ShowWarning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Pelorin"), text);
}

}  // namespace pelorin

namespace pelorin {

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Pelorin"), text);
}

bool QtMessageBoxes::Confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("Pelorin"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace pelorin
