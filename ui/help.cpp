#include "ui/help.h"

#include <QFile>
#include <QFileInfo>
#include <QShortcut>

#include "base/file_io.h"
#include "ui/file_names.h"
#include "ui/help_window.h"
#include "ui/message_boxes.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace pelorin {

HelpTarget HelpTargetFor(const std::string& systemDir, int topic) {
    return {JoinPath(systemDir, "PelorinHelp.chm"), "::" + std::to_string(topic) + ".html"};
}

std::string HelpFileError(const std::string& file) { return "Unable to open help file " + file; }

HelpViewer PlatformHelpViewer() {
    return [](const QString& file, const QString& topic) {
#ifdef _WIN32
        wchar_t shortPath[MAX_PATH];
        const std::wstring longPath = file.toStdWString();
        if (GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH) == 0) return false;
        const std::wstring parameter = std::wstring(shortPath) + topic.toStdWString();
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", L"hh.exe", parameter.c_str(), nullptr, SW_SHOWNORMAL));
        return result > 32;
#else
        // No HTML Help viewer here: the program's own window reads the file.
        return HelpWindow::ShowTopic(file, topic);
#endif
    };
}

bool ShowHelpTopic(const std::string& systemDir, int topic, const HelpViewer& viewer, MessageBoxes& boxes,
                   QWidget* parent) {
    const HelpTarget target = HelpTargetFor(systemDir, topic);
    const QString file = PathToQt(target.file);
    if (QFileInfo(file).isFile() && viewer && viewer(file, QString::fromStdString(target.topic))) return true;
    boxes.ShowError(parent, QStringLiteral("Unable to open help file %1").arg(file));
    return false;
}

void BindHelpKey(QWidget* window, std::function<void()> open) {
    auto* key = new QShortcut(QKeySequence::HelpContents, window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, std::move(open));
}

}  // namespace pelorin
