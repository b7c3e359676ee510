#include "ui/help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QPointer>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "base/chm_file.h"
#include "ui/file_names.h"

namespace pelorin {

namespace {

constexpr auto kScheme = "chm";

QUrl PageUrl(const std::string& objectPath) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setPath(QString::fromStdString(objectPath));
    return url;
}

std::string ObjectPathOf(const QUrl& url) {
    return ChmObjectPath(url.path(QUrl::FullyDecoded).toStdString());
}

// Pages name their encoding in a meta tag; UTF-8 when they do not.
QString DecodeHtml(const QByteArray& bytes) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

}  // namespace

ChmBrowser::ChmBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::Follow);
}

void ChmBrowser::Follow(const QUrl& link) {
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    if (url.scheme() == QLatin1String(kScheme)) {
        if (url.path() == source().path() && url.hasFragment()) {
            scrollToAnchor(url.fragment());
            return;
        }
        setSource(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != QLatin1String(kScheme) || !file_) return {};
    const std::optional<std::string> bytes = file_->Read(ObjectPathOf(url));
    if (!bytes) return {};
    const QByteArray data = QByteArray::fromStdString(*bytes);
    switch (type) {
        case QTextDocument::HtmlResource: return DecodeHtml(data);
        case QTextDocument::StyleSheetResource: return QString::fromUtf8(data);
        default: return data;
    }
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), browser_(new ChmBrowser(this)) {
    setWindowTitle(QStringLiteral("Справка"));
    setCentralWidget(browser_);
    QToolBar* bar = addToolBar(QStringLiteral("Переходы"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"));
    forward_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперёд"));
    contents_ = bar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Содержание"));
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contents_, &QAction::triggered, this, [this] { browser_->setSource(PageUrl("/index.html")); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::UpdateTitle);
    connect(browser_, &QTextBrowser::highlighted, this, [this](const QUrl& url) {
        statusBar()->showMessage(url.scheme() == QLatin1String(kScheme) ? QString() : url.toString());
    });
    resize(880, 700);  // the pictures of the pages are about 810 pixels wide
}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::Open(const QString& file, const QString& topic) {
    std::shared_ptr<const ChmFile> chm = ChmFile::Open(PathFromQt(file));
    if (!chm) return false;
    std::string page = ChmObjectPath(topic.toStdString());
    if (page.empty() || !chm->Contains(page)) page = "/index.html";
    if (!chm->Contains(page)) return false;
    if (fileName_ != file) {
        browser_->clearHistory();
        browser_->setSource(QUrl());
    }
    file_ = chm;
    fileName_ = file;
    browser_->SetFile(chm);
    contents_->setEnabled(chm->Contains("/index.html"));
    QUrl url = PageUrl(page);
    if (const auto hash = topic.indexOf(QLatin1Char('#')); hash >= 0) url.setFragment(topic.mid(hash + 1));
    browser_->setSource(url);
    UpdateTitle();
    return true;
}

void HelpWindow::UpdateTitle() {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Справка") : QStringLiteral("Справка — ") + title);
}

bool HelpWindow::ShowTopic(const QString& file, const QString& topic) {
    static QPointer<HelpWindow> window;
    if (!window) {
        window = new HelpWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
        // The help is no main window of the program: closing the main window
        // ends the program even while the help is open.
        window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    if (!window->Open(file, topic)) {
        if (window->File().isEmpty()) window->deleteLater();
        return false;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

}  // namespace pelorin
