#include "people/ui/import_preview.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "base/cp1251.h"
#include "people/city_search.h"

namespace pelorin {

namespace {

enum Column { kLine, kName, kDate, kTime, kPlace, kOutcome, kColumns };

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
QString FromCp1251(const std::string& s) { return QString::fromStdString(Cp1251ToUtf8(s)).trimmed(); }

QString Angle(int minutes, const char* plus, const char* minus) {
    const int a = std::abs(minutes);
    return QString::fromUtf8("%1°%2′ %3").arg(a / 60).arg(a % 60, 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf8(minutes < 0 ? minus : plus));
}

QString CandidateText(const CityHit& h) {
    return QString::fromUtf8("%1 — %2, %3 (%4, %5)")
        .arg(FromCp1251(h.city), FromCp1251(h.country), Text(RegionCaption(h.region)),
             Angle(h.latMinutes, "с. ш.", "ю. ш."), Angle(h.lonMinutes, "в. д.", "з. д."));
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString EncodingText(ExchangeEncoding e) {
    switch (e) {
        case ExchangeEncoding::Cp1251: return QString::fromUtf8("прочитан в кодировке Windows-1251");
        case ExchangeEncoding::Latin1: return QString::fromUtf8("прочитан в кодировке Latin-1, западноевропейской");
        case ExchangeEncoding::Utf8:
        case ExchangeEncoding::Auto: break;
    }
    return QString::fromUtf8("прочитан в кодировке UTF-8");
}

// The message of a skipped line without its lead "Файл «…», строка N: ".
std::string ProblemWithoutPlace(const std::string& message) {
    const std::size_t line = message.rfind("», строка ", message.find(": "));
    if (message.rfind("Файл «", 0) != 0 || line == std::string::npos) return message;
    const std::size_t colon = message.find(": ", line);
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(const std::vector<ImportPlan>& plans, const std::vector<ImportProblem>& problems,
                                         const PersonTable& list, const std::string& fileName, QWidget* parent)
    : QDialog(parent),
      plans_(plans),
      kind_(list.kind),
      choices_(plans.size(), -1),
      fileName_(fileName),
      freeSlots_(kUsableSlots - int(UsedSlots(list).size())) {
    const bool women = kind_ == TableKind::Women;
    for (const ImportPlan& p : plans) {
        listed_.push_back(AlreadyListed(p.row, list));
        included_.push_back(!listed_.back());
    }
    setWindowTitle(QString::fromUtf8(women ? "Импорт в список женщин" : "Импорт в список мужчин"));
    setObjectName(QStringLiteral("ImportPreview"));
    resize(980, 520);

    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    summary_->setObjectName(QStringLiteral("ImportSummary"));
    layout->addWidget(summary_);

    // The people in the order of the file, the skipped lines among them.
    struct Entry {
        int line;
        int plan;  // -1: a skipped line
        int problem;
    };
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < plans.size(); ++i) entries.push_back({plans[i].row.line, int(i), -1});
    for (std::size_t i = 0; i < problems.size(); ++i) entries.push_back({problems[i].line, -1, int(i)});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.line < b.line; });

    table_ = new QTableWidget(int(entries.size()), kColumns, this);
    table_->setObjectName(QStringLiteral("ImportTable"));
    table_->setAccessibleName(QString::fromUtf8("Люди из файла"));
    table_->setHorizontalHeaderLabels({QString::fromUtf8("Строка"), QString::fromUtf8("Имя"), QString::fromUtf8("Дата"),
                                       QString::fromUtf8("Время"), QString::fromUtf8("Место"),
                                       QString::fromUtf8("Что будет")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);  // Tab goes on to the city under the table
    rowOfPlan_.assign(plans.size(), -1);
    for (int row = 0; row < int(entries.size()); ++row) {
        const Entry& e = entries[std::size_t(row)];
        table_->setItem(row, kLine, Cell(QString::number(e.line)));
        if (e.plan < 0) {
            const std::string why = ProblemWithoutPlace(problems[std::size_t(e.problem)].message);
            auto* item = Cell(QString::fromUtf8("строка пропущена: ") + Text(why));
            item->setForeground(QColor(160, 0, 0));
            table_->setItem(row, kOutcome, item);
            for (int c : {kName, kDate, kTime, kPlace}) table_->setItem(row, c, Cell(QString()));
            continue;
        }
        const ImportPlan& p = plans[std::size_t(e.plan)];
        rowOfPlan_[std::size_t(e.plan)] = row;
        // The line number's cell carries the row's box.
        QTableWidgetItem* line = table_->item(row, kLine);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(included_[std::size_t(e.plan)] ? Qt::Checked : Qt::Unchecked);
        line->setToolTip(QString::fromUtf8("Отметка: добавить этого человека"));
        table_->setItem(row, kName, Cell(FromCp1251(p.row.name)));
        table_->setItem(row, kDate, Cell(QString::asprintf("%02d.%02d.%04d", p.row.day, p.row.month, p.row.year)));
        table_->setItem(row, kTime, Cell(p.row.timeKnown ? QString::asprintf("%02d:%02d", p.row.hour, p.row.minute)
                                                          : QString::fromUtf8("неизвестно")));
        if (NeedsChoice(p)) {
            table_->setItem(row, kPlace, Cell(QString()));  // filled by Update()
        } else if (p.record) {
            table_->setItem(row, kPlace, Cell(FromCp1251(p.record->Place.str()) + QStringLiteral("  ") +
                                              FromCp1251(p.record->CoordText.str()) + QString::fromUtf8("  пояс ") +
                                              FromCp1251(p.record->ZoneText.str())));
        } else {
            table_->setItem(row, kPlace, Cell(FromCp1251(p.row.place)));
        }
        table_->setItem(row, kOutcome, Cell(QString()));
    }
    table_->resizeColumnsToContents();
    table_->setColumnWidth(kPlace, std::min(table_->columnWidth(kPlace), 300));
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(true);
    // Rows as high as their wrapped texts, at whatever width the columns get.
    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, table_, [this] { table_->resizeRowsToContents(); });
    layout->addWidget(table_, 1);

    // The city of the chosen row, where its name leaves it open.
    auto* chooserRow = new QHBoxLayout;
    cityLabel_ = new QLabel(this);
    city_ = new QComboBox(this);
    city_->setObjectName(QStringLiteral("ImportCity"));
    city_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    city_->setMinimumContentsLength(40);
    cityLabel_->setBuddy(city_);
    chooserRow->addWidget(cityLabel_);
    chooserRow->addWidget(city_, 1);
    layout->addLayout(chooserRow);
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) { ShowChooser(row); });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() != kLine) return;
        for (std::size_t i = 0; i < plans_.size(); ++i)
            if (rowOfPlan_[i] == item->row() && included_[i] != (item->checkState() == Qt::Checked)) {
                included_[i] = item->checkState() == Qt::Checked;
                Update();
            }
    });
    connect(city_, &QComboBox::activated, this, [this](int index) {
        if (chooserPlan_ < 0) return;
        choices_[std::size_t(chooserPlan_)] = index - 1;
        Update();
    });

    buttons_ = new QDialogButtonBox(this);
    QPushButton* add = buttons_->addButton(QString::fromUtf8("Добавить"), QDialogButtonBox::AcceptRole);
    add->setObjectName(QStringLiteral("ImportAddButton"));
    buttons_->addButton(QString::fromUtf8("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
    Update();
    // The first person whose city is to be chosen, or the first row.
    int first = 0;
    for (std::size_t i = 0; i < plans.size(); ++i)
        if (NeedsChoice(plans[i])) {
            first = rowOfPlan_[i];
            break;
        }
    if (table_->rowCount() > 0) table_->setCurrentCell(first, kName);
    ShowChooser(table_->currentRow());
}

void ImportPreviewDialog::ShowChooser(int row) {
    chooserPlan_ = -1;
    for (std::size_t i = 0; i < plans_.size(); ++i)
        if (rowOfPlan_[i] == row && NeedsChoice(plans_[i])) chooserPlan_ = int(i);
    const QSignalBlocker quiet(city_);
    city_->clear();
    if (chooserPlan_ < 0) {
        cityLabel_->setText(QString::fromUtf8("Город: выбирать не нужно"));
        city_->setEnabled(false);
        city_->setAccessibleName(QString::fromUtf8("Город выбранной строки"));
        return;
    }
    const ImportPlan& p = plans_[std::size_t(chooserPlan_)];
    if (p.source == PlaceSource::ZoneToChoose)
        cityLabel_->setText(QString::fromUtf8("Пояс для строки %1 — как у города:").arg(p.row.line));
    else
        cityLabel_->setText(QString::fromUtf8("Город для строки %1 («%2»):").arg(p.row.line).arg(FromCp1251(p.row.place)));
    city_->setAccessibleName(QString::fromUtf8("Город для строки %1").arg(p.row.line));
    city_->addItem(QString::fromUtf8("не выбран: не добавлять"));
    for (const CityHit& h : p.candidates) city_->addItem(CandidateText(h));
    city_->view()->setMinimumWidth(city_->view()->sizeHintForColumn(0) + 24);  // whole names in the list
    city_->setCurrentIndex(choices_[std::size_t(chooserPlan_)] + 1);
    city_->setEnabled(true);
}

bool ImportPreviewDialog::ChooseCity(int line, int candidate) {
    for (std::size_t i = 0; i < plans_.size(); ++i)
        if (plans_[i].row.line == line && NeedsChoice(plans_[i]) && candidate < int(plans_[i].candidates.size())) {
            table_->setCurrentCell(rowOfPlan_[i], kName);
            city_->setCurrentIndex(candidate + 1);
            Q_EMIT city_->activated(candidate + 1);
            return true;
        }
    return false;
}

void ImportPreviewDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The last column takes its width only once the dialog is laid out.
    QTimer::singleShot(0, table_, [this] { table_->resizeRowsToContents(); });
}

std::vector<int> ImportPreviewDialog::Choices() const { return choices_; }

void ImportPreviewDialog::SetEncoding(ExchangeEncoding encoding) {
    encoding_ = encoding;
    Update();
}

std::vector<bool> ImportPreviewDialog::Included() const { return included_; }

bool ImportPreviewDialog::SetIncluded(int line, bool included) {
    for (std::size_t i = 0; i < plans_.size(); ++i)
        if (plans_[i].row.line == line) {
            table_->item(rowOfPlan_[i], kLine)->setCheckState(included ? Qt::Checked : Qt::Unchecked);
            return true;
        }
    return false;
}

int ImportPreviewDialog::Ready() const {
    int ready = 0;
    for (std::size_t i = 0; i < plans_.size(); ++i)
        if (included_[i] && (plans_[i].record || choices_[i] >= 0)) ++ready;
    return std::min(ready, std::max(freeSlots_, 0));
}

void ImportPreviewDialog::Update() {
    const bool women = kind_ == TableKind::Women;
    const QString will = QString::fromUtf8(women ? "будет добавлена" : "будет добавлен");
    const QString wont = QString::fromUtf8(women ? "не будет добавлена" : "не будет добавлен");
    int ready = 0, choose = 0, left = 0, listed = 0;
    for (std::size_t i = 0; i < plans_.size(); ++i) {
        const ImportPlan& p = plans_[i];
        const bool chosen = NeedsChoice(p) && choices_[i] >= 0;
        const bool zoneOnly = p.source == PlaceSource::ZoneToChoose;
        if (NeedsChoice(p))
            if (QTableWidgetItem* place = table_->item(rowOfPlan_[i], kPlace)) {
                const QString where = zoneOnly ? QString::fromUtf8("«%1» %2, %3: пояс ")
                                                     .arg(FromCp1251(p.row.place),
                                                          Angle(p.row.latMinutes, "с. ш.", "ю. ш."),
                                                          Angle(p.row.lonMinutes, "в. д.", "з. д."))
                                               : QString();
                place->setText(chosen ? where + CandidateText(p.candidates[std::size_t(choices_[i])])
                               : zoneOnly ? where + QString::fromUtf8("не выбран")
                                          : QString::fromUtf8("«%1»: город не выбран").arg(FromCp1251(p.row.place)));
            }
        QString outcome;
        QColor colour(0, 100, 0);
        if (!included_[i]) {
            outcome = (listed_[i] ? QString::fromUtf8("уже есть в списке (то же имя и дата): ") : QString()) + wont +
                      QString::fromUtf8("; отметьте строку, чтобы добавить");
            colour = QColor(150, 90, 0);
            if (listed_[i]) ++listed;
        } else if (p.record || chosen) {
            if (ready < freeSlots_) {
                ++ready;
                outcome = will + QStringLiteral(": ") +
                          (chosen ? QString::fromUtf8(zoneOnly ? "место из файла, пояс выбранного города"
                                                               : "место из атласа (выбрано), пояс на дату и время рождения")
                                  : Text(p.note));
                if (listed_[i]) {
                    ++listed;
                    outcome = QString::fromUtf8("уже есть в списке (то же имя и дата), и всё же ") + outcome;
                    colour = QColor(150, 90, 0);
                }
            } else {
                ++left;
                outcome = QString::fromUtf8("нет места в списке: ") + wont;
                colour = QColor(160, 0, 0);
            }
        } else if (zoneOnly) {
            ++choose;
            outcome = QString::fromUtf8("в файле нет пояса, а города атласа ближе 100 км нет: выберите под таблицей "
                                        "город, чей пояс взять, иначе ") + wont;
            colour = QColor(150, 90, 0);
        } else if (p.source == PlaceSource::Ambiguous) {
            ++choose;
            outcome = QString::fromUtf8("городов с этим именем %1: выберите один под таблицей, иначе ")
                          .arg(p.candidates.size()) + wont;
            colour = QColor(150, 90, 0);
        } else {
            outcome = wont + QStringLiteral(": ") + Text(p.note);
            colour = QColor(160, 0, 0);
        }
        if (QTableWidgetItem* item = table_->item(rowOfPlan_[i], kOutcome)) {
            item->setText(outcome);
            item->setForeground(colour);
        }
    }
    table_->resizeRowsToContents();
    const int skipped = table_->rowCount() - int(plans_.size());
    QString text = QString::fromUtf8("Файл «%1» (%2). Будут добавлены: %3 из %4 (свободных мест в списке: %5).")
                       .arg(Text(fileName_), EncodingText(encoding_))
                       .arg(ready)
                       .arg(plans_.size() + std::size_t(skipped))
                       .arg(freeSlots_);
    if (choose > 0) text += QString::fromUtf8(" Нужно выбрать город (под таблицей): %1.").arg(choose);
    if (listed > 0) text += QString::fromUtf8(" Из них уже есть в списке: %1.").arg(listed);
    if (left > 0) text += QString::fromUtf8(" Не поместятся в список: %1.").arg(left);
    if (skipped > 0) text += QString::fromUtf8(" Пропущено строк с ошибками: %1.").arg(skipped);
    text += QString::fromUtf8(" Ничего не записано, пока не нажата кнопка «Добавить».");
    summary_->setText(text);
    if (QPushButton* add = buttons_ ? buttons_->findChild<QPushButton*>(QStringLiteral("ImportAddButton")) : nullptr) {
        add->setText(ready > 0 ? QString::fromUtf8("Добавить (%1)").arg(ready) : QString::fromUtf8("Добавить"));
        add->setEnabled(ready > 0);
    }
}

}  // namespace pelorin
