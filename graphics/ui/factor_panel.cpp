#include "graphics/ui/factor_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QTextEdit>
#include <cstdlib>
#include <exception>

#include "base/cp1251.h"
#include "graphics/diagram.h"
#include "graphics/ui/diagram.h"

namespace pelorin {

namespace {

constexpr int kFactorRole = Qt::UserRole;  // index into the factors shown

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

FactorPanel::FactorPanel(QWidget* parent)
    : QWidget(parent),
      plusTitle_(new QLabel(this)),
      minusTitle_(new QLabel(this)),
      reverseTitle_(new QLabel(this)),
      favourable_(new QListWidget(this)),
      unfavourable_(new QListWidget(this)),
      reverse_(new QListWidget(this)),
      paragraph_(new QTextEdit(this)) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(7, 4, 7, 4);
    grid->setVerticalSpacing(3);
    const QFont font = DiagramFont(9, false);
    QFont bold = DiagramFont(9, true);
    plusTitle_->setFont(bold);
    minusTitle_->setFont(bold);
    reverseTitle_->setFont(bold);
    favourable_->setFont(font);
    unfavourable_->setFont(font);
    reverse_->setFont(font);
    paragraph_->setFont(font);
    favourable_->setAccessibleName(QStringLiteral("Благоприятные факторы"));
    unfavourable_->setAccessibleName(QStringLiteral("Неблагоприятные факторы"));
    reverse_->setAccessibleName(QStringLiteral("Её планеты в его домах"));
    paragraph_->setAccessibleName(QStringLiteral("Текст фактора из отчёта о паре"));
    paragraph_->setReadOnly(true);
    auto* hint = new QLabel(QStringLiteral("Щёлкните по фактору, чтобы прочитать его текст из отчёта о паре:"), this);
    hint->setFont(font);
    grid->addWidget(plusTitle_, 0, 0);
    grid->addWidget(minusTitle_, 0, 1);
    grid->addWidget(reverseTitle_, 0, 2);
    grid->addWidget(favourable_, 1, 0);
    grid->addWidget(unfavourable_, 1, 1);
    grid->addWidget(reverse_, 1, 2);
    grid->addWidget(hint, 2, 0, 1, 3);
    grid->addWidget(paragraph_, 3, 0, 1, 3);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(3, 2);
    for (QListWidget* list : {favourable_, unfavourable_, reverse_}) {
        connect(list, &QListWidget::currentItemChanged, this, [this, list] { ShowParagraphOf(list); });
        connect(list, &QListWidget::itemClicked, this, [this, list] { ShowParagraphOf(list); });
    }
    Clear();
}

void FactorPanel::Clear() {
    factors_.clear();
    paragraphOf_ = {};
    favourable_->clear();
    unfavourable_->clear();
    reverse_->clear();
    paragraph_->clear();
    plusTitle_->setText(QStringLiteral("Благоприятные факторы"));
    minusTitle_->setText(QStringLiteral("Неблагоприятные факторы"));
    reverseTitle_->setText(QStringLiteral("Её планеты в его домах"));
    reverseTitle_->setVisible(false);
    reverse_->setVisible(false);
}

void FactorPanel::ShowFactors(const std::vector<ScoreFactor>& factors, ParagraphOf paragraphOf,
                              const std::vector<ScoreFactor>* reverse) {
    Clear();
    factors_ = StrongestFirst(factors);
    const std::size_t ownCount = factors_.size();
    if (reverse) {
        const std::vector<ScoreFactor> theirs = StrongestFirst(*reverse);
        factors_.insert(factors_.end(), theirs.begin(), theirs.end());
    }
    paragraphOf_ = std::move(paragraphOf);
    int plus = 0, minus = 0, reversePlus = 0, reverseMinus = 0;
    for (std::size_t i = 0; i < factors_.size(); ++i) {
        const ScoreFactor& f = factors_[i];
        QListWidget* list = i >= ownCount ? reverse_ : f.weight > 0 ? favourable_ : unfavourable_;
        if (i >= ownCount) (f.weight > 0 ? reversePlus : reverseMinus) += f.weight;
        else (f.weight > 0 ? plus : minus) += f.weight;
        auto* item = new QListWidgetItem(Utf8(FactorLabel(f)), list);
        item->setData(kFactorRole, static_cast<int>(i));
    }
    plusTitle_->setText(QStringLiteral("Благоприятные факторы: +%1").arg(plus));
    minusTitle_->setText(QStringLiteral("Неблагоприятные факторы: %1").arg(minus));
    if (reverse) {
        reverseTitle_->setText(QStringLiteral("Её планеты в его домах: +%1 / %2").arg(reversePlus).arg(reverseMinus));
        reverseTitle_->setVisible(true);
        reverse_->setVisible(true);
    }
    if (factors_.empty()) paragraph_->setPlainText(QStringLiteral("Ни один фактор не найден в базах текстов."));
}

void FactorPanel::ShowParagraphOf(QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (!item || !paragraphOf_) return;
    for (QListWidget* other : {favourable_, unfavourable_, reverse_}) {
        if (other == list) continue;
        const QSignalBlocker block(other);
        other->setCurrentItem(nullptr);
    }
    const int i = item->data(kFactorRole).toInt();
    if (i < 0 || static_cast<std::size_t>(i) >= factors_.size()) return;
    try {
        std::string text = Cp1251ToUtf8(paragraphOf_(factors_[static_cast<std::size_t>(i)]));
        std::string plain;
        for (char c : text)
            if (c != '\r') plain += c;
        paragraph_->setPlainText(plain.empty() ? QStringLiteral("Текста для этого фактора в базе нет.") : Utf8(plain));
    } catch (const std::exception& e) {
        paragraph_->setPlainText(Utf8(e.what()));
    }
}

}  // namespace pelorin
