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

// The person file of a table: "FEMIN.DAT" or "MEN.DAT".
const char* PersonFileName(TableKind kind);

// Chooses the person of `listLine` (the current line of the list, cp1251).
void SelectPerson(PeopleState& people, TableKind kind, const std::string& listLine, PersonListView& view);

// Stores the comment box's text as the chosen person's comment and rewrites the
// person file. `memoLines` are the box's lines (cp1251); each counts as followed by
// a line end, and every line end becomes a blank. Throws Error when the file
// cannot be written (the table in memory keeps the change).
void SaveChosenComment(PeopleState& people, TableKind kind, const std::vector<std::string>& memoLines,
                       const std::string& dataDir);

// Deletes the chosen person after asking, compacts the table, rewrites and reloads
// the person file. Throws Error on a file error.
void DeleteChosenPerson(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view);

// Whether another person may be added (fewer than 99); tells the user otherwise.
bool MayAddPerson(const PeopleState& people, TableKind kind, PersonListView& view);

// Loads the person file again and refills the list (after the entry dialog).
void ReloadPersonList(PeopleState& people, TableKind kind, const std::string& dataDir, PersonListView& view);

}  // namespace pelorin
