#pragma once
// The commands of the two person pages ("Женщины", "Мужчины"): choosing a person
// for the analysis, saving the chosen person's comment and deleting the chosen
// person. The window shows their results through `PersonListView`.
#include <string>
#include <vector>

#include "people/person_record.h"

namespace pelorin {

class PersonListView {
public:
    virtual ~PersonListView() = default;
    // Replaces the list of the page by these Windows-1251 lines (sorted), selects
    // the first one and sets the counter line (UTF-8).
    virtual void ShowList(TableKind kind, const std::vector<std::string>& lines, const std::string& caption) = 0;
    // Only the counter line (UTF-8).
    virtual void ShowCaption(TableKind kind, const std::string& caption) = 0;
    // The chosen person's comment as the only line of the comment box (cp1251);
    // an empty text empties the box.
    virtual void ShowComment(TableKind kind, const std::string& comment) = 0;
    // The chosen-person line above the pages ("Женщина: ..."), UTF-8.
    virtual void ShowChosen(TableKind kind, const std::string& text) = 0;
    // "Анализ всех"; "Анализ пары" and "  Печать".
    virtual void EnableScan() = 0;
    virtual void EnablePairAndPrint() = 0;
    // A plain message box, and a question with Yes and No (true for Yes). UTF-8.
    virtual void Message(const std::string& text) = 0;
    virtual bool Confirm(const std::string& text) = 0;
};

// The stamp of a list line: characters 72..81.
std::string StampOfListLine(const std::string& listLine);

// "Список женщин.  Всего: N человек" / "Список мужчин.  Всего: N человек".
std::string ListCaption(TableKind kind, int count);

// Chooses the person of `listLine` (the current line of the list, cp1251).
void SelectPerson(PeopleState& people, TableKind kind, const std::string& listLine, PersonListView& view);

// The commands that write people refuse with a message while the table counts
// as not loaded (`WomenLoaded`, `MenLoaded`). Each works on the person file as it
// is on disk: under the data directory's lock it reads the file again, applies its
// one change to the person found by the stamp, rewrites the file atomically, and
// the table in memory becomes the file as written. A chosen person whom another
// copy of the program deleted meanwhile is refused as if nobody were chosen, and
// the list then shows the file. They throw Error on a file error, or when another
// process keeps the directory locked; the file is then unchanged.

// Stores the comment box's text as the chosen person's comment. `memoLines` are
// the box's lines (cp1251); each counts as followed by a line end, and every line
// end becomes a blank. Before any choice it is refused. The list is shown again
// only when the file held changes of another copy of the program.
void SaveChosenComment(PeopleState& people, TableKind kind, const std::vector<std::string>& memoLines,
                       const std::string& dataDir, PersonListView& view);

// Deletes the chosen person after asking (the lock is taken only after the
// answer), compacts the table, rewrites and reloads the person file.
void DeleteChosenPerson(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view);

// Whether another person may be added (the table loaded and fewer than 99);
// tells the user otherwise.
bool MayAddPerson(const PeopleState& people, TableKind kind, PersonListView& view);

// Loads the person file again under the lock and refills the list (after the
// entry dialog). A file that no longer loads marks the table as not loaded.
void ReloadPersonList(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view);

}  // namespace pelorin
