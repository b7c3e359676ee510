#pragma once
// Qt's own notes that are no message of the batch tool: without a session (a
// script, a service, su to another user) Qt says on every start that
// XDG_RUNTIME_DIR is not set, which a caller reading standard error would take
// for a fault. That note is dropped; every other message of Qt passes on.
#include <QtGlobal>
#include <QString>

namespace pelorin::cli {

inline QtMessageHandler& PreviousQtHandler() {
    static QtMessageHandler previous = nullptr;
    return previous;
}

inline void DropRuntimeDirNote() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    PreviousQtHandler() = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                                                    const QString& text) {
        if (text.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
        if (QtMessageHandler previous = PreviousQtHandler()) previous(type, context, text);
    });
}

}  // namespace pelorin::cli
