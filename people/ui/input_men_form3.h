#pragma once
// The men's entry dialog: name, birth date, birth time when it is known, and
// either a birth place from the atlas ("Выбрать место", which stores the man
// as the women's dialog stores a woman) or a free-text country and city
// ("   Добавить", the man as every man was stored before: no time, zone 0).
#include <QDialog>
#include <memory>
#include <string>

#include "people/person_entry.h"
#include "people/person_record.h"

namespace Ui {
class TInput_Men_Form3;
}

namespace pelorin {

class MessageBoxes;
class PlaceChooser;

class TInput_Men_Form3 : public QDialog {
    Q_OBJECT
public:
    // `men` and `dataDir` are those of the program and are read when a man is stored.
    TInput_Men_Form3(PersonTable& men, const std::string& dataDir, MessageBoxes& boxes,
                     QWidget* parent = nullptr);
    ~TInput_Men_Form3() override;

    // The atlas dialog that "Выбрать место" opens; owned by the caller.
    void SetPlaceChooser(PlaceChooser* chooser) { chooser_ = chooser; }

    Ui::TInput_Men_Form3& Form() { return *ui; }

    void FormShow();                // resets the fields; runs each time the dialog opens
    void RadioGroup1Click();        // shows or hides the hour and minute
    void BitBtn8Click();            // "   Добавить": the store procedure with the typed place
    void ChoosePlaceButtonClick();  // "Выбрать место": the store procedure with a place of the atlas
    void BitBtn22Click();           // "  Отменить"

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool TimeKnownChosen() const;
    ManEntry Entry() const;
    void Finish(const EntryResult& result);

    std::unique_ptr<Ui::TInput_Men_Form3> ui;
    PersonTable& men_;
    const std::string& dataDir_;
    MessageBoxes& boxes_;
    PlaceChooser* chooser_ = nullptr;
};

}  // namespace pelorin
