#pragma once
// What made the percentage of a pair, under the bar of "Совместимость": the
// weighted facts of the score, strongest first, the favourable and the
// unfavourable apart; where his houses are known, a third group of her planets
// in his houses (outside the percentage, inside the second figure). A click on
// one shows its paragraph of the pair report.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "analysis/score.h"

class QLabel;
class QListWidget;
class QTextEdit;

namespace pelorin {

class FactorPanel : public QWidget {
public:
    // The paragraph of a factor (Windows-1251); it may throw Error, which is shown
    // in place of the text.
    using ParagraphOf = std::function<std::string(const ScoreFactor&)>;

    explicit FactorPanel(QWidget* parent = nullptr);

    // `reverse`: her bodies in his houses, when his houses are known.
    void ShowFactors(const std::vector<ScoreFactor>& factors, ParagraphOf paragraphOf,
                     const std::vector<ScoreFactor>* reverse = nullptr);
    void Clear();

    QListWidget* Favourable() const { return favourable_; }
    QListWidget* Unfavourable() const { return unfavourable_; }
    QListWidget* Reverse() const { return reverse_; }
    QTextEdit* Paragraph() const { return paragraph_; }

private:
    void ShowParagraphOf(QListWidget* list);

    QLabel* plusTitle_;
    QLabel* minusTitle_;
    QLabel* reverseTitle_;
    QListWidget* favourable_;
    QListWidget* unfavourable_;
    QListWidget* reverse_;
    QTextEdit* paragraph_;
    std::vector<ScoreFactor> factors_;
    ParagraphOf paragraphOf_;
};

}  // namespace pelorin
