#pragma once
// The preview of an import: every person of the file with what will happen to
// them (added, with the source of their place and what the reading converted; a
// city to choose, or the city whose zone to take; not added and why) and every
// line that was skipped. Each person's row has a box: a person
// already in the list starts unticked. Nothing is stored here: the dialog only
// collects the choices of cities and the ticks.
#include <QDialog>
#include <string>
#include <vector>

#include "people/exchange.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QTableWidget;

namespace pelorin {

class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // `fileName` as shown (UTF-8); `list`: the list's file as it stands, whose
    // free places are counted and whose people an entry of the file may repeat.
    ImportPreviewDialog(const std::vector<ImportPlan>& plans, const std::vector<ImportProblem>& problems,
                        const PersonTable& list, const std::string& fileName, QWidget* parent = nullptr);

    // For each plan, the candidate chosen for it, or -1 (no choice to make, or
    // none made: such a person is not added).
    std::vector<int> Choices() const;
    // For each plan, whether its row is ticked. A person already in the list
    // starts unticked, every other one ticked; an unticked person is not added.
    std::vector<bool> Included() const;
    // Ticks or unticks the row of the file's line, as a click on its box does.
    // False when no person of the file starts on that line.
    bool SetIncluded(int line, bool included);
    // How many people the command would store as the choices stand.
    int Ready() const;
    // The encoding the file was read in, which the summary names (UTF-8 until set).
    void SetEncoding(ExchangeEncoding encoding);

    QTableWidget* Table() const { return table_; }
    // Chooses, for the person of the file's line, the candidate (from 0) as the
    // chooser under the table does. False when that line has no such choice.
    bool ChooseCity(int line, int candidate);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Update();
    // The chooser under the table follows the current row.
    void ShowChooser(int row);

    const std::vector<ImportPlan>& plans_;
    TableKind kind_;
    std::vector<int> choices_;
    std::vector<int> rowOfPlan_;
    std::vector<bool> listed_;    // the person is in the list already
    std::vector<bool> included_;  // the row is ticked
    std::string fileName_;
    ExchangeEncoding encoding_ = ExchangeEncoding::Utf8;
    int freeSlots_;
    QLabel* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QLabel* cityLabel_ = nullptr;
    QComboBox* city_ = nullptr;
    int chooserPlan_ = -1;
};

}  // namespace pelorin
