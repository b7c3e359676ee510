#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pelorin {

namespace {

// qtbase_ru leaves the button "OK" in Latin letters; a Russian program writes "ОК".
class RussianOk : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        // "OK" from the plain theme, "&OK" from the GNOME and GTK themes.
        if (qstrcmp(context, "QPlatformTheme") != 0 && qstrcmp(context, "QGnomeTheme") != 0) return {};
        if (qstrcmp(sourceText, "OK") == 0) return QString::fromUtf8("ОК");
        if (qstrcmp(sourceText, "&OK") == 0) return QString::fromUtf8("&ОК");
        return {};
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

QTranslator* InstallQtRussian(QCoreApplication& app) {
    // Owned by the application, so that it lives as long as the texts it serves.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    // Asked before qtbase_ru (the last one installed is asked first); a child of
    // the main translator, so that deleting that one removes both.
    QCoreApplication::installTranslator(new RussianOk(translator));
    return translator;
}

}  // namespace pelorin
