#pragma once
// The program's own help window for systems without the HTML Help viewer: it
// reads a compiled help file (.chm), shows a topic with its pictures and style
// sheet, follows the links inside the file and opens outside links with the
// desktop. Back, forward and the contents page are on its tool bar.
#include <memory>

#include <QMainWindow>
#include <QTextBrowser>

class QAction;

namespace pelorin {

class ChmFile;

// Pages of the help file are addressed as "chm:/<path inside the file>".
class ChmBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit ChmBrowser(QWidget* parent = nullptr);
    void SetFile(std::shared_ptr<const ChmFile> file) { file_ = std::move(file); }
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void Follow(const QUrl& url);
    std::shared_ptr<const ChmFile> file_;
};

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Opens the file at a topic ("::40.html"; the contents page when the file has
    // no such topic). False when the file cannot be read as a help file.
    bool Open(const QString& file, const QString& topic);
    ChmBrowser* Browser() const { return browser_; }
    QString File() const { return fileName_; }

    // The one help window of the program, opened at the topic and raised.
    static bool ShowTopic(const QString& file, const QString& topic);

private:
    void UpdateTitle();
    ChmBrowser* browser_;
    QAction* back_;
    QAction* forward_;
    QAction* contents_;
    std::shared_ptr<const ChmFile> file_;
    QString fileName_;
};

}  // namespace pelorin
