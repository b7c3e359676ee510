#include "ui/symbol_font.h"

#include <QFile>
#include <QFontDatabase>

#include "graphics/glyph_tables.h"

// The embedded resources live in a static library; this pulls them in.
static void InitPelorinResources() { Q_INIT_RESOURCE(pelorin); }

namespace pelorin {

QString InstallSymbolFont() {
    static const QString family = [] {
        InitPelorinResources();
        // The lists, reports and printed pages are set in "Courier" and "Arial".
        // Where a system lacks them (Wine, a Linux without fontconfig's
        // aliases) they fall back to metric twins, never to a proportional
        // face that would break the columns of the lists.
        QFont::insertSubstitutions(QStringLiteral("Courier"),
                                   {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                                    QStringLiteral("Nimbus Mono PS"), QStringLiteral("DejaVu Sans Mono")});
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
        QFile file(QStringLiteral(":/fonts/Glyphar3.ttf"));
        if (!file.open(QIODevice::ReadOnly)) return QString();
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        if (id < 0) return QString();
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}

QString SymbolText(unsigned char code) { return QString(QChar(0xF000 + code)); }

QString SymbolString(std::string_view cp1251) {
    QString s;
    s.reserve(static_cast<qsizetype>(cp1251.size()));
    for (char c : cp1251) s.append(QChar(0xF000 + static_cast<unsigned char>(c)));
    return s;
}

QFont SymbolFont(double pointSize, bool bold) {
    QFont f(QString::fromUtf8(kSymbolFontFamily));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

}  // namespace pelorin
