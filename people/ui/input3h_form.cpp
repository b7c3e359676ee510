#include "people/ui/input3h_form.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <exception>

#include "ui/help.h"
#include "ui/message_boxes.h"
#include "people/atlas.h"
#include "base/file_io.h"
#include "people/ui/entry_fields.h"
#include "ui_input3h_form.h"

namespace pelorin {

TInput3hForm::TInput3hForm(MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TInput3hForm>()), boxes_(boxes), helpViewer_(PlatformHelpViewer()) {
    ui->setupUi(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(ui->BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
}

TInput3hForm::~TInput3hForm() = default;

void TInput3hForm::SetTarget(const std::string& regionFile, const std::string& countryEntry,
                             const std::string& systemDir) {
    regionFile_ = regionFile;
    countryEntry_ = countryEntry;
    systemDir_ = systemDir;
    added_ = false;
}

bool TInput3hForm::AddCity(const std::string& regionFile, const std::string& countryEntry,
                           const std::string& systemDir) {
    SetTarget(regionFile, countryEntry, systemDir);
    exec();
    return added_;
}

void TInput3hForm::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TInput3hForm::FormShow() {
    ui->RadioButton1->setChecked(true);
    ui->RadioButton3->setChecked(true);
    for (QLineEdit* edit : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5}) edit->clear();
    ui->Edit1->setFocus();
}

void TInput3hForm::BitBtn1Click() {
    // The fields are judged as they stand when the button is pressed, so that a
    // field finished with Enter counts like one the user left.
    NewCity city;
    city.name = FieldText(ui->Edit1);
    city.lonDeg = FieldText(ui->Edit2);
    city.lonMin = FieldText(ui->Edit3);
    city.west = ui->RadioButton2->isChecked();
    city.latDeg = FieldText(ui->Edit4);
    city.latMin = FieldText(ui->Edit5);
    city.south = ui->RadioButton4->isChecked();
    try {
        if (!AddCityToRegion(regionFile_, countryEntry_, city)) {
            boxes_.ShowMessage(this, QString::fromUtf8(kCityIncompleteMessage));
            return;
        }
    } catch (const std::exception& e) {
        // Nothing was changed; the dialog stays open with what was typed.
        boxes_.ShowError(this, QString::fromStdString(e.what()));
        return;
    }
    added_ = true;
    accept();
}

void TInput3hForm::BitBtn2Click() { reject(); }

void TInput3hForm::BitBtn3Click() {
    const QString file = QFile::decodeName(QByteArray::fromStdString(JoinPath(systemDir_, kAddCityHelpFile)));
    const QString topic = QStringLiteral("::%1.html").arg(kAddCityHelpTopic);
    if (QFileInfo(file).isFile() && helpViewer_ && helpViewer_(file, topic)) return;
    boxes_.ShowError(this, QString::fromStdString(HelpFileError(file.toStdString())));
}

}  // namespace pelorin
