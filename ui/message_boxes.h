#pragma once
// Every message box of the program goes through this interface, so that tests can
// answer them.
#include <QString>

class QWidget;

namespace pelorin {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An error: the text as it stands, with an OK button.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // A warning about something the program went on past, with an OK button.
    virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
    // A plain message with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
public:
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
};

}  // namespace pelorin
