#pragma once
// Opening a topic of the help file "PelorinHelp.chm" of the system directory.
#include <functional>
#include <string>

#include <QString>

class QWidget;

namespace pelorin {

class MessageBoxes;

struct HelpTarget {
    std::string file;   // SystemDir + "PelorinHelp.chm"
    std::string topic;  // "::" + n + ".html"
};
HelpTarget HelpTargetFor(const std::string& systemDir, int topic);

// The message of a help file that cannot be opened.
std::string HelpFileError(const std::string& file);

// Shows the help file at a topic; returns false when it could not.
using HelpViewer = std::function<bool(const QString& file, const QString& topic)>;

// The viewer of this platform: on Windows hh.exe with the short path and the
// topic; elsewhere the program's help window (ui/help_window.h).
HelpViewer PlatformHelpViewer();

// Opens topic n, or shows "Unable to open help file %s" with the path when the
// file does not exist or the viewer fails. Returns true when the topic was opened.
bool ShowHelpTopic(const std::string& systemDir, int topic, const HelpViewer& viewer, MessageBoxes& boxes,
                   QWidget* parent);

// F1 in `window` (a dialog or the main window) runs `open`, which shows the
// window's own topic.
void BindHelpKey(QWidget* window, std::function<void()> open);

}  // namespace pelorin
