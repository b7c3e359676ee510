#pragma once
// Qt's own texts (the buttons of message boxes, the print dialog, the context
// menus of text fields) in Russian, from the translations Debian ships in
// qt6-translations-l10n. Without them those texts stay English.

class QCoreApplication;
class QTranslator;

namespace pelorin {

// Installs qtbase_ru.qm from Qt's translations directory into the application
// and returns the translator (owned by `app`). Null when the file cannot be
// loaded (the package is missing): the program still runs, only Qt's own texts
// stay English.
QTranslator* InstallQtRussian(QCoreApplication& app);

}  // namespace pelorin
