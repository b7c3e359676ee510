#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QKeyEvent>
#include <QTimer>
#include <cstring>

#include "people/config.h"
#include "ui/message_boxes.h"
#include "people/atlas.h"
#include "base/cp1251.h"
#include "people/person_record.h"
#include "people/ui/input2h2_form.h"
#include "people/ui/input3h_form.h"
#include "support/test_support.h"
#include "ui_input2h2_form.h"
#include "ui_input3h_form.h"

#include "recording_boxes.h"

namespace pelorin {
namespace {

using test::ScratchDir;

using test::RecordingBoxes;

std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8); }

std::string CountryLine(const char* name) {
    // Zone field n holds n, so the zone shows which field a date took.
    return "*" + PadRight(Cp(name), 29) + "  " + "   1   2   3   4   5   6   7   8   9  10  11";
}
std::string CityLine(const char* name, const char* coords) { return " " + PadRight(Cp(name), 30) + coords; }

// A small region file: three countries out of alphabetical order, cities too.
std::string RegionContent() {
    const std::string lines[] = {
        CountryLine("Украина"),
        CityLine("Киев", " 50 27   30 31"),
        CountryLine("Армения"),
        CityLine("Ереван", " 40 11   44 31"),
        CountryLine("Россия"),
        CityLine("Москва", " 55 45   37 37"),
        CityLine("Александровск-Сахалинский р", " 50 54  142 09"),
        CityLine("Абакан", " 53 43   91 26"),
    };
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// A data directory with the region file "sng.wdt" and a main.dat naming it.
struct Atlas {
    ScratchDir dir;
    Config config;
    Atlas(bool withRegion = true) {
        if (withRegion) test::WriteFile(dir.file("sng.wdt"), RegionContent());
        test::WriteFile(dir.file("main.dat"), dir.path() + "\r\n" + dir.path() + "\r\n");
        config.path = dir.file("main.dat");  // directories come from the file on opening
    }
};

QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text().trimmed();
    return out;
}

void Pick(QListWidget* list, const char* utf8) {
    const auto found = list->findItems(QString::fromUtf8(utf8), Qt::MatchStartsWith);
    ASSERT_FALSE(found.isEmpty()) << utf8;
    list->setCurrentItem(found.front());
}

QListWidgetItem* FindCity(QListWidget* list, const char* utf8) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().trimmed() == QString::fromUtf8(utf8)) return list->item(i);
    return nullptr;
}

PersonRecord WorkingWithDate(const char* date) {
    PersonRecord r;
    std::memset(&r, 0, sizeof r);
    r.DateText.set(date);
    return r;
}

TEST(PlaceChooser, RegionCountryAndCityFillTheWorkingRecord) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    auto& f = chooser.Form();
    EXPECT_EQ(chooser.windowTitle(), QString::fromUtf8("   Выбор  региона,  страны  и  города "));
    EXPECT_EQ(f.BitBtn5->text(), QString::fromUtf8("     С Н Г"));
    EXPECT_EQ(f.BitBtn11->text(), QString::fromUtf8("    Австралия"));
    EXPECT_EQ(f.BitBtn4->text(), QString::fromUtf8("   &Помощь"));
    EXPECT_FALSE(chooser.windowFlags() & Qt::WindowCloseButtonHint);

    PersonRecord working = WorkingWithDate("16.06.1930");
    chooser.SetWorking(&working);
    chooser.show();
    EXPECT_EQ(chooser.CurrentConfig().DataDir, atlas.dir.path());  // main.dat read on opening

    // Nothing chosen yet.
    f.BitBtn1->click();
    ASSERT_EQ(boxes.messages, QStringList{QString::fromUtf8("   Не выбран город!   ")});
    EXPECT_TRUE(chooser.isVisible());

    f.BitBtn5->click();
    EXPECT_EQ(Texts(f.ListBox1), (QStringList{QString::fromUtf8("Армения"), QString::fromUtf8("Россия"),
                                              QString::fromUtf8("Украина")}));
    EXPECT_EQ(f.ListBox1->item(0)->text().size(), 30);  // the "*" became a blank, 30 characters
    EXPECT_TRUE(f.ListBox1->item(0)->text().startsWith(QLatin1Char(' ')));
    EXPECT_EQ(f.ListBox2->count(), 0);

    Pick(f.ListBox1, " Россия");
    EXPECT_EQ(Texts(f.ListBox2), (QStringList{QString::fromUtf8("Абакан"),
                                              QString::fromUtf8("Александровск-Сахалинский р"),
                                              QString::fromUtf8("Москва")}));

    // A country alone is not enough.
    f.BitBtn1->click();
    EXPECT_EQ(boxes.messages.size(), 2);

    f.ListBox2->setCurrentItem(FindCity(f.ListBox2, "Москва"));
    f.BitBtn1->click();
    EXPECT_EQ(boxes.errors, QStringList{});
    EXPECT_TRUE(chooser.PlaceChosen());
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(working.Place.str(), PadRight(Cp("Москва"), 26));
    EXPECT_EQ(working.CoordText.str(), Cp(" 37°37’ВД  55°45’СШ"));
    EXPECT_EQ(+working.Zone, 2);  // 16 June 1930 takes the second field
    EXPECT_EQ(working.ZoneText.str(), "  2.0");
}

// The search field finds a city without its region and country and chooses all
// three as the clicks do; typing in a list finds entries behind their blank.
TEST(PlaceChooser, SearchFieldChoosesRegionCountryAndCity) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    auto& f = chooser.Form();
    PersonRecord working = WorkingWithDate("16.06.1930");
    chooser.SetWorking(&working);
    chooser.show();
    EXPECT_EQ(f.EditFind->accessibleName(), QString::fromUtf8("Поиск города"));
    f.EditFind->setText(QString::fromUtf8("  мОСк"));
    ASSERT_EQ(Texts(f.ListBoxFound), QStringList{QString::fromUtf8("Москва — Россия, СНГ")});
    Q_EMIT f.EditFind->returnPressed();
    EXPECT_EQ(f.ListBox1->currentItem()->text().trimmed(), QString::fromUtf8("Россия"));
    EXPECT_EQ(f.ListBox2->currentItem()->text().trimmed(), QString::fromUtf8("Москва"));
    f.BitBtn1->click();
    EXPECT_TRUE(chooser.PlaceChosen());
    EXPECT_EQ(working.CoordText.str(), Cp(" 37°37’ВД  55°45’СШ"));

    chooser.show();
    f.BitBtn5->click();
    f.ListBox1->setFocus();
    for (const QString& key : {QString::fromUtf8("у"), QString::fromUtf8("к")}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QApplication::sendEvent(f.ListBox1, &press);
    }
    EXPECT_EQ(f.ListBox1->currentItem()->text().trimmed(), QString::fromUtf8("Украина"));
    EXPECT_EQ(f.ListBox2->count(), 1);  // the country was chosen as by a click
    chooser.reject();
}

TEST(PlaceChooser, ChangingTheCountryOrRegionForgetsTheCity) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    auto& f = chooser.Form();
    PersonRecord working = WorkingWithDate("15.06.1930");
    chooser.SetWorking(&working);
    chooser.show();

    f.BitBtn5->click();
    Pick(f.ListBox1, " Россия");
    f.ListBox2->setCurrentItem(FindCity(f.ListBox2, "Москва"));
    Pick(f.ListBox1, " Армения");
    EXPECT_EQ(Texts(f.ListBox2), QStringList{QString::fromUtf8("Ереван")});
    f.BitBtn1->click();
    EXPECT_EQ(boxes.messages, QStringList{QString::fromUtf8("   Не выбран город!   ")});
    EXPECT_FALSE(chooser.PlaceChosen());

    // The same region again empties both lists.
    f.BitBtn5->click();
    EXPECT_EQ(f.ListBox2->count(), 0);
    f.BitBtn1->click();
    EXPECT_EQ(boxes.messages.size(), 2);

    // A long name is cut to 26 characters in the place; the zone of 15 June 1930 is field 1.
    Pick(f.ListBox1, " Россия");
    f.ListBox2->setCurrentItem(FindCity(f.ListBox2, "Александровск-Сахалинский р"));
    f.BitBtn1->click();
    ASSERT_TRUE(chooser.PlaceChosen());
    EXPECT_EQ(working.Place.str(), Cp("Александровск-Сахалинский "));
    EXPECT_EQ(working.CoordText.str(), Cp("142°09’ВД  50°54’СШ"));
    EXPECT_EQ(working.ZoneText.str(), "  1.0");
}

TEST(PlaceChooser, ThroughTheEntryDialogsInterfaceAndReopenedEmpty) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    PlaceChooser& asSeenByEntry = chooser;
    auto& f = chooser.Form();

    PersonRecord working = WorkingWithDate("19.01.1992");
    QTimer::singleShot(0, [&] {
        f.BitBtn5->click();
        Pick(f.ListBox1, " Армения");
        f.ListBox2->setCurrentItem(f.ListBox2->item(0));
        f.BitBtn1->click();
    });
    ASSERT_TRUE(asSeenByEntry.ChoosePlace(working));
    EXPECT_EQ(working.Place.str(), PadRight(Cp("Ереван"), 26));
    EXPECT_EQ(+working.Zone, 10);

    // Opened again: no region, empty lists; "Отменить" gives no place and keeps the record.
    PersonRecord other = WorkingWithDate("01.01.1980");
    other.Place.set("unchanged");
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(f.ListBox1->count(), 0);
        EXPECT_EQ(f.ListBox2->count(), 0);
        f.BitBtn2->click();
    });
    EXPECT_FALSE(asSeenByEntry.ChoosePlace(other));
    EXPECT_EQ(other.Place.str(), "unchanged");
    EXPECT_TRUE(boxes.messages.isEmpty());
}

TEST(PlaceChooser, MissingRegionFileIsReportedAndChoosesNoRegion) {
    Atlas atlas(false);
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    auto& f = chooser.Form();
    chooser.show();
    f.BitBtn5->click();
    ASSERT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(boxes.errors[0].contains(QStringLiteral("sng.wdt"))) << boxes.errors[0].toStdString();
    EXPECT_EQ(f.ListBox1->count(), 0);
    f.BitBtn3->click();
    EXPECT_EQ(boxes.messages, QStringList{QString::fromUtf8("   Не выбран континент и страна  ")});
}

TEST(PlaceChooser, HelpTopics) {
    Atlas atlas;
    test::WriteFile(atlas.dir.file("PelorinHelp.chm"), "x");
    test::WriteFile(atlas.dir.file("Korvantis_7.chm"), "x");
    RecordingBoxes boxes;
    QStringList opened;
    auto viewer = [&](const QString& file, const QString& topic) {
        opened << QFileInfo(file).fileName() + topic;
        return true;
    };
    TInput2h2Form chooser(atlas.config, boxes);
    chooser.SetHelpViewer(viewer);
    chooser.show();
    chooser.Form().BitBtn4->click();
    TInput3hForm addCity(boxes);
    addCity.SetHelpViewer(viewer);
    addCity.SetTarget(atlas.dir.file("sng.wdt"), " x", chooser.CurrentConfig().SystemDir);
    addCity.Form().BitBtn3->click();
    EXPECT_EQ(opened, (QStringList{QStringLiteral("PelorinHelp.chm::100.html"),
                                   QStringLiteral("Korvantis_7.chm::110.html")}));
    EXPECT_TRUE(boxes.errors.isEmpty());
}

// Fills the add-city dialog that the chooser opened, once it is up.
void FillAddCity(TInput3hForm& d, const char* name, const char* lonDeg, const char* lonMin, bool west,
                 const char* latDeg, const char* latMin, bool south) {
    auto& g = d.Form();
    g.Edit1->setText(QString::fromUtf8(name));
    g.Edit2->setText(QString::fromUtf8(lonDeg));
    g.Edit3->setText(QString::fromUtf8(lonMin));
    (west ? g.RadioButton2 : g.RadioButton1)->setChecked(true);
    g.Edit4->setText(QString::fromUtf8(latDeg));
    g.Edit5->setText(QString::fromUtf8(latMin));
    (south ? g.RadioButton4 : g.RadioButton3)->setChecked(true);
}

TEST(AddCity, AddedCityIsInTheFileAndTheListAndCanBeChosen) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    TInput3hForm addCity(boxes, &chooser);
    chooser.SetAddCityDialog(&addCity);
    auto& f = chooser.Form();
    auto& g = addCity.Form();
    EXPECT_EQ(addCity.windowTitle(), QString::fromUtf8("   Добавить город"));
    EXPECT_EQ(g.GroupBox1->title(), QString::fromUtf8(" Долгота  "));
    EXPECT_EQ(g.Edit1->maxLength(), 30);
    EXPECT_EQ(g.Edit2->maxLength(), 3);
    EXPECT_EQ(g.Edit4->maxLength(), 2);

    PersonRecord working = WorkingWithDate("01.05.1985");
    chooser.SetWorking(&working);
    chooser.show();
    f.BitBtn5->click();
    Pick(f.ListBox1, " Россия");
    const std::string before = test::ReadFile(atlas.dir.file("sng.wdt"));

    // A one-digit degree is refused and nothing is written; the dialog stays open and
    // is then cancelled.
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(g.RadioButton1->isChecked());
        EXPECT_TRUE(g.RadioButton3->isChecked());
        EXPECT_TRUE(g.Edit1->text().isEmpty());
        FillAddCity(addCity, "Тверь", "5", "55", false, "56", "52", false);
        g.BitBtn1->click();
        EXPECT_TRUE(addCity.isVisible());
        g.BitBtn2->click();
    });
    f.BitBtn3->click();
    EXPECT_EQ(boxes.messages, QStringList{QString::fromUtf8("   Не все данные введены !  ")});
    EXPECT_EQ(test::ReadFile(atlas.dir.file("sng.wdt")), before);

    // Opened again it starts empty; this time the city is added, west and south.
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(g.Edit2->text().isEmpty());
        FillAddCity(addCity, "Тверь", "035", "55", true, "05", "52", true);
        g.BitBtn1->click();
    });
    f.BitBtn3->click();
    EXPECT_EQ(boxes.messages.size(), 1);
    EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join('\n').toStdString();

    const std::vector<std::string> lines = SplitRegionLines(test::ReadFile(atlas.dir.file("sng.wdt")));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], CountryLine("Россия"));
    EXPECT_EQ(lines[5], " " + PadRight(Cp("Тверь"), 30) + "-05 52 -035 55");

    // The city list was read again and shows the city in its alphabetical place.
    EXPECT_EQ(Texts(f.ListBox2), (QStringList{QString::fromUtf8("Абакан"),
                                              QString::fromUtf8("Александровск-Сахалинский р"),
                                              QString::fromUtf8("Москва"), QString::fromUtf8("Тверь")}));
    f.ListBox2->setCurrentItem(FindCity(f.ListBox2, "Тверь"));
    f.BitBtn1->click();
    ASSERT_TRUE(chooser.PlaceChosen());
    EXPECT_EQ(working.Place.str(), PadRight(Cp("Тверь"), 26));
    EXPECT_EQ(working.CoordText.str(), Cp(" 35°55’ЗД   5°52’ЮШ"));
    EXPECT_EQ(+working.Zone, 6);
}

TEST(AddCity, UnwritableRegionFileKeepsTheDialogOpen) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput3hForm addCity(boxes);
    addCity.SetTarget(atlas.dir.file("nowhere/sng.wdt"), PadRight(Cp(" Россия"), 30), atlas.dir.path());
    addCity.show();
    FillAddCity(addCity, "Тверь", "035", "55", false, "56", "52", false);
    addCity.Form().BitBtn1->click();
    EXPECT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(addCity.isVisible());
    EXPECT_FALSE(addCity.Added());
}

TEST(PlaceDialogs, ControlsWithoutTextHaveAccessibleNames) {
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    TInput3hForm addCity(boxes);
    for (QWidget* w : std::initializer_list<QWidget*>{chooser.Form().ListBox1, chooser.Form().ListBox2,
                                                      addCity.Form().Edit1, addCity.Form().Edit2,
                                                      addCity.Form().Edit3, addCity.Form().Edit4,
                                                      addCity.Form().Edit5})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
}

}  // namespace
}  // namespace pelorin

namespace pelorin {
namespace {
// Pictures of both dialogs for looking at them: PELORIN_GRAB_DIR=/some/dir.
TEST(PlaceDialogs, GrabWhenAsked) {
    const QByteArray out = qgetenv("PELORIN_GRAB_DIR");
    if (out.isEmpty()) GTEST_SKIP();
    Atlas atlas;
    RecordingBoxes boxes;
    TInput2h2Form chooser(atlas.config, boxes);
    chooser.show();
    chooser.Form().BitBtn5->click();
    Pick(chooser.Form().ListBox1, " Россия");
    chooser.Form().ListBox2->setCurrentRow(2);
    QApplication::processEvents();
    EXPECT_TRUE(chooser.grab().save(QString::fromUtf8(out) + "/chooser.png"));
    chooser.Form().EditFind->setText(QString::fromUtf8("мо"));
    QApplication::processEvents();
    EXPECT_TRUE(chooser.grab().save(QString::fromUtf8(out) + "/chooser_search.png"));
    TInput3hForm addCity(boxes);
    addCity.show();
    FillAddCity(addCity, "Тверь", "035", "55", false, "56", "52", false);
    QApplication::processEvents();
    EXPECT_TRUE(addCity.grab().save(QString::fromUtf8(out) + "/addcity.png"));
}
}  // namespace
}  // namespace pelorin
