#include "people/ui/input_women_form2.h"

#include <ctime>
#include <exception>

#include "ui/message_boxes.h"
#include "people/person_entry.h"
#include "people/ui/entry_fields.h"
#include "ui_input_women_form2.h"

namespace pelorin {

TInput_Women_Form2::TInput_Women_Form2(PersonTable& women, const std::string& dataDir, MessageBoxes& boxes,
                                       QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TInput_Women_Form2>()), women_(women), dataDir_(dataDir),
      boxes_(boxes) {
    ui->setupUi(this);
    connect(ui->RadioGroup1Item0, &QRadioButton::toggled, this, [this] { RadioGroup1Click(); });
    connect(ui->BitBtn8, &QPushButton::clicked, this, [this] { BitBtn8Click(); });
    connect(ui->BitBtn22, &QPushButton::clicked, this, [this] { BitBtn22Click(); });
    ui->RadioGroup1Item1->setChecked(true);
    RadioGroup1Click();
    FollowOldStyle(this, ui->OldStyleBox, ui->SpinEdit6, ui->SpinEdit7, ui->SpinEdit8);
}

TInput_Women_Form2::~TInput_Women_Form2() = default;

void TInput_Women_Form2::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

bool TInput_Women_Form2::TimeKnownChosen() const { return ui->RadioGroup1Item0->isChecked(); }

void TInput_Women_Form2::FormShow() {
    ui->Memo2->clear();
    ui->Edit2->clear();
    ui->SpinEdit6->setValue(1);
    ui->SpinEdit7->setValue(1);
    ui->SpinEdit8->setValue(1980);
    ui->OldStyleBox->setChecked(false);
    // The option goes back to "unknown" too, so that it always agrees with the
    // hidden hour and minute.
    ui->RadioGroup1Item1->setChecked(true);
    RadioGroup1Click();
    ui->Edit2->setFocus();
}

void TInput_Women_Form2::RadioGroup1Click() {
    ShowTimeFields(TimeKnownChosen(), ui->SpinEdit4, ui->SpinEdit5, ui->Label6, ui->Label7);
}

void TInput_Women_Form2::BitBtn8Click() {
    WomanEntry entry;
    entry.name = FieldText(ui->Edit2);
    entry.day = ui->SpinEdit6->value();
    entry.month = ui->SpinEdit7->value();
    entry.year = ui->SpinEdit8->value();
    entry.oldStyle = OldStyleChosen(ui->OldStyleBox, ui->SpinEdit6, ui->SpinEdit7, ui->SpinEdit8);
    entry.timeKnown = TimeKnownChosen();
    entry.hour = ui->SpinEdit4->value();
    entry.minute = ui->SpinEdit5->value();
    entry.commentLines = MemoLines(ui->Memo2);
    if (!entry.name.empty() && chooser_ == nullptr) {
        boxes_.ShowError(this, QString::fromUtf8("  Атлас городов недоступен  "));
        return;
    }
    try {
        EntryResult res;
        if (entry.name.empty()) res = {EntryOutcome::Refused, "  Не введено имя  ", 0};
        else res = StoreWoman(entry, *chooser_, women_, dataDir_, std::time(nullptr));
        FinishEntry(*this, boxes_, res, ui->Edit2);
    } catch (const std::exception& e) {
        // The file was not written: the dialog stays open with what was typed.
        boxes_.ShowError(this, QString::fromStdString(e.what()));
    }
}

void TInput_Women_Form2::BitBtn22Click() { reject(); }

}  // namespace pelorin
