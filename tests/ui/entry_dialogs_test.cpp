#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/message_boxes.h"
#include "base/cp1251.h"
#include "base/file_io.h"
#include "people/person_entry.h"
#include "people/place_chooser.h"
#include "people/ui/input_men_form3.h"
#include "people/ui/input_women_form2.h"
#include "support/test_support.h"
#include "ui_input_men_form3.h"
#include "ui_input_women_form2.h"

#include "recording_boxes.h"

namespace pelorin {
namespace {

using test::ScratchDir;

using test::RecordingBoxes;

class FakeChooser : public PlaceChooser {
public:
    bool choose = true;
    int calls = 0;
    bool ChoosePlace(PersonRecord& r) override {
        ++calls;
        if (!choose) return false;
        r.Place.set(PadRight(Utf8ToCp1251("Россия, Москва"), 26));
        r.CoordText.set(Utf8ToCp1251(" 37°37’ВД  55°45’СШ"));
        r.Zone = 3;
        r.ZoneText.set("  3.0");
        return true;
    }
};

PersonTable ClearedTable(TableKind kind) {
    PersonTable t{kind, {}};
    for (int i = 1; i <= kTableSlots; ++i) ClearSlot(t, i);
    return t;
}

std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8); }

TEST(MenEntryDialog, FilledAndAddedTheManIsInTheFile) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    const std::string dataDir = dir.path();
    SavePersonFile(dir.file("MEN.DAT"), men);  // the file the list was loaded from
    const std::string before = test::ReadFile(dir.file("MEN.DAT"));
    RecordingBoxes boxes;
    TInput_Men_Form3 dialog(men, dataDir, boxes);
    auto& f = dialog.Form();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("   Ввод данных мужчины"));
    EXPECT_EQ(f.BitBtn8->text(), QString::fromUtf8("   Добавить"));
    EXPECT_TRUE(f.BitBtn8->isDefault());
    EXPECT_EQ(f.Edit3->maxLength(), 25);

    dialog.show();
    EXPECT_EQ(f.SpinEdit6->value(), 15);
    EXPECT_EQ(f.SpinEdit7->value(), 6);
    EXPECT_EQ(f.SpinEdit8->value(), 1970);

    f.Edit2->setText(QString::fromUtf8("Иван Петров"));
    f.SpinEdit6->setValue(29);
    f.SpinEdit7->setValue(2);
    f.SpinEdit8->setValue(1984);
    f.Memo2->setPlainText(QStringLiteral("one\ntwo"));

    // Without a place the man is refused and the dialog stays as it was.
    f.BitBtn8->click();
    ASSERT_EQ(boxes.messages, QStringList{QString::fromUtf8("  Не введено имя или город ")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.Edit2->text(), QString::fromUtf8("Иван Петров"));
    EXPECT_TRUE(test::ReadFile(dir.file("MEN.DAT")) == before);

    f.Edit3->setText(QString::fromUtf8("Россия, Омск"));
    f.BitBtn8->click();
    EXPECT_EQ(boxes.messages.size(), 1);
    EXPECT_TRUE(boxes.errors.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(f.Edit2->text().isEmpty());

    PersonTable back{TableKind::Men, {}};
    LoadPersonFile(dir.file("MEN.DAT"), back);
    const PersonRecord& r = back.slot(1);
    EXPECT_EQ(r.Name.str(), PadRight(Cp("Иван Петров"), 20));
    EXPECT_EQ(r.DateText.str(), "29.02.1984");
    EXPECT_EQ(r.Place.str(), PadRight(Cp("Россия, Омск"), 26));
    EXPECT_EQ(r.Comment.str(), PadRight("one  two  ", 250));
    EXPECT_EQ(r.Sex.str(), "M");
    EXPECT_EQ(r.Stamp.length(), 10);
    EXPECT_TRUE(IsFreeSlot(back.slot(2)));

    // Opened again, the dialog is reset.
    dialog.show();
    EXPECT_TRUE(f.Edit3->text().isEmpty());
    EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
    EXPECT_EQ(f.SpinEdit6->value(), 15);
    dialog.hide();
}

// His birth time and "Выбрать место": the man stored with the chooser's place at
// that time, as a woman is; a time with a typed place is refused; a declined
// choice leaves the dialog open with what was typed.
TEST(MenEntryDialog, TimeAndAtlasPlaceStoreAnExactMan) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    SavePersonFile(dir.file("MEN.DAT"), men);
    RecordingBoxes boxes;
    TInput_Men_Form3 dialog(men, dir.path(), boxes);
    FakeChooser chooser;
    dialog.SetPlaceChooser(&chooser);
    auto& f = dialog.Form();
    EXPECT_EQ(f.ChoosePlaceButton->text(), QString::fromUtf8("Выбрать место"));
    dialog.show();
    EXPECT_TRUE(f.RadioGroup1Item1->isChecked());
    EXPECT_FALSE(f.SpinEdit4->isVisible());
    f.RadioGroup1Item0->setChecked(true);
    EXPECT_TRUE(f.SpinEdit4->isVisible());
    f.Edit2->setText(QString::fromUtf8("Борис"));
    f.SpinEdit4->setValue(6);
    f.SpinEdit5->setValue(5);

    f.Edit3->setText(QString::fromUtf8("Россия, Омск"));
    f.BitBtn8->click();  // a typed place cannot carry his time
    ASSERT_EQ(boxes.messages, QStringList{QString::fromUtf8(kManTimeNeedsAtlasMessage)});
    EXPECT_TRUE(dialog.isVisible());

    chooser.choose = false;
    f.ChoosePlaceButton->click();
    EXPECT_EQ(chooser.calls, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.Edit2->text(), QString::fromUtf8("Борис"));

    chooser.choose = true;
    f.ChoosePlaceButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    PersonTable back{TableKind::Men, {}};
    LoadPersonFile(dir.file("MEN.DAT"), back);
    const PersonRecord& r = back.slot(1);
    EXPECT_EQ(r.TimeText.str(), "06:05");
    EXPECT_EQ(r.TimeKnown, 1);
    EXPECT_EQ(r.Place.str(), PadRight(Cp("Россия, Москва"), 26));
    EXPECT_EQ(r.Sex.str(), "M");
    EXPECT_EQ(boxes.messages.size(), 1);

    dialog.show();  // opened again: the time is unknown again
    EXPECT_TRUE(f.RadioGroup1Item1->isChecked());
    EXPECT_FALSE(f.SpinEdit4->isVisible());
    dialog.hide();
}

TEST(MenEntryDialog, ImpossibleDateAndUnwritableFileKeepTheDialogOpen) {
    ScratchDir dir;
    PersonTable men = ClearedTable(TableKind::Men);
    const std::string dataDir = dir.path() + "missing/";
    RecordingBoxes boxes;
    TInput_Men_Form3 dialog(men, dataDir, boxes);
    auto& f = dialog.Form();
    dialog.show();
    f.Edit2->setText(QStringLiteral("Ivan"));
    f.Edit3->setText(QStringLiteral("Omsk"));
    f.SpinEdit6->setValue(31);
    f.SpinEdit7->setValue(4);
    f.BitBtn8->click();
    ASSERT_EQ(boxes.messages.size(), 1);
    EXPECT_EQ(boxes.messages[0], QString::fromUtf8("  Неверная дата рождения: 31.04.1970  "));
    EXPECT_TRUE(dialog.isVisible());

    f.SpinEdit6->setValue(30);
    f.BitBtn8->click();
    ASSERT_EQ(boxes.errors.size(), 1);  // the file could not be written: shown, not swallowed
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.Edit2->text(), QStringLiteral("Ivan"));
    EXPECT_TRUE(IsFreeSlot(men.slot(1)));
    dialog.hide();
}

TEST(WomenEntryDialog, TimeOptionResetsAndStore) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women);
    const std::string dataDir = dir.path();
    SavePersonFile(dir.file("FEMIN.DAT"), women);
    RecordingBoxes boxes;
    FakeChooser chooser;
    TInput_Women_Form2 dialog(women, dataDir, boxes);
    dialog.SetPlaceChooser(&chooser);
    auto& f = dialog.Form();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("   Ввод данных женщины"));
    EXPECT_EQ(f.BitBtn8->text(), QString::fromUtf8("   Продолжить"));
    EXPECT_EQ(f.BitBtn22->text(), QString::fromUtf8("  Отменить"));

    dialog.show();
    EXPECT_EQ(f.SpinEdit8->value(), 1980);
    EXPECT_TRUE(f.SpinEdit4->isHidden());
    EXPECT_TRUE(f.Label7->isHidden());

    f.RadioGroup1Item0->setChecked(true);
    EXPECT_FALSE(f.SpinEdit4->isHidden());
    EXPECT_FALSE(f.Label6->isHidden());
    f.SpinEdit4->setValue(7);
    f.SpinEdit5->setValue(9);

    f.BitBtn8->click();
    EXPECT_EQ(boxes.messages, QStringList{QString::fromUtf8("  Не введено имя  ")});
    EXPECT_EQ(chooser.calls, 0);

    f.Edit2->setText(QStringLiteral("Anna"));
    f.SpinEdit6->setValue(5);
    f.SpinEdit7->setValue(3);
    f.SpinEdit8->setValue(1985);
    f.BitBtn8->click();
    EXPECT_EQ(chooser.calls, 1);
    EXPECT_FALSE(dialog.isVisible());
    PersonTable back{TableKind::Women, {}};
    LoadPersonFile(dir.file("FEMIN.DAT"), back);
    EXPECT_EQ(back.slot(1).TimeText.str(), "07:09");
    EXPECT_EQ(back.slot(1).TimeKnown, 1);

    // Opened again: the option is back at "unknown", the time fields hidden and reset.
    dialog.show();
    EXPECT_TRUE(f.RadioGroup1Item1->isChecked());
    EXPECT_TRUE(f.SpinEdit4->isHidden());
    EXPECT_EQ(f.SpinEdit4->value(), 12);
    EXPECT_EQ(f.SpinEdit5->value(), 0);
    EXPECT_TRUE(f.Edit2->text().isEmpty());

    // "Отменить" in the place chooser returns to the dialog with everything
    // typed, and nothing is stored; a place chosen then stores the woman.
    chooser.choose = false;
    f.Edit2->setText(QStringLiteral("Olga"));
    f.SpinEdit6->setValue(21);
    f.RadioGroup1Item0->setChecked(true);
    f.SpinEdit4->setValue(23);
    f.Memo2->setPlainText(QString::fromUtf8("строка 1\nстрока 2"));
    f.BitBtn8->click();
    EXPECT_EQ(chooser.calls, 2);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.Edit2->text(), QStringLiteral("Olga"));
    EXPECT_EQ(f.SpinEdit6->value(), 21);
    EXPECT_TRUE(f.RadioGroup1Item0->isChecked());
    EXPECT_EQ(f.SpinEdit4->value(), 23);
    EXPECT_EQ(f.Memo2->toPlainText(), QString::fromUtf8("строка 1\nстрока 2"));
    LoadPersonFile(dir.file("FEMIN.DAT"), back);
    EXPECT_TRUE(IsFreeSlot(back.slot(2)));
    EXPECT_TRUE(IsFreeSlot(women.slot(2)));
    chooser.choose = true;
    f.BitBtn8->click();
    EXPECT_FALSE(dialog.isVisible());
    LoadPersonFile(dir.file("FEMIN.DAT"), back);
    EXPECT_EQ(back.slot(2).Name.str().substr(0, 4), "Olga");
    EXPECT_EQ(back.slot(2).TimeText.str(), "23:00");
    const std::string comment = Cp1251ToUtf8(back.slot(2).Comment.str());
    EXPECT_EQ(comment.find("строка 1"), 0u) << comment;
    EXPECT_NE(comment.find("строка 2"), std::string::npos) << comment;
}

// «по старому стилю» is offered for a date before February 1918 and hides (and
// is unticked) for a later one; ticked, the date typed is stored as its
// Gregorian date, by both dialogs.
TEST(EntryDialogs, OldStyleDatesAreStoredByTheNewStyle) {
    ScratchDir dir;
    PersonTable women = ClearedTable(TableKind::Women), men = ClearedTable(TableKind::Men);
    SavePersonFile(dir.file("FEMIN.DAT"), women);
    SavePersonFile(dir.file("MEN.DAT"), men);
    RecordingBoxes boxes;
    FakeChooser chooser;
    TInput_Women_Form2 woman(women, dir.path(), boxes);
    woman.SetPlaceChooser(&chooser);
    auto& w = woman.Form();
    woman.show();
    EXPECT_EQ(w.OldStyleBox->text(), QString::fromUtf8("по старому стилю"));
    EXPECT_TRUE(w.OldStyleBox->isHidden());  // 1980
    EXPECT_EQ(w.SpinEdit8->minimum(), kFirstServedYear);
    w.SpinEdit8->setValue(1918);
    EXPECT_FALSE(w.OldStyleBox->isHidden());  // 01.01.1918: still the old style in Russia
    w.SpinEdit7->setValue(2);
    EXPECT_TRUE(w.OldStyleBox->isHidden());
    w.SpinEdit7->setValue(1);
    w.SpinEdit6->setValue(31);
    w.OldStyleBox->setChecked(true);
    w.Edit2->setText(QStringLiteral("Anna"));
    w.BitBtn8->click();
    EXPECT_FALSE(woman.isVisible());
    LoadPersonFile(dir.file("FEMIN.DAT"), women);
    EXPECT_EQ(women.slot(1).DateText.str(), "13.02.1918");  // the day Russia changed its calendar
    woman.show();
    EXPECT_FALSE(w.OldStyleBox->isChecked());

    TInput_Men_Form3 man(men, dir.path(), boxes);
    auto& m = man.Form();
    man.show();
    EXPECT_TRUE(m.OldStyleBox->isHidden());  // 1970
    m.SpinEdit8->setValue(1900);
    m.SpinEdit7->setValue(2);
    m.SpinEdit6->setValue(29);  // a leap day of the Julian calendar only
    m.Edit2->setText(QStringLiteral("Ivan"));
    m.Edit3->setText(QString::fromUtf8("Россия, Омск"));
    m.BitBtn8->click();  // the new style has no 29 February 1900
    EXPECT_EQ(boxes.messages.last(), QString::fromUtf8("  Неверная дата рождения: 29.02.1900  "));
    m.OldStyleBox->setChecked(true);
    m.BitBtn8->click();
    EXPECT_FALSE(man.isVisible());
    LoadPersonFile(dir.file("MEN.DAT"), men);
    EXPECT_EQ(men.slot(1).DateText.str(), "13.03.1900");
    EXPECT_EQ(men.slot(1).Day, 13);
    m.SpinEdit8->setValue(1700);  // a ticked box that goes away is unticked
    m.OldStyleBox->setChecked(true);
    m.SpinEdit8->setValue(1950);
    EXPECT_FALSE(m.OldStyleBox->isChecked());
}

TEST(EntryDialogs, ControlsWithoutTextHaveAccessibleNames) {
    PersonTable t = ClearedTable(TableKind::Men);
    const std::string d;
    RecordingBoxes boxes;
    TInput_Men_Form3 men(t, d, boxes);
    TInput_Women_Form2 women(t, d, boxes);
    for (QDialog* dialog : {static_cast<QDialog*>(&men), static_cast<QDialog*>(&women)}) {
        int checked = 0;
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (qobject_cast<QSpinBox*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
                if (qobject_cast<QLineEdit*>(w) && qobject_cast<QSpinBox*>(w->parentWidget())) continue;
                EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
                ++checked;
            }
        }
        EXPECT_GE(checked, 5);
    }
}

}  // namespace
}  // namespace pelorin
