#include "app/core/person_lists.h"

#include "app/core/startup.h"
#include "base/cp1251.h"
#include "base/file_io.h"

namespace pelorin {

namespace {

PersonTable& TableOf(PeopleState& p, TableKind kind) { return kind == TableKind::Women ? p.WomenTable : p.MenTable; }
int& CountOf(PeopleState& p, TableKind kind) { return kind == TableKind::Women ? p.WomenCount : p.MenCount; }
PersonRecord& ChosenOf(PeopleState& p, TableKind kind) { return kind == TableKind::Women ? p.ChosenWoman : p.ChosenMan; }
bool& FlagOf(PeopleState& p, TableKind kind) { return kind == TableKind::Women ? p.WomanChosen : p.ManChosen; }

// "Женщина: " / "Мужчина: " in Windows-1251.
std::string ChosenLead(TableKind kind) {
    return Utf8ToCp1251(kind == TableKind::Women ? "Женщина: " : "Мужчина: ");
}

void Refill(PeopleState& people, TableKind kind, PersonListView& view) {
    const std::vector<std::string> lines = SortedListLines(TableOf(people, kind));
    CountOf(people, kind) = static_cast<int>(lines.size());
    view.ShowList(kind, lines, ListCaption(kind, CountOf(people, kind)));
}

}  // namespace

std::string StampOfListLine(const std::string& listLine) {
    return listLine.size() > 71 ? listLine.substr(71, 10) : std::string();
}

std::string ListCaption(TableKind kind, int count) {
    return kind == TableKind::Women ? WomenCaption(count) : MenCaption(count);
}

const char* PersonFileName(TableKind kind) { return kind == TableKind::Women ? "FEMIN.DAT" : "MEN.DAT"; }

void SelectPerson(PeopleState& people, TableKind kind, const std::string& listLine, PersonListView& view) {
    if (CountOf(people, kind) < 1) return;
    const int slot = FindSlotByStamp(TableOf(people, kind), StampOfListLine(listLine), StampMatch::First);
    if (slot == 0) return;  // a line that names nobody (cannot come from the list itself)
    PersonRecord& chosen = ChosenOf(people, kind);
    chosen = TableOf(people, kind).slot(slot);
    view.ShowComment(kind, chosen.Comment.str());
    view.ShowChosen(kind, Cp1251ToUtf8(CutTo(ChosenLead(kind) + chosen.Name.str(), 29)));
    FlagOf(people, kind) = true;
    if (kind == TableKind::Women) view.EnableScan();
    if (people.WomanChosen && people.ManChosen) view.EnablePairAndPrint();
    view.ShowCaption(kind, ListCaption(kind, CountOf(people, kind)));
}

void SaveChosenComment(PeopleState& people, TableKind kind, const std::vector<std::string>& memoLines,
                       const std::string& dataDir) {
    std::string text;
    for (const std::string& line : memoLines) text += line + "\r\n";
    for (char& c : text)
        if (c == '\n' || c == '\f' || c == '\r') c = ' ';
    PersonRecord& chosen = ChosenOf(people, kind);
    chosen.Comment.set(text);  // at most 255 characters, not padded
    PersonTable& table = TableOf(people, kind);
    // Before any choice, or after the chosen person was deleted, no slot holds
    // the chosen stamp and the file is written again as it was.
    if (!chosen.Stamp.view().empty() && chosen.Stamp.view() != kFreeStamp) {
        if (const int slot = FindSlotByStamp(table, chosen.Stamp.view(), StampMatch::First)) table.slot(slot) = chosen;
    }
    SavePersonFile(JoinPath(dataDir, PersonFileName(kind)), table);
}

void DeleteChosenPerson(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view) {
    if (!FlagOf(people, kind)) {
        view.Message(kind == TableKind::Women ? "  Не выбрана женщина...   " : "  Не выбран мужчина...   ");
        return;
    }
    if (CountOf(people, kind) == 1) {
        view.Message("  Последнюю запись удалить нельзя   ");
        return;
    }
    PersonRecord& chosen = ChosenOf(people, kind);
    const std::string question = "   Вы действительно хотите удалить \"" +
                                 Cp1251ToUtf8(CutTo(chosen.ListLine.str(), 31)) + "\"?   ";
    if (!view.Confirm(question)) return;
    PersonTable& table = TableOf(people, kind);
    if (const int slot = FindSlotByStamp(table, chosen.Stamp.view(), StampMatch::Last)) ClearSlot(table, slot);
    CompactTable(table);
    const std::string file = JoinPath(dataDir, PersonFileName(kind));
    SavePersonFile(file, table);
    LoadPersonFile(file, table);
    Refill(people, kind, view);
    view.ShowComment(kind, "");
    view.ShowChosen(kind, kind == TableKind::Women ? "Женщина: " : "Мужчина: ");
    FlagOf(people, kind) = false;
}

bool MayAddPerson(const PeopleState& people, TableKind kind, PersonListView& view) {
    const int count = kind == TableKind::Women ? people.WomenCount : people.MenCount;
    if (count >= kUsableSlots) {
        view.Message(kind == TableKind::Women ? "   Вы не можете ввести более 99 женщин   "
                                              : "   Вы не можете ввести более 99 мужчин   ");
        return false;
    }
    return true;
}

void ReloadPersonList(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view) {
    LoadPersonFile(JoinPath(dataDir, PersonFileName(kind)), TableOf(people, kind));
    Refill(people, kind, view);
}

}  // namespace pelorin
