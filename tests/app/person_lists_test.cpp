#include "app/core/person_lists.h"

#include <gtest/gtest.h>

#include "app/core/startup.h"
#include "people/person_entry.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "support/test_support.h"

namespace pelorin {
namespace {

using test::ScratchDir;

struct FakeView : PersonListView {
    std::vector<std::string> lines, log;
    std::string caption, comment = "(untouched)", chosen;
    bool scan = false, pair = false, answer = true;
    void ShowList(TableKind, const std::vector<std::string>& l, const std::string& c) override {
        lines = l;
        caption = c;
        log.push_back("list");
    }
    void ShowCaption(TableKind, const std::string& c) override { caption = c; }
    void ShowComment(TableKind, const std::string& c) override { comment = c; }
    void ShowChosen(TableKind, const std::string& t) override { chosen = t; }
    void EnableScan() override { scan = true; }
    void EnablePairAndPrint() override { pair = true; }
    void Message(const std::string& t) override { log.push_back("message:" + t); }
    bool Confirm(const std::string& t) override {
        log.push_back("confirm:" + t);
        return answer;
    }
};

PersonRecord Person(TableKind kind, const std::string& name, int n) {
    PersonTable t{kind, {}};
    ClearSlot(t, 1);
    PersonRecord r = t.slot(1);
    r.Name.set(PadRight(Utf8ToCp1251(name), 20));
    r.Stamp.set(std::to_string(1000000000 + n));
    r.FileTag.set("");
    r.DateText.set("0" + std::to_string(n % 10) + ".01.1980");
    r.TimeText.set("12:00");
    r.Place.set(PadRight(Utf8ToCp1251("Москва"), 26));
    r.Comment.set(Utf8ToCp1251("комментарий " + std::to_string(n)));
    BuildListLine(r);
    return r;
}

struct Lists {
    ScratchDir dir;
    PeopleState people;
    FakeView view;
    explicit Lists(int women, int men = 1) {
        for (int i = 1; i <= kTableSlots; ++i) {
            ClearSlot(people.WomenTable, i);
            ClearSlot(people.MenTable, i);
        }
        for (int i = 1; i <= women; ++i) people.WomenTable.slot(i) = Person(TableKind::Women, "Ж" + std::to_string(10 + i), i);
        for (int i = 1; i <= men; ++i) people.MenTable.slot(i) = Person(TableKind::Men, "М" + std::to_string(10 + i), 50 + i);
        people.WomenCount = women;
        people.MenCount = men;
        people.WomenLoaded = people.MenLoaded = true;
        SavePersonFile(dir.file("FEMIN.DAT"), people.WomenTable);
        SavePersonFile(dir.file("MEN.DAT"), people.MenTable);
    }
    std::string LineOf(const PersonTable& t, int slot) { return t.slot(slot).ListLine.str(); }
};

TEST(PersonLists, SelectingAWomanAndAManEnablesTheCommands) {
    Lists l(3, 2);
    SelectPerson(l.people, TableKind::Men, l.LineOf(l.people.MenTable, 2), l.view);
    EXPECT_TRUE(l.people.ManChosen);
    EXPECT_FALSE(l.view.scan);  // choosing a man alone enables nothing
    EXPECT_FALSE(l.view.pair);
    EXPECT_EQ(l.view.chosen, "Мужчина: М12                 ");  // cut at 29 characters
    SelectPerson(l.people, TableKind::Women, l.LineOf(l.people.WomenTable, 3), l.view);
    EXPECT_TRUE(l.view.scan);
    EXPECT_TRUE(l.view.pair);
    EXPECT_EQ(l.people.ChosenWoman.Stamp.str(), "1000000003");
    EXPECT_EQ(Cp1251ToUtf8(l.view.comment), "комментарий 3");
    EXPECT_EQ(l.view.caption, "Список женщин.  Всего: 3 человек");
    EXPECT_TRUE(l.view.log.empty());  // the list itself keeps its highlight
}

TEST(PersonLists, SelectingInAnEmptyListDoesNothing) {
    Lists l(0);
    SelectPerson(l.people, TableKind::Women, std::string(81, ' '), l.view);
    EXPECT_FALSE(l.people.WomanChosen);
    EXPECT_EQ(l.view.comment, "(untouched)");
}

TEST(PersonLists, CommentIsOneLineWithBlanksForLineEndsAndAtMost255) {
    Lists l(2);
    SelectPerson(l.people, TableKind::Women, l.LineOf(l.people.WomenTable, 2), l.view);
    SaveChosenComment(l.people, TableKind::Women, {Utf8ToCp1251("первая"), Utf8ToCp1251("вторая")}, l.dir.path(), l.view);
    PersonTable back{TableKind::Women, {}};
    LoadPersonFile(l.dir.file("FEMIN.DAT"), back);
    EXPECT_EQ(Cp1251ToUtf8(back.slot(2).Comment.str()), "первая  вторая  ");
    EXPECT_EQ(back.slot(1).Comment.str(), l.people.WomenTable.slot(1).Comment.str());
    SaveChosenComment(l.people, TableKind::Women, {std::string(300, 'x')}, l.dir.path(), l.view);
    LoadPersonFile(l.dir.file("FEMIN.DAT"), back);
    EXPECT_EQ(back.slot(2).Comment.str(), std::string(255, 'x'));
}

TEST(PersonLists, CommentBeforeAnyChoiceIsRefusedAndWritesNothing) {
    Lists l(2);
    const std::string before = test::ReadFile(l.dir.file("FEMIN.DAT"));
    SaveChosenComment(l.people, TableKind::Women, {"текст"}, l.dir.path(), l.view);
    EXPECT_EQ(l.view.log.back(), "message:  Не выбрана женщина...   ");
    EXPECT_EQ(test::ReadFile(l.dir.file("FEMIN.DAT")), before);
}

TEST(PersonLists, DeleteAsksThenCompactsRewritesAndForgetsTheChoice) {
    Lists l(5);
    SelectPerson(l.people, TableKind::Women, l.LineOf(l.people.WomenTable, 3), l.view);
    l.view.answer = false;
    DeleteChosenPerson(l.people, TableKind::Women, l.dir.path(), l.view);
    EXPECT_EQ(l.people.WomenCount, 5);  // "No" changes nothing
    ASSERT_EQ(l.view.log.size(), 1u);
    EXPECT_EQ(l.view.log[0], "confirm:   Вы действительно хотите удалить \"Ж13                  03.01.1980\"?   ");

    l.view.answer = true;
    DeleteChosenPerson(l.people, TableKind::Women, l.dir.path(), l.view);
    PersonTable back{TableKind::Women, {}};
    LoadPersonFile(l.dir.file("FEMIN.DAT"), back);
    EXPECT_EQ(UsedSlots(back), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(back.slot(3).Stamp.str(), "1000000004");
    EXPECT_EQ(back.slot(5).FileTag.str(), "FEM");
    EXPECT_EQ(l.people.WomenCount, 4);
    EXPECT_EQ(l.view.lines.size(), 4u);
    EXPECT_EQ(l.view.caption, "Список женщин.  Всего: 4 человек");
    EXPECT_FALSE(l.people.WomanChosen);
    EXPECT_EQ(l.view.chosen, "Женщина: ");
    EXPECT_EQ(l.view.comment, "");

    // Nobody chosen now: refused with the message.
    DeleteChosenPerson(l.people, TableKind::Women, l.dir.path(), l.view);
    EXPECT_EQ(l.view.log.back(), "message:  Не выбрана женщина...   ");
}

TEST(PersonLists, TheLastPersonCannotBeDeleted) {
    Lists l(1, 1);
    SelectPerson(l.people, TableKind::Men, l.LineOf(l.people.MenTable, 1), l.view);
    DeleteChosenPerson(l.people, TableKind::Men, l.dir.path(), l.view);
    EXPECT_EQ(l.view.log.back(), "message:  Последнюю запись удалить нельзя   ");
    EXPECT_EQ(UsedSlots(l.people.MenTable).size(), 1u);
    EXPECT_TRUE(l.people.ManChosen);
}

TEST(PersonLists, AddIsRefusedAt99) {
    Lists l(98);
    EXPECT_TRUE(MayAddPerson(l.people, TableKind::Women, l.view));
    l.people.WomenCount = 99;
    EXPECT_FALSE(MayAddPerson(l.people, TableKind::Women, l.view));
    EXPECT_EQ(l.view.log.back(), "message:   Вы не можете ввести более 99 женщин   ");
    l.people.MenCount = 99;
    EXPECT_FALSE(MayAddPerson(l.people, TableKind::Men, l.view));
    EXPECT_EQ(l.view.log.back(), "message:   Вы не можете ввести более 99 мужчин   ");
}

TEST(PersonLists, ReloadAfterTheEntryDialogKeepsTheChoice) {
    Lists l(2);
    SelectPerson(l.people, TableKind::Women, l.LineOf(l.people.WomenTable, 2), l.view);
    PersonTable onDisk = l.people.WomenTable;
    onDisk.slot(3) = Person(TableKind::Women, "Ж99", 9);
    SavePersonFile(l.dir.file("FEMIN.DAT"), onDisk);
    ReloadPersonList(l.people, TableKind::Women, l.dir.path(), l.view);
    EXPECT_EQ(l.people.WomenCount, 3);
    EXPECT_EQ(l.view.lines.size(), 3u);
    EXPECT_TRUE(l.people.WomanChosen);
    EXPECT_EQ(l.people.ChosenWoman.Stamp.str(), "1000000002");
}

struct SilentStartupView : StartupView {
    void ShowWomenList(const std::vector<std::string>&, const std::string&) override {}
    void ShowMenList(const std::vector<std::string>&, const std::string&) override {}
    void SetDefaultCursor() override {}
    void DisableAnalysisCommands() override {}
    void PrepareDrawingSurfaces() override {}
};

// A start-up on a short women's file leaves both tables unloaded: every command
// that writes people refuses, and both files keep every byte.
TEST(PersonLists, AfterAFailedStartUpNoCommandWritesPeople) {
    Lists l(3, 2);
    const std::string women = test::ReadFile(l.dir.file("FEMIN.DAT")).substr(0, 30000);
    test::WriteFile(l.dir.file("FEMIN.DAT"), women);
    const std::string men = test::ReadFile(l.dir.file("MEN.DAT"));
    test::WriteFile(l.dir.file("main.dat"), l.dir.path() + "\r\n" + l.dir.path() + "\r\n");
    AppState app;
    SilentStartupView startupView;
    ASSERT_FALSE(RunStartup(l.dir.file("main.dat"), app, startupView, {}).ok);
    app.people.WomanChosen = app.people.ManChosen = true;  // not what refuses
    for (TableKind kind : {TableKind::Women, TableKind::Men}) {
        EXPECT_FALSE(MayAddPerson(app.people, kind, l.view));
        SaveChosenComment(app.people, kind, {"x"}, l.dir.path(), l.view);
        DeleteChosenPerson(app.people, kind, l.dir.path(), l.view);
    }
    ASSERT_EQ(l.view.log.size(), 6u);
    for (const std::string& m : l.view.log) EXPECT_NE(m.find("не загружен"), std::string::npos) << m;
    EXPECT_TRUE(test::ReadFile(l.dir.file("FEMIN.DAT")) == women);
    EXPECT_TRUE(test::ReadFile(l.dir.file("MEN.DAT")) == men);
    // The men's page names the file the start-up stopped on, not MEN.DAT, which
    // was never read; the women's page names its own file.
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(l.view.log[i].find("из файла «FEMIN.DAT»"), std::string::npos) << l.view.log[i];
        EXPECT_NE(l.view.log[3 + i].find("прервался на файле «FEMIN.DAT»"), std::string::npos) << l.view.log[3 + i];
        EXPECT_EQ(l.view.log[3 + i].find("MEN.DAT"), std::string::npos) << l.view.log[3 + i];
    }
}

// Two windows on one data directory: each change is applied to the file as it is.
TEST(PersonLists, TwoWindowsKeepEachOthersChanges) {
    Lists one(3, 1);
    PeopleState two = one.people;
    FakeView twoView;
    const std::string dir = one.dir.path();
    ManEntry man;
    man.place = "Omsk";
    man.name = "First";
    ASSERT_EQ(StoreMan(man, one.people.MenTable, dir, 1000).outcome, EntryOutcome::Stored);
    man.name = "Second";
    ASSERT_EQ(StoreMan(man, two.MenTable, dir, 1000).outcome, EntryOutcome::Stored);
    ReloadPersonList(one.people, TableKind::Men, dir, one.view);
    EXPECT_EQ(one.people.MenCount, 3);  // the first man stays
    EXPECT_NE(one.people.MenTable.slot(2).Stamp.str(), one.people.MenTable.slot(3).Stamp.str());

    // The second window deletes the woman whom the first has chosen: the first
    // window's delete, then its comment, are refused and change nothing.
    for (int slot : {2, 1}) {
        SelectPerson(one.people, TableKind::Women, one.LineOf(one.people.WomenTable, slot), one.view);
        SelectPerson(two, TableKind::Women, one.LineOf(two.WomenTable, slot), twoView);
        DeleteChosenPerson(two, TableKind::Women, dir, twoView);
        const std::string before = test::ReadFile(one.dir.file("FEMIN.DAT"));
        if (slot == 2) DeleteChosenPerson(one.people, TableKind::Women, dir, one.view);
        else SaveChosenComment(one.people, TableKind::Women, {"x"}, dir, one.view);
        EXPECT_EQ(one.view.log.back(), "message:  Не выбрана женщина...   ");
        EXPECT_TRUE(test::ReadFile(one.dir.file("FEMIN.DAT")) == before);
        EXPECT_EQ(one.view.lines.size(), static_cast<std::size_t>(slot));  // the list as the file holds it
        EXPECT_FALSE(one.people.WomanChosen);
    }
}

}  // namespace
}  // namespace pelorin
