#include "app/core/person_lists.h"

#include "app/core/startup.h"
#include <cstring>

#include "base/cp1251.h"
#include "base/dir_lock.h"
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

bool& LoadedOf(PeopleState& p, TableKind kind) { return kind == TableKind::Women ? p.WomenLoaded : p.MenLoaded; }

constexpr const char* kLastPersonMessage = "  Последнюю запись удалить нельзя   ";

std::string NotChosenMessage(TableKind kind) {
    return kind == TableKind::Women ? "  Не выбрана женщина...   " : "  Не выбран мужчина...   ";
}

// Names the file on which the loading stopped: the list's own file, or the file
// at which the start-up stopped before it came to the list.
std::string NotLoadedMessage(const PeopleState& people, TableKind kind) {
    const std::string& failedOn = people.LoadFailedOn;
    const std::string cause =
        failedOn.empty() || failedOn == PersonFileName(kind)
            ? std::string(kind == TableKind::Women ? "Список женщин не загружен из файла «FEMIN.DAT»"
                                                   : "Список мужчин не загружен из файла «MEN.DAT»") +
                  " (об ошибке было сказано при его чтении)."
            : std::string(kind == TableKind::Women ? "Список женщин не загружен" : "Список мужчин не загружен") +
                  ": запуск программы прервался на файле «" + failedOn + "» (об ошибке было сказано при запуске).";
    return cause + " Чтобы не потерять сохранённых людей, изменения "
                   "не записываются: исправьте ошибку и запустите программу снова.";
}

bool SameSlots(const PersonTable& a, const PersonTable& b) {
    return std::memcmp(a.slots.data(), b.slots.data(), sizeof a.slots) == 0;
}

void Refill(PeopleState& people, TableKind kind, PersonListView& view) {
    const std::vector<std::string> lines = SortedListLines(TableOf(people, kind));
    CountOf(people, kind) = static_cast<int>(lines.size());
    view.ShowList(kind, lines, ListCaption(kind, CountOf(people, kind)));
}

// The table in memory becomes the file as read or written, and the list shows it.
void Adopt(PeopleState& people, TableKind kind, const PersonTable& fresh, PersonListView& view) {
    TableOf(people, kind) = fresh;
    Refill(people, kind, view);
}

// Nobody of the page is chosen any more.
void Forget(PeopleState& people, TableKind kind, PersonListView& view) {
    view.ShowComment(kind, "");
    view.ShowChosen(kind, kind == TableKind::Women ? "Женщина: " : "Мужчина: ");
    FlagOf(people, kind) = false;
}

// Under the caller's lock: the chosen person's slot in `fresh`, the person file
// as it is on disk. 0 when another copy of the program deleted them: the list then
// shows the file, nobody is chosen and the user is told so.
int ChosenSlotOnDisk(PeopleState& people, TableKind kind, const PersonTable& fresh, StampMatch match,
                     PersonListView& view) {
    const int slot = FindSlotByStamp(fresh, ChosenOf(people, kind).Stamp.view(), match);
    if (slot == 0) {
        Adopt(people, kind, fresh, view);
        Forget(people, kind, view);
        view.Message(NotChosenMessage(kind));
    }
    return slot;
}

}  // namespace

std::string StampOfListLine(const std::string& listLine) {
    return listLine.size() > 71 ? listLine.substr(71, 10) : std::string();
}

std::string ListCaption(TableKind kind, int count) {
    return kind == TableKind::Women ? WomenCaption(count) : MenCaption(count);
}

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
                       const std::string& dataDir, PersonListView& view) {
    if (!LoadedOf(people, kind)) {
        view.Message(NotLoadedMessage(people, kind));
        return;
    }
    std::string text;
    for (const std::string& line : memoLines) text += line + "\r\n";
    for (char& c : text)
        if (c == '\n' || c == '\f' || c == '\r') c = ' ';
    if (!FlagOf(people, kind)) {
        view.Message(NotChosenMessage(kind));
        return;
    }
    PersonRecord& chosen = ChosenOf(people, kind);
    chosen.Comment.set(text);  // at most 255 characters, not padded

    const DirLock lock(dataDir);
    const std::string file = JoinPath(dataDir, PersonFileName(kind));
    PersonTable fresh{kind, {}};
    LoadPersonFile(file, fresh);
    const bool changedElsewhere = !SameSlots(fresh, TableOf(people, kind));
    const int slot = ChosenSlotOnDisk(people, kind, fresh, StampMatch::First, view);
    if (slot == 0) return;
    // Only the comment changes; the rest of the slot stays as the file has it.
    fresh.slot(slot).Comment = chosen.Comment;
    SavePersonFile(file, fresh);
    chosen = fresh.slot(slot);
    if (changedElsewhere) Adopt(people, kind, fresh, view);
    else TableOf(people, kind) = fresh;
}

void DeleteChosenPerson(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view) {
    if (!LoadedOf(people, kind)) {
        view.Message(NotLoadedMessage(people, kind));
        return;
    }
    if (!FlagOf(people, kind)) {
        view.Message(NotChosenMessage(kind));
        return;
    }
    if (CountOf(people, kind) == 1) {
        view.Message(kLastPersonMessage);
        return;
    }
    PersonRecord& chosen = ChosenOf(people, kind);
    const std::string question = "   Вы действительно хотите удалить \"" +
                                 Cp1251ToUtf8(CutTo(chosen.ListLine.str(), 31)) + "\"?   ";
    if (!view.Confirm(question)) return;

    // The question is answered: from here on the file as it is on disk.
    const DirLock lock(dataDir);
    const std::string file = JoinPath(dataDir, PersonFileName(kind));
    PersonTable fresh{kind, {}};
    LoadPersonFile(file, fresh);
    const int slot = ChosenSlotOnDisk(people, kind, fresh, StampMatch::Last, view);
    if (slot == 0) return;
    if (UsedSlots(fresh).size() <= 1) {
        Adopt(people, kind, fresh, view);
        view.Message(kLastPersonMessage);
        return;
    }
    ClearSlot(fresh, slot);
    CompactTable(fresh);
    SavePersonFile(file, fresh);
    LoadPersonFile(file, fresh);
    Adopt(people, kind, fresh, view);
    Forget(people, kind, view);
}

bool MayAddPerson(const PeopleState& people, TableKind kind, PersonListView& view) {
    if (!(kind == TableKind::Women ? people.WomenLoaded : people.MenLoaded)) {
        view.Message(NotLoadedMessage(people, kind));
        return false;
    }
    const int count = kind == TableKind::Women ? people.WomenCount : people.MenCount;
    if (count >= kUsableSlots) {
        view.Message(kind == TableKind::Women ? "   Вы не можете ввести более 99 женщин   "
                                              : "   Вы не можете ввести более 99 мужчин   ");
        return false;
    }
    return true;
}

void ReloadPersonList(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view) {
    const DirLock lock(dataDir);
    PersonTable fresh{kind, {}};
    try {
        LoadPersonFile(JoinPath(dataDir, PersonFileName(kind)), fresh);
    } catch (...) {
        LoadedOf(people, kind) = false;  // the list no longer shows the file
        people.LoadFailedOn = PersonFileName(kind);
        throw;
    }
    Adopt(people, kind, fresh, view);
}

}  // namespace pelorin
