#pragma once
// Message boxes that record what they were asked to show, answering No.
#include <QStringList>

#include "ui/message_boxes.h"

namespace pelorin::test {

class RecordingBoxes : public MessageBoxes {
public:
    QStringList messages, errors;
    void ShowError(QWidget*, const QString& t) override { errors << t; }
    void ShowWarning(QWidget*, const QString& t) override { errors << t; }
    void ShowMessage(QWidget*, const QString& t) override { messages << t; }
    bool Confirm(QWidget*, const QString&) override { return false; }
};

}  // namespace pelorin::test
