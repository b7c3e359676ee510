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
    connect(ui->BitBtn8, &QPushButton::clicked, this, [this] { BitBtn8Click(); });
    connect(ui->BitBtn22, &QPushButton::clicked, this, [this] { BitBtn22Click(); });
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
    ui->Edit2->clear();
    ui->Edit2->setFocus();
}

void TInput_Men_Form3::BitBtn8Click() {
    ManEntry entry;
    entry.name = FieldText(ui->Edit2);
    entry.day = ui->SpinEdit6->value();
    entry.month = ui->SpinEdit7->value();
    entry.year = ui->SpinEdit8->value();
    entry.place = FieldText(ui->Edit3);
    entry.commentLines = MemoLines(ui->Memo2);
    try {
        const EntryResult res = StoreMan(entry, men_, dataDir_, std::time(nullptr));
        if (res.outcome == EntryOutcome::Refused) {
            boxes_.ShowMessage(this, QString::fromStdString(res.message));
            return;
        }
        ui->Edit2->clear();
        accept();
    } catch (const std::exception& e) {
        // The file was not written: the dialog stays open with what was typed.
        boxes_.ShowError(this, QString::fromStdString(e.what()));
    }
}

void TInput_Men_Form3::BitBtn22Click() { reject(); }

}  // namespace pelorin
