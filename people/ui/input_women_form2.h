#pragma once
// The women's entry dialog: name, birth date, birth time when it is known and a
// birth place chosen from the atlas; "   Продолжить" stores the woman.
#include <QDialog>
#include <memory>
#include <string>

#include "people/person_record.h"

namespace Ui {
class TInput_Women_Form2;
}

namespace pelorin {

class MessageBoxes;
class PlaceChooser;

class TInput_Women_Form2 : public QDialog {
    Q_OBJECT
public:
    // `women` and `dataDir` are those of the program and are read when a woman is
    // stored (the data directory is known only after start-up).
    TInput_Women_Form2(PersonTable& women, const std::string& dataDir, MessageBoxes& boxes,
                       QWidget* parent = nullptr);
    ~TInput_Women_Form2() override;

    // The atlas dialog that "   Продолжить" opens; owned by the caller.
    void SetPlaceChooser(PlaceChooser* chooser) { chooser_ = chooser; }

    Ui::TInput_Women_Form2& Form() { return *ui; }

    void FormShow();          // resets the fields; runs each time the dialog opens
    void RadioGroup1Click();  // shows or hides the hour and minute
    void BitBtn8Click();      // "   Продолжить": the store procedure
    void BitBtn22Click();     // "  Отменить"

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool TimeKnownChosen() const;

    std::unique_ptr<Ui::TInput_Women_Form2> ui;
    PersonTable& women_;
    const std::string& dataDir_;
    MessageBoxes& boxes_;
    PlaceChooser* chooser_ = nullptr;
};

}  // namespace pelorin
