#include "app/message_boxes.h"

#include <QMessageBox>

namespace pelorin {

void QtMessageBoxes::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Pelorin"), text);
}

void QtMessageBoxes::ShowWarning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Pelorin"), text);
}

}  // namespace pelorin
