#include "ui/type_ahead.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QStringList>

namespace pelorin {
namespace {

QString FoldCase(QString s) {
    s = s.toLower();
    s.replace(QChar(0x0451), QChar(0x0435));  // ё as е
    return s;
}

// An entry as type-ahead reads it: without its leading blanks.
QString Folded(const QString& entry) {
    int b = 0;
    while (b < entry.size() && entry.at(b).isSpace()) ++b;
    return FoldCase(entry.mid(b));
}

class TypeAhead : public QObject {
public:
    explicit TypeAhead(QAbstractItemView* view) : QObject(view), view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        const bool fresh = !timer_.isValid() || timer_.elapsed() > QApplication::keyboardInputInterval();
        if (fresh) sought_.clear();
        if (sought_.isEmpty() && text.at(0).isSpace()) return false;  // a blank alone keeps its usual role
        timer_.start();
        // The same letter again steps through the entries that begin with it.
        const bool repeat = sought_.size() == 1 && text.size() == 1 && FoldCase(text) == sought_;
        if (!repeat) sought_ += FoldCase(text);
        QAbstractItemModel* model = view_->model();
        if (model == nullptr) return true;
        QStringList texts;
        for (int r = 0; r < model->rowCount(view_->rootIndex()); ++r)
            texts << model->index(r, 0, view_->rootIndex()).data().toString();
        const int current = view_->currentIndex().isValid() ? view_->currentIndex().row() : 0;
        const int row = TypeAheadRow(texts, sought_, repeat || sought_.size() == 1 ? current + 1 : current);
        if (row >= 0) {
            const QModelIndex index = model->index(row, 0, view_->rootIndex());
            view_->setCurrentIndex(index);
            view_->scrollTo(index);
        }
        return true;
    }

private:
    QAbstractItemView* view_;
    QString sought_;
    QElapsedTimer timer_;
};

}  // namespace

int TypeAheadRow(const QStringList& texts, const QString& sought, int from) {
    const int n = static_cast<int>(texts.size());
    if (n == 0 || sought.isEmpty()) return -1;
    const QString wanted = FoldCase(sought);
    for (int k = 0; k < n; ++k) {
        const int row = ((from % n) + n + k) % n;
        if (Folded(texts.at(row)).startsWith(wanted)) return row;
    }
    return -1;
}

void SkipLeadingBlanksInTypeAhead(QAbstractItemView* view) {
    if (view == nullptr) return;
    view->installEventFilter(new TypeAhead(view));
}

}  // namespace pelorin
