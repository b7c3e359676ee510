#pragma once
// "  Печать" in the window: the print dialog first, then the page in front sent
// to the printer chosen, with the hourglass while it prints.
#include <QString>

#include "app/core/commands.h"
#include "app/core/startup.h"

class QTextEdit;
class QWidget;

namespace pelorin {

struct PrintViews {
    QTextEdit* pairReport = nullptr;  // RichEdit1
    QTextEdit* manReport = nullptr;   // RichEdit2
    bool davison = false;             // "Композит": the Davison chart chosen rather than the composite
};

// Prints what `action` names. Nothing for PrintAction::Nothing or when the user
// cancels the dialog. An empty string on success or cancel, else the reason
// (for the Davison chart of a pair that has none, why, before any dialog).
QString RunPrintAction(QWidget* parent, PrintAction action, const AppState& state, const PrintViews& views);

}  // namespace pelorin
