#include "people/ui/input_men_form3.h"

#include <ctime>
#include <exception>

#include "ui/message_boxes.h"
#include "people/person_entry.h"
#include "people/ui/entry_fields.h"
#include "ui_input_men_form3.h"

namespace pelorin {

TInput_Men_Form3::TInput_Men_Form3(PersonTable& men, const std::string& dataDir, MessageBoxes& boxes,
                                   QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TInput_Men_Form3>()), men_(men), dataDir_(dataDir), boxes_(boxes) {
    ui->setupUi(this);
    connect(ui->RadioGroup1Item0, &QRadioButton::toggled, this, [this] { RadioGroup1Click(); });
    connect(ui->BitBtn8, &QPushButton::clicked, this, [this] { BitBtn8Click(); });
    connect(ui->ChoosePlaceButton, &QPushButton::clicked, this, [this] { ChoosePlaceButtonClick(); });
    connect(ui->BitBtn22, &QPushButton::clicked, this, [this] { BitBtn22Click(); });
    ui->RadioGroup1Item1->setChecked(true);
    RadioGroup1Click();
    FollowOldStyle(this, ui->OldStyleBox, ui->SpinEdit6, ui->SpinEdit7, ui->SpinEdit8);
}

TInput_Men_Form3::~TInput_Men_Form3() = default;

void TInput_Men_Form3::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TInput_Men_Form3::FormShow() {
    ui->Memo2->clear();
    ui->Edit3->clear();
    ui->SpinEdit6->setValue(15);
    ui->SpinEdit7->setValue(6);
    ui->SpinEdit8->setValue(1970);
    ui->OldStyleBox->setChecked(false);
    // As in the women's dialog, the time option opens at "unknown".
    ui->RadioGroup1Item1->setChecked(true);
    RadioGroup1Click();
    ui->Edit2->clear();
    ui->Edit2->setFocus();
}

bool TInput_Men_Form3::TimeKnownChosen() const { return ui->RadioGroup1Item0->isChecked(); }

void TInput_Men_Form3::RadioGroup1Click() {
    ShowTimeFields(TimeKnownChosen(), ui->SpinEdit4, ui->SpinEdit5, ui->Label6, ui->Label7);
}

ManEntry TInput_Men_Form3::Entry() const {
    ManEntry entry;
    entry.name = FieldText(ui->Edit2);
    entry.day = ui->SpinEdit6->value();
    entry.month = ui->SpinEdit7->value();
    entry.year = ui->SpinEdit8->value();
    entry.oldStyle = OldStyleChosen(ui->OldStyleBox, ui->SpinEdit6, ui->SpinEdit7, ui->SpinEdit8);
    entry.timeKnown = TimeKnownChosen();
    entry.hour = ui->SpinEdit4->value();
    entry.minute = ui->SpinEdit5->value();
    entry.place = FieldText(ui->Edit3);
    entry.commentLines = MemoLines(ui->Memo2);
    return entry;
}

// No place chosen: the dialog stays with what was typed, as the women's does.
void TInput_Men_Form3::Finish(const EntryResult& res) { FinishEntry(*this, boxes_, res, ui->Edit2); }

void TInput_Men_Form3::BitBtn8Click() {
    try {
        Finish(StoreMan(Entry(), men_, dataDir_, std::time(nullptr)));
    } catch (const std::exception& e) {
        // The file was not written: the dialog stays open with what was typed.
        boxes_.ShowError(this, QString::fromStdString(e.what()));
    }
}

void TInput_Men_Form3::ChoosePlaceButtonClick() {
    const ManEntry entry = Entry();
    if (!entry.name.empty() && chooser_ == nullptr) {
        boxes_.ShowError(this, QString::fromUtf8("  Атлас городов недоступен  "));
        return;
    }
    try {
        if (entry.name.empty()) Finish({EntryOutcome::Refused, "  Не введено имя  ", 0});
        else Finish(StoreManAt(entry, *chooser_, men_, dataDir_, std::time(nullptr)));
    } catch (const std::exception& e) {
        boxes_.ShowError(this, QString::fromStdString(e.what()));
    }
}

void TInput_Men_Form3::BitBtn22Click() { reject(); }

}  // namespace pelorin
