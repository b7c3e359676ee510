#include "app/main_window.h"

#include <QApplication>
#include <algorithm>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QRadioButton>
#include <QTextEdit>

#include "analysis/pair_analysis.h"
#include "analysis/percentile.h"
#include "graphics/ui/factor_panel.h"
#include "app/core/commands.h"
#include "app/core/person_lists.h"
#include "ui/rich_text.h"
#include "graphics/relationship_wheel.h"
#include "graphics/ui/bi_wheel_painter.h"
#include "graphics/ui/diagram.h"
#include "base/errors.h"
#include "ui/image_canvas.h"
#include "ui/message_boxes.h"
#include "ui/type_ahead.h"
#include "graphics/ui/oboznach_form.h"
#include "base/cp1251.h"
#include "app/print_command.h"
#include "ui_main_window.h"

namespace pelorin {

namespace {

QString FromCp1251(const std::string& s) { return QString::fromStdString(Cp1251ToUtf8(s)); }

// Each item keeps its Windows-1251 line, from which the person is found.
constexpr int kLineRole = Qt::UserRole;

void FillList(QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    for (const std::string& line : lines) {
        auto* item = new QListWidgetItem(FromCp1251(line), list);
        item->setData(kLineRole, QByteArray::fromStdString(line));
    }
    if (list->count() > 0) list->setCurrentRow(0);
}

// The highlight of a list on the person with this stamp, when the list shows her.
void HighlightStamp(QListWidget* list, const std::string& stamp) {
    for (int row = 0; row < list->count(); ++row) {
        const std::string line = list->item(row)->data(kLineRole).toByteArray().toStdString();
        if (StampOfListLine(line) == stamp) {
            list->setCurrentRow(row);
            return;
        }
    }
}

std::string CurrentLine(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(kLineRole).toByteArray().toStdString() : std::string();
}

QImage Picture(const char* name) { return QImage(QStringLiteral(":/pictures/") + QLatin1String(name)); }

}  // namespace

TZZavelForm::TZZavelForm(std::string configPath, AppState& state, MessageBoxes& boxes, StartupHooks hooks,
                         QWidget* parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::TZZavelForm>()),
      configPath_(std::move(configPath)),
      state_(state),
      boxes_(boxes),
      hooks_(std::move(hooks)),
      helpViewer_(PlatformHelpViewer()),
      exchange_(QtExchangeHooks()) {
    ui->setupUi(this);
    // A fixed dialog-style frame with the system menu and the close box only.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(811, 544);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(233, 233, 233));
    setPalette(pal);
    setAutoFillBackground(true);

    ui->PageControl1->setCurrentIndex(static_cast<int>(MainPage::Title));
    LoadPictures();
    factors_ = new FactorPanel(ui->TabSheet4);
    factors_->setObjectName(QStringLiteral("FactorPanel"));
    ui->TabSheet4Layout->addWidget(factors_);
    factors_->hide();
    skipped_ = new QLabel(ui->TabSheet4);
    skipped_->setObjectName(QStringLiteral("SkippedLabel"));
    skipped_->setWordWrap(true);
    skipped_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    skipped_->setStyleSheet(QStringLiteral("QLabel { color: rgb(160, 0, 0); background: white; padding: 4px; }"));
    ui->TabSheet4Layout->addWidget(skipped_);
    skipped_->hide();
    // Tab leaves the comment boxes: a comment is one line of the record, and a
    // tab character in it would only show as a gap in the list's columns.
    ui->Memo1->setTabChangesFocus(true);
    ui->Memo2->setTabChangesFocus(true);
    ConnectCommands();
    // F1 is " Помощь": the topic of the page in front.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TZZavelForm::BitBtn2Click);

    timer1_.setInterval(300);
    connect(&timer1_, &QTimer::timeout, this, &TZZavelForm::Timer1Timer);
    timer1_.start();
}

TZZavelForm::~TZZavelForm() = default;

void TZZavelForm::LoadPictures() {
    ui->Image4->SetPicture(Picture("title.jpg"));
    ui->Image14->SetPicture(Picture("title_click1.jpg"));
    ui->Image15->SetPicture(Picture("title_click2.jpg"));
    ui->Image7->SetPicture(Picture("astrology.jpg"));
    ui->Image8->SetPicture(Picture("astro_history.jpg"));
    ui->Image9->SetPicture(Picture("astro_not_astrologer.jpg"));
    ui->Image10->SetPicture(Picture("astro_simple.jpg"));
    ui->Image11->SetPicture(Picture("astro_compatibility.jpg"));
    ui->Image12->SetPicture(Picture("astro_planets.jpg"));
    ui->Image13->SetPicture(Picture("astro_aspects.jpg"));
    ui->Image16->SetPicture(Picture("astro_consult.jpg"));
}

void TZZavelForm::ConnectCommands() {
    connect(ui->BitBtn27, &QPushButton::clicked, this, &TZZavelForm::BitBtn27Click);
    connect(ui->BitBtn11, &QPushButton::clicked, this, &TZZavelForm::BitBtn11Click);
    connect(ui->BitBtn29, &QPushButton::clicked, this, &TZZavelForm::BitBtn29Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TZZavelForm::BitBtn2Click);
    connect(ui->BitBtn21, &QPushButton::clicked, this, &TZZavelForm::BitBtn21Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TZZavelForm::N22Click);

    connect(ui->BitBtn4, &QPushButton::clicked, this, &TZZavelForm::BitBtn4Click);
    // Typing a name finds it in either list, blanks and case aside.
    SkipLeadingBlanksInTypeAhead(ui->ListBox1);
    SkipLeadingBlanksInTypeAhead(ui->ListBox2);
    connect(ui->ListBox1, &QListWidget::itemClicked, this, &TZZavelForm::BitBtn4Click);
    connect(ui->ListBox1, &QListWidget::itemActivated, this, &TZZavelForm::BitBtn4Click);
    connect(ui->BitBtn5, &QPushButton::clicked, this, &TZZavelForm::BitBtn5Click);
    connect(ui->BitBtn13, &QPushButton::clicked, this, &TZZavelForm::BitBtn13Click);
    connect(ui->BitBtn9, &QPushButton::clicked, this, &TZZavelForm::BitBtn9Click);
    connect(ui->BitBtn8, &QPushButton::clicked, this, &TZZavelForm::BitBtn8Click);
    connect(ui->ListBox2, &QListWidget::itemClicked, this, &TZZavelForm::BitBtn8Click);
    connect(ui->ListBox2, &QListWidget::itemActivated, this, &TZZavelForm::BitBtn8Click);
    connect(ui->BitBtn12, &QPushButton::clicked, this, &TZZavelForm::BitBtn12Click);
    connect(ui->BitBtn7, &QPushButton::clicked, this, &TZZavelForm::BitBtn7Click);
    connect(ui->BitBtn10, &QPushButton::clicked, this, &TZZavelForm::BitBtn10Click);
    connect(ui->AllWomenButton, &QPushButton::clicked, this, &TZZavelForm::AllWomenButtonClick);
    connect(ui->DavisonChoice, &QRadioButton::toggled, this, &TZZavelForm::RelationshipChoiceClick);
    connect(ui->ExportWomenButton, &QPushButton::clicked, this, [this] { ExportList(TableKind::Women); });
    connect(ui->ImportWomenButton, &QPushButton::clicked, this, [this] { ImportList(TableKind::Women); });
    connect(ui->ExportMenButton, &QPushButton::clicked, this, [this] { ExportList(TableKind::Men); });
    connect(ui->ImportMenButton, &QPushButton::clicked, this, [this] { ImportList(TableKind::Men); });

    const std::pair<ImageCanvas*, int> pictures[] = {
        {ui->Image15, kTopicTitlePicture15}, {ui->Image14, kTopicTitlePicture14},
        {ui->Image8, kAstrologyPictureTopics[0]},  {ui->Image9, kAstrologyPictureTopics[1]},
        {ui->Image10, kAstrologyPictureTopics[2]}, {ui->Image11, kAstrologyPictureTopics[3]},
        {ui->Image12, kAstrologyPictureTopics[4]}, {ui->Image13, kAstrologyPictureTopics[5]},
        {ui->Image16, kAstrologyPictureTopics[6]},
    };
    for (const auto& [image, topic] : pictures) {
        const int t = topic;
        // Reached with Tab like a button and opened with Enter or Space.
        image->SetClickable(true);
        connect(image, &ImageCanvas::clicked, this, [this, t] { ShowHelpTopic(t); });
    }
}

void TZZavelForm::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TZZavelForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Platforms that never activate the window (no window manager) still start up.
    QTimer::singleShot(0, this, &TZZavelForm::FormActivate);
}

void TZZavelForm::FormActivate() {
    if (started_) return;
    started_ = true;
    startup_ = RunStartup(configPath_, state_, *this, hooks_);
    if (!startup_.ok) boxes_.ShowError(this, QString::fromStdString(startup_.message));
    for (const std::string& warning : state_.StartupWarnings)
        boxes_.ShowWarning(this, QString::fromStdString(warning));
}

void TZZavelForm::ShowWomenList(const std::vector<std::string>& lines, const std::string& caption) {
    FillList(ui->ListBox1, lines);
    ui->Label11->setText(QString::fromStdString(caption));
}

void TZZavelForm::ShowMenList(const std::vector<std::string>& lines, const std::string& caption) {
    FillList(ui->ListBox2, lines);
    ui->Label22->setText(QString::fromStdString(caption));
}

void TZZavelForm::SetDefaultCursor() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    unsetCursor();
}

void TZZavelForm::DisableAnalysisCommands() {
    ui->BitBtn27->setEnabled(false);
    ui->BitBtn11->setEnabled(false);
    ui->BitBtn29->setEnabled(false);
    ui->AllWomenButton->setEnabled(false);
}

void TZZavelForm::PrepareDrawingSurfaces() {
    ui->Image1->FillSolid(Qt::white);
    ui->ImageComposite->FillSolid(Qt::white);
    ui->Image6->FillSolid(QColor(191, 228, 208));
    ui->Image5->FillSolid(QColor(255, 223, 239));
    // Image4 and Image7 fill their pages through the pages' layouts.
    ui->PageControl1->setCurrentIndex(static_cast<int>(MainPage::Title));
}

// ---- The person pages ----------------------------------------------------

template <typename F>
void TZZavelForm::Guarded(F&& command) {
    try {
        command();
    } catch (const std::exception& e) {
        boxes_.ShowError(this, QString::fromStdString(e.what()));
    }
}

void TZZavelForm::Select(TableKind kind) {
    const QListWidget* list = kind == TableKind::Women ? ui->ListBox1 : ui->ListBox2;
    Guarded([&] { SelectPerson(state_.people, kind, CurrentLine(list), *this); });
    UpdateAllWomen();
}

void TZZavelForm::Add(TableKind kind) {
    if (!MayAddPerson(state_.people, kind, *this)) return;
    if (QDialog* entry = kind == TableKind::Women ? womenEntry_ : menEntry_) entry->exec();
    Guarded([&] { ReloadPersonList(state_.people, kind, state_.config.DataDir, *this); });
    HighlightChosen(kind);
    UpdateAllWomen();
}

void TZZavelForm::HighlightChosen(TableKind kind) {
    // The list was filled again with its first line highlighted; the chosen
    // person, whose comment the box shows, keeps the highlight.
    const bool women = kind == TableKind::Women;
    if (!(women ? state_.people.WomanChosen : state_.people.ManChosen)) return;
    HighlightStamp(women ? ui->ListBox1 : ui->ListBox2,
                   (women ? state_.people.ChosenWoman : state_.people.ChosenMan).Stamp.str());
}

void TZZavelForm::SaveComment(TableKind kind) {
    const QPlainTextEdit* memo = kind == TableKind::Women ? ui->Memo1 : ui->Memo2;
    std::vector<std::string> lines;
    const QString text = memo->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(Utf8ToCp1251(line.toStdString()));
    Guarded([&] { SaveChosenComment(state_.people, kind, lines, state_.config.DataDir, *this); });
}

void TZZavelForm::Delete(TableKind kind) {
    Guarded([&] { DeleteChosenPerson(state_.people, kind, state_.config.DataDir, *this); });
    UpdateAllWomen();
}

void TZZavelForm::ExportList(TableKind kind) {
    ExportPersonList(this, kind, state_.config.DataDir, boxes_, exchange_);
}

void TZZavelForm::ImportList(TableKind kind) {
    // The same refusals as "Добавить": a list that was not loaded, or a full one.
    if (!MayAddPerson(state_.people, kind, *this)) return;
    ImportPersonList(this, kind, state_.config.DataDir, boxes_, exchange_, [&] {
        Guarded([&] { ReloadPersonList(state_.people, kind, state_.config.DataDir, *this); });
        HighlightChosen(kind);
        UpdateAllWomen();
    });
}

void TZZavelForm::UpdateAllWomen() { ui->AllWomenButton->setEnabled(state_.people.ManChosen); }

void TZZavelForm::BitBtn4Click() { Select(TableKind::Women); }
void TZZavelForm::BitBtn5Click() { Add(TableKind::Women); }
void TZZavelForm::BitBtn13Click() { SaveComment(TableKind::Women); }
void TZZavelForm::BitBtn9Click() { Delete(TableKind::Women); }
void TZZavelForm::BitBtn8Click() { Select(TableKind::Men); }
void TZZavelForm::BitBtn12Click() { Add(TableKind::Men); }
void TZZavelForm::BitBtn7Click() { SaveComment(TableKind::Men); }
void TZZavelForm::BitBtn10Click() { Delete(TableKind::Men); }

void TZZavelForm::ShowList(TableKind kind, const std::vector<std::string>& lines, const std::string& caption) {
    if (kind == TableKind::Women) ShowWomenList(lines, caption);
    else ShowMenList(lines, caption);
}

void TZZavelForm::ShowCaption(TableKind kind, const std::string& caption) {
    (kind == TableKind::Women ? ui->Label11 : ui->Label22)->setText(QString::fromStdString(caption));
}

void TZZavelForm::ShowComment(TableKind kind, const std::string& comment) {
    (kind == TableKind::Women ? ui->Memo1 : ui->Memo2)->setPlainText(FromCp1251(comment));
}

void TZZavelForm::ShowChosen(TableKind kind, const std::string& text) {
    (kind == TableKind::Women ? ui->Label9 : ui->Label10)->setText(QString::fromStdString(text));
}

void TZZavelForm::EnableScan() { ui->BitBtn11->setEnabled(true); }

void TZZavelForm::EnablePairAndPrint() {
    ui->BitBtn27->setEnabled(true);
    ui->BitBtn29->setEnabled(true);
}

void TZZavelForm::Message(const std::string& text) { boxes_.ShowMessage(this, QString::fromStdString(text)); }

bool TZZavelForm::Confirm(const std::string& text) { return boxes_.Confirm(this, QString::fromStdString(text)); }

// ---- The analysis commands ----------------------------------------------

namespace {

// The compatibility bar of "Совместимость" (Image3).
void DrawStrip(ImageCanvas* image, PairBarMode mode, std::int32_t minus, std::int32_t plus, const PairRowTexts& man,
               const PairBarExtras& extras = {}) {
    if (image->Surface().isNull()) image->FillSolid(Qt::white);
    QImage& surface = image->Surface();
    QPainter painter(&surface);
    DrawPairBar(painter, surface.size(), mode, minus, plus, man, extras);
    painter.end();
    image->update();
}

// The ranking of "Совместимость" (Image2). The picture grows beyond its 1500
// pixels when the list needs it, so that every one of 99 men can be seen.
void DrawRankingOn(ImageCanvas* image, const ScanTable& ranking, RankingMode mode) {
    const int height = std::max(1500, mode == RankingMode::List ? RankingPictureHeight(ranking) : 1500);
    if (image->height() != height) image->resize(image->width(), height);
    if (image->Surface().isNull()) image->FillSolid(Qt::white);
    QImage& surface = image->Surface();
    QPainter painter(&surface);
    DrawRanking(painter, surface.size(), ranking, mode);
    painter.end();
    image->update();
}

// The chart of "Композит" chosen on the page, from the pair's charts; white
// when no pair has been analysed since the last scan.
void DrawRelationshipPage(Ui::TZZavelForm& ui, const AnalysisState& s) {
    const RelationshipKind kind =
        ui.DavisonChoice->isChecked() ? RelationshipKind::Davison : RelationshipKind::Composite;
    if (ui.ImageComposite->Surface().isNull()) ui.ImageComposite->FillSolid(Qt::white);
    QImage& surface = ui.ImageComposite->Surface();
    RelationshipWheelInput in = RelationshipWheelOf(kind, s.Relationship ? &*s.Relationship : nullptr);
    in.width = surface.width();
    in.height = surface.height();
    QPainter painter(&surface);
    PaintWheelOps(painter, PlanRelationshipWheel(in));
    painter.end();
    ui.ImageComposite->update();
}

// "Совместимость" shows either the ranking list or the factors of a pair.
void ShowFactorsInstead(Ui::TZZavelForm& ui, FactorPanel* factors, bool show) {
    if (!show) factors->Clear();
    ui.ScrollBox1->setVisible(!show);
    factors->setVisible(show);
}

// Under the ranking: the people a scan could not compute, with the reason.
void ShowSkipped(QLabel* label, const std::vector<SkippedPerson>& skipped, bool women) {
    if (skipped.empty()) {
        label->clear();
        label->hide();
        return;
    }
    QString text = QString::fromUtf8(women ? "Не вошли в список (их записи в «FEMIN.DAT» повреждены):"
                                           : "Не вошли в список (их записи в «MEN.DAT» повреждены):");
    for (const SkippedPerson& p : skipped)
        text += QStringLiteral("\n") + FromCp1251(p.Name).trimmed() + QStringLiteral(" (") + FromCp1251(p.Date) +
                QString::fromUtf8(") — ") + QString::fromStdString(p.Reason);
    label->setText(text);
    label->show();
}

class WindowPairObserver : public PairAnalysisObserver {
public:
    WindowPairObserver(Ui::TZZavelForm& ui, const PeopleState& people, FactorPanel* factors,
                       const AnalysisData& data)
        : ui_(ui), people_(people), factors_(factors), data_(data) {}
    void ClearCompatibility() override {
        // An analysis that fails before its charts leaves no earlier pair's
        // composite on "Композит".
        ui_.ImageComposite->FillSolid(Qt::white);
        ShowFactorsInstead(ui_, factors_, false);
        if (QLabel* skipped = ui_.TabSheet4->findChild<QLabel*>(QStringLiteral("SkippedLabel"))) skipped->hide();
        DrawRankingOn(ui_.Image2, ScanTable{}, RankingMode::Clear);
        DrawStrip(ui_.Image3, PairBarMode::ScaleOnly, 0, 0, PairRowTexts{});
    }
    // The pages come to the front in the command's order; they are painted when
    // it ends, with "Пара" in front: painting the pages passed through would
    // only show them for a few milliseconds each.
    void ShowPage(MainPage page) override { ui_.PageControl1->setCurrentIndex(static_cast<int>(page)); }
    void ManReportWritten(const std::string& rtfFile) override { ShowRtfFile(ui_.RichEdit2, rtfFile); }
    void ChartReady(const AnalysisState& s) override {
        // The bi-wheel on the chart image of "Карта", at its current size.
        QImage& surface = ui_.Image1->Surface();
        QPainter painter(&surface);
        DrawBiWheel(painter, surface.width(), surface.height(), s.WomanChart, s.ManChart, s.WomanCusps,
                    s.AspectGrid, true, &s.AspectGrid, ManHousesKnown(s) ? &s.ManCusps : nullptr);
        painter.end();
        ui_.Image1->update();
        // The composite or the Davison chart on "Композит", as chosen there.
        DrawRelationshipPage(ui_, s);
    }
    void PairReportWritten(const std::string& rtfFile, const AnalysisState& s) override {
        ShowRtfFile(ui_.RichEdit1, rtfFile);
        PairBarExtras extras;
        const PairPercentile where = PercentileForPair(data_.dataDir, data_.texts, CompatPercentOf(s.PlusTotal, s.MinusTotal),
                                                       people_.ChosenWoman.TimeKnown != 0);
        extras.percentile = where.percentile;
        const std::string& problem = where.note;
        extras.percentWithHisHouses = s.PercentWithHisHouses;
        DrawStrip(ui_.Image3, PairBarMode::Full, s.MinusTotal, s.PlusTotal, PairRowTextsOf(people_.ChosenMan),
                  extras);
        const TextDatabases& texts = data_.texts;
        factors_->ShowFactors(
            s.Factors,
            [&texts](const ScoreFactor& f) {
                return FactorParagraph(texts.AspectTexts, texts.HouseTexts, f, &texts.ReverseHouseTexts);
            },
            s.Reverse ? &s.Reverse->Factors : nullptr);
        if (!problem.empty()) factors_->Paragraph()->setPlainText(QString::fromStdString(problem));
        ShowFactorsInstead(ui_, factors_, true);
    }

private:
    Ui::TZZavelForm& ui_;
    const PeopleState& people_;
    FactorPanel* factors_;
    const AnalysisData& data_;
};

// "Анализ всех" (the men for the chosen woman) or "Все женщины" (the women for
// the chosen man).
class WindowScanObserver : public ScanObserver {
public:
    WindowScanObserver(Ui::TZZavelForm& ui, FactorPanel* factors, QLabel* skipped, bool women)
        : ui_(ui), factors_(factors), skipped_(skipped), women_(women) {}
    void Started() override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        LetMessagesRun();
        if (!women_) {
            ui_.Label10->setText(QString::fromUtf8("Мужчина: Сканируем всех"));
            ui_.AllWomenButton->setEnabled(false);  // no man is chosen after it
        }
        LetMessagesRun();
    }
    void ClearPages() override {
        ShowFactorsInstead(ui_, factors_, false);
        ui_.PageControl1->setCurrentIndex(static_cast<int>(MainPage::Compatibility));
        ui_.Image1->FillSolid(Qt::white);  // the bi-wheel's blank mode: a white surface
        ui_.ImageComposite->FillSolid(Qt::white);
        ui_.RichEdit1->clear();
        ui_.RichEdit2->clear();
        PairBarExtras extras;
        extras.women = women_;
        DrawStrip(ui_.Image3, PairBarMode::ScaleOnly, 0, 0, PairRowTexts{}, extras);
        DrawRankingOn(ui_.Image2, ScanTable{}, RankingMode::Clear);
        ShowSkipped(skipped_, {}, women_);
        LetMessagesRun();
    }
    // The scan holds the data directory's lock: painting and the gauge go on,
    // but no click may open a dialog that would keep the lock while it waits.
    void LetMessagesRun() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
    void RankingReady(const AnalysisState& s) override {
        DrawRankingOn(ui_.Image2, s.RankedResults, RankingMode::List);
        ShowSkipped(skipped_, s.ScanSkipped, women_);
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        ui_.BitBtn29->setEnabled(true);
    }

private:
    Ui::TZZavelForm& ui_;
    FactorPanel* factors_;
    QLabel* skipped_;
    bool women_;
};

}  // namespace

void TZZavelForm::BitBtn27Click() {
    if (const std::string refusal = PairAnalysisRefusal(state_.people); !refusal.empty()) {
        Message(refusal);
        return;
    }
    const AnalysisData data{state_.config.DataDir, state_.databases};
    WindowPairObserver observer(*ui, state_.people, factors_, data);
    const AnalysisResult r = RunPairAnalysis(state_.people, data, state_, observer);
    if (r.ran && !r.ok) boxes_.ShowError(this, QString::fromStdString(r.message));
}

void TZZavelForm::BitBtn11Click() {
    WindowScanObserver observer(*ui, factors_, skipped_, false);
    const AnalysisData data{state_.config.DataDir, state_.databases};
    const AnalysisResult r = RunScan(state_.people, data, state_, observer);
    if (!r.ok) boxes_.ShowError(this, QString::fromStdString(r.message));
}

void TZZavelForm::AllWomenButtonClick() {
    WindowScanObserver observer(*ui, factors_, skipped_, true);
    const AnalysisData data{state_.config.DataDir, state_.databases};
    const AnalysisResult r = RunWomenScan(state_.people, data, state_, observer);
    if (r.ran && !r.ok) boxes_.ShowError(this, QString::fromStdString(r.message));
}

void TZZavelForm::RelationshipChoiceClick() { DrawRelationshipPage(*ui, state_); }

void TZZavelForm::BitBtn29Click() {
    // The print dialog, then the page in front (the lists, the ranking, the two
    // reports, the chart page or the pair's composite or Davison chart); when its
    // analysis has not been done, what to do first.
    const PrintAction action = PrintActionFor(ui->PageControl1->currentIndex(), state_.PairDone, state_.ScanDone);
    if (action == PrintAction::Nothing) {
        Message(NothingToPrintMessage(ui->PageControl1->currentIndex()));
        return;
    }
    const bool davison = ui->DavisonChoice->isChecked();
    if (action == PrintAction::RelationshipPage && davison && state_.Relationship && !state_.Relationship->davison) {
        Message(state_.Relationship->davisonRefusal);
        return;
    }
    const QString failure = RunPrintAction(this, action, state_, {ui->RichEdit1, ui->RichEdit2, davison});
    if (!failure.isEmpty()) boxes_.ShowError(this, failure);
}

void TZZavelForm::BitBtn2Click() {
    if (const auto topic = HelpTopicForPage(ui->PageControl1->currentIndex())) ShowHelpTopic(*topic);
}

void TZZavelForm::BitBtn21Click() {
    if (legend_) legend_->exec();
}

void TZZavelForm::N22Click() { close(); }

void TZZavelForm::Timer1Timer() {
    // The timer also fires inside a scan, which holds the data directory's lock:
    // no user input is taken here (the window's own loop takes it).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ui->Gauge1->setValue(state_.ProgressCounter);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TZZavelForm::ShowHelpTopic(int topic) {
    pelorin::ShowHelpTopic(state_.config.SystemDir, topic, helpViewer_, boxes_, this);
}

}  // namespace pelorin
