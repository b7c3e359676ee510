#include "ui/translations.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(QtRussian, QuestionButtonsAnswerInRussian) {
    QTranslator* translator = InstallQtRussian(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "qtbase_ru.qm missing (Debian qt6-translations-l10n)";
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QString::fromUtf8("Да"));
        EXPECT_EQ(box.button(QMessageBox::No)->text().remove(u'&'), QString::fromUtf8("Нет"));
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString::fromUtf8("ОК"));
    }
    // The other tests see Qt's texts as they were.
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace
}  // namespace pelorin
