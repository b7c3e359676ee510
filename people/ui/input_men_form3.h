#pragma once
// The men's entry dialog: name, birth date and a free-text country and city;
// "   Добавить" stores the man.
#include <QDialog>
#include <memory>
#include <string>

#include "people/person_record.h"

namespace Ui {
class TInput_Men_Form3;
}

namespace pelorin {

class MessageBoxes;

class TInput_Men_Form3 : public QDialog {
    Q_OBJECT
public:
    // `men` and `dataDir` are those of the program and are read when a man is stored.
    TInput_Men_Form3(PersonTable& men, const std::string& dataDir, MessageBoxes& boxes,
                     QWidget* parent = nullptr);
    ~TInput_Men_Form3() override;

    Ui::TInput_Men_Form3& Form() { return *ui; }

    void FormShow();       // resets the fields; runs each time the dialog opens
    void BitBtn8Click();   // "   Добавить": the store procedure
    void BitBtn22Click();  // "  Отменить"

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Ui::TInput_Men_Form3> ui;
    PersonTable& men_;
    const std::string& dataDir_;
    MessageBoxes& boxes_;
};

}  // namespace pelorin
