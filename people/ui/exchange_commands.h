#pragma once
// "Экспорт…" and "Импорт…" of the person pages: the people of a list out to a
// CSV or AAF file, and people of such a file into the list after a preview.
#include <QString>
#include <functional>
#include <string>

#include "people/person_record.h"

class QWidget;

namespace pelorin {

class ImportPreviewDialog;
class MessageBoxes;

struct ExchangeHooks {
    // Asks for a file to write (`save`) or to read; an empty result cancels.
    // A name chosen to write without ".csv" or ".aaf" gets the extension of
    // the chosen file type.
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested, bool save)> chooseFile;
    // Shows the preview; true when "Добавить" was pressed.
    std::function<bool(ImportPreviewDialog& preview)> runPreview;
};

// The standard file dialogs and a modal preview.
ExchangeHooks QtExchangeHooks();

// Writes every person of the list's file to a file the user names; the format
// follows the file's extension. Errors are shown, nothing of the data directory
// is changed.
void ExportPersonList(QWidget* parent, TableKind kind, const std::string& dataDir, MessageBoxes& boxes,
                      const ExchangeHooks& hooks);

// Reads a file the user names, shows who will be added and lets them choose
// the cities a name leaves open, then stores the people as the entry dialogs
// do, into the free places of the list's file. `stored` runs once people were
// stored, before the closing message (the caller shows the list again).
void ImportPersonList(QWidget* parent, TableKind kind, const std::string& dataDir, MessageBoxes& boxes,
                     const ExchangeHooks& hooks, const std::function<void()>& stored);

}  // namespace pelorin
