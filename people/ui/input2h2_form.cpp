#include "people/ui/input2h2_form.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <exception>
#include <optional>

#include "ui/message_boxes.h"
#include "ui/type_ahead.h"
#include "people/atlas.h"
#include "people/place_fields.h"
#include "people/time_zones.h"
#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/ui/input3h_form.h"
#include "ui_input2h2_form.h"

namespace pelorin {
namespace {

// The list entries are kept as their cp1251 bytes beside the text shown.
void FillList(QListWidget* list, const std::vector<std::string>& entries) {
    for (const std::string& e : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(Cp1251ToUtf8(e)), list);
        item->setData(Qt::UserRole, QByteArray::fromStdString(e));
    }
}

std::string EntryOf(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (item == nullptr || !item->isSelected()) return {};
    return item->data(Qt::UserRole).toByteArray().toStdString();
}

// Day, month and year of "dd.mm.yyyy"; false when they are not numbers.
bool ReadDate(std::string_view text, int& day, int& month, int& year) {
    auto number = [&](std::size_t from, std::size_t count, int& out) {
        if (text.size() < from + count) return false;
        out = 0;
        for (char c : text.substr(from, count)) {
            if (c < '0' || c > '9') return false;
            out = out * 10 + (c - '0');
        }
        return true;
    };
    return number(0, 2, day) && number(3, 2, month) && number(6, 4, year);
}

}  // namespace

TInput2h2Form::TInput2h2Form(const Config& config, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TInput2h2Form>()), config_(config), current_(config),
      boxes_(boxes), helpViewer_(PlatformHelpViewer()) {
    ui->setupUi(this);
    // No close box: the dialog ends through its two buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QListWidget* list : {ui->ListBox1, ui->ListBox2}) {
        list->setFont(fixed);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        SkipLeadingBlanksInTypeAhead(list);
    }
    ui->ListBoxFound->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ui->EditFind, &QLineEdit::textChanged, this, [this] { FindTextChanged(); });
    connect(ui->ListBoxFound, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { FoundChosen(ui->ListBoxFound->row(item)); });
    connect(ui->ListBoxFound, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { FoundChosen(ui->ListBoxFound->row(item)); });
    // Enter in the field takes the first city found.
    connect(ui->EditFind, &QLineEdit::returnPressed, this, [this] {
        if (!found_.empty()) FoundChosen(0);
    });
    QPushButton* regions[] = {ui->BitBtn5, ui->BitBtn6, ui->BitBtn7, ui->BitBtn8,
                              ui->BitBtn9, ui->BitBtn10, ui->BitBtn11};
    for (int i = 0; i < 7; ++i) connect(regions[i], &QPushButton::clicked, this, [this, i] { RegionClick(i); });
    connect(ui->ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_) ListBox1Click();
    });
    connect(ui->ListBox2, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_) ListBox2Click();
    });
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(ui->BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(ui->BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
}

TInput2h2Form::~TInput2h2Form() = default;

bool TInput2h2Form::ChoosePlace(PersonRecord& working) {
    working_ = &working;
    exec();
    working_ = nullptr;
    return placeChosen_;
}

void TInput2h2Form::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TInput2h2Form::FormShow() {
    regionChosen_ = countryChosen_ = cityChosen_ = placeChosen_ = false;
    regionFile_.clear();
    filling_ = true;
    ui->ListBox1->clear();
    ui->ListBox2->clear();
    filling_ = false;
    search_.reset();  // the atlas may have changed since the last opening
    found_.clear();
    ui->ListBoxFound->clear();
    ui->ListBoxFound->setVisible(false);
    ui->EditFind->blockSignals(true);
    ui->EditFind->clear();
    ui->EditFind->blockSignals(false);
    current_ = config_;
    if (!config_.path.empty()) {
        try {
            current_ = ReadConfig(config_.path);
        } catch (const std::exception& e) {
            // The directories known since start-up stay in use.
            boxes_.ShowError(this, QString::fromStdString(e.what()));
        }
    }
}

void TInput2h2Form::RegionClick(int region) {
    filling_ = true;
    ui->ListBox1->clear();
    ui->ListBox2->clear();
    filling_ = false;
    regionChosen_ = countryChosen_ = cityChosen_ = false;
    regionFile_.clear();
    if (region < 0 || region >= int(kAtlasRegions.size())) return;
    const std::string file = JoinPath(current_.DataDir, kAtlasRegions[region].file);
    try {
        const std::vector<std::string> countries = CountryEntries(ReadRegionLines(file));
        filling_ = true;
        FillList(ui->ListBox1, countries);
        filling_ = false;
    } catch (const std::exception& e) {
        filling_ = false;
        ui->ListBox1->clear();
        boxes_.ShowError(this, QString::fromStdString(e.what()));
        return;
    }
    regionFile_ = file;
    regionChosen_ = true;
}

std::string TInput2h2Form::ChosenCountryEntry() const { return EntryOf(ui->ListBox1); }
std::string TInput2h2Form::ChosenCityEntry() const { return EntryOf(ui->ListBox2); }

void TInput2h2Form::ListBox1Click() {
    if (!regionChosen_) return;
    countryChosen_ = cityChosen_ = false;
    filling_ = true;
    ui->ListBox2->clear();
    filling_ = false;
    const std::string country = ChosenCountryEntry();
    if (country.empty()) return;
    try {
        const std::vector<std::string> cities = CityEntries(ReadRegionLines(regionFile_), country);
        filling_ = true;
        FillList(ui->ListBox2, cities);
        filling_ = false;
    } catch (const std::exception& e) {
        filling_ = false;
        ui->ListBox2->clear();
        boxes_.ShowError(this, QString::fromStdString(e.what()));
        return;
    }
    countryChosen_ = true;
}

void TInput2h2Form::ListBox2Click() { cityChosen_ = countryChosen_ && !ChosenCityEntry().empty(); }

void TInput2h2Form::BitBtn1Click() {
    const std::string country = ChosenCountryEntry();
    const std::string city = ChosenCityEntry();
    if (!regionChosen_ || !countryChosen_ || !cityChosen_ || country.empty() || city.empty()) {
        placeChosen_ = false;
        boxes_.ShowMessage(this, QString::fromUtf8(kNoCityChosenMessage));
        return;
    }
    if (working_ == nullptr) return;
    int day = 0, month = 0, year = 0;
    if (!ReadDate(working_->DateText.view(), day, month, year)) {
        boxes_.ShowError(this, QString::fromUtf8("Дата рождения «%1» не читается как дд.мм.гггг")
                                   .arg(QString::fromStdString(Cp1251ToUtf8(working_->DateText.view()))));
        return;
    }
    try {
        // The zone table is read afresh with the region file, from the same data directory.
        const std::optional<ZoneTable> zones = LoadZoneTableOf(current_.DataDir);
        const PlaceChoice choice = pelorin::ChoosePlace(ReadRegionLines(regionFile_), country, city,
                                                        BirthTimeOf(*working_, day, month, year),
                                                        zones ? &*zones : nullptr, regionFile_);
        ApplyPlaceChoice(*working_, choice);
    } catch (const std::exception& e) {
        boxes_.ShowError(this, QString::fromStdString(e.what()));
        return;
    }
    placeChosen_ = true;
    accept();
}

void TInput2h2Form::BitBtn2Click() { reject(); }

void TInput2h2Form::reject() {
    placeChosen_ = false;
    QDialog::reject();
}

void TInput2h2Form::BitBtn3Click() {
    const std::string country = ChosenCountryEntry();
    if (!regionChosen_ || !countryChosen_ || country.empty()) {
        boxes_.ShowMessage(this, QString::fromUtf8(kNoCountryChosenMessage));
        return;
    }
    if (addCity_ == nullptr) return;
    if (addCity_->AddCity(regionFile_, country, current_.SystemDir)) {
        search_.reset();  // the new city is found from now on
        ListBox1Click();
    }
}

void TInput2h2Form::FindTextChanged() {
    found_.clear();
    ui->ListBoxFound->clear();
    const QString text = ui->EditFind->text();
    if (text.trimmed().isEmpty()) {
        ui->ListBoxFound->setVisible(false);
        return;
    }
    try {
        if (!search_) search_ = CitySearch::Build(current_.DataDir);
    } catch (const std::exception& e) {
        boxes_.ShowError(this, QString::fromStdString(e.what()));
        return;
    }
    // Accents Windows-1251 lacks are dropped ("München"); any other character it
    // lacks cannot begin a name of the atlas.
    std::string sought;
    if (SearchQueryOf(text.toStdString(), sought)) found_ = search_->Find(sought, 200);
    auto trimmed = [](const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)).trimmed(); };
    for (const CityHit& h : found_)
        ui->ListBoxFound->addItem(QString::fromUtf8("%1 — %2, %3")
                                      .arg(trimmed(h.city), trimmed(h.country),
                                           QString::fromStdString(RegionCaption(h.region))));
    if (found_.empty()) ui->ListBoxFound->addItem(QString::fromUtf8("Город не найден"));
    ui->ListBoxFound->setVisible(true);
}

void TInput2h2Form::FoundChosen(int row) {
    if (row < 0 || row >= int(found_.size())) return;
    const CityHit hit = found_[row];
    auto select = [](QListWidget* list, const std::string& entry) {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toByteArray().toStdString() == entry) {
                list->setCurrentRow(i);  // the selection signal runs the list's click
                list->scrollToItem(list->item(i), QAbstractItemView::PositionAtCenter);
                return true;
            }
        return false;
    };
    RegionClick(hit.region);
    if (!regionChosen_ || !select(ui->ListBox1, hit.country)) return;
    if (!countryChosen_) ListBox1Click();
    if (select(ui->ListBox2, hit.city) && !cityChosen_) ListBox2Click();
}

void TInput2h2Form::BitBtn4Click() { ShowHelpTopic(current_.SystemDir, kPlaceChooserHelpTopic, helpViewer_, boxes_, this); }

}  // namespace pelorin
