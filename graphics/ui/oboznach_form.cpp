#include "graphics/ui/oboznach_form.h"

#include <QPainter>
#include <QScreen>

#include "graphics/glyph_tables.h"
#include "graphics/ui/draw_grid.h"
#include "ui/symbol_font.h"
#include "ui_oboznach_form.h"

namespace pelorin {

namespace {

const char* const kHeaders[8] = {"N", "Планета", "Символ", " Зодиак", "Символ", "  Аспекты", "Градус", "Символ"};
const int kHeaderDx[8] = {8, 20, 2, 15, 3, 2, 4, 2};
const int kColumnWidths[8] = {30, 100, 60, 100, 60, 110, 60, 60};

QString U(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void TextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 4000, 200), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

TOboznachForm::TOboznachForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TOboznachForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(684, 512);
    ui->DrawGrid5->SetSize(8, 13);
    ui->DrawGrid5->SetDefaultRowHeight(33);
    ui->DrawGrid5->SetCellPainter(&TOboznachForm::DrawGrid5DrawCell);
    FormActivate();
    connect(ui->BitBtn3, &QPushButton::clicked, this, &QDialog::accept);  // BitBtn3Click
}

TOboznachForm::~TOboznachForm() = default;

DrawGrid* TOboznachForm::Grid() const { return ui->DrawGrid5; }

void TOboznachForm::showEvent(QShowEvent* e) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    FormActivate();
    QDialog::showEvent(e);
}

void TOboznachForm::FormActivate() {
    for (int c = 0; c < 8; ++c) ui->DrawGrid5->SetColumnWidth(c, kColumnWidths[c]);
    ui->DrawGrid5->resize(ui->DrawGrid5->sizeHint());
}

QColor TOboznachForm::CellColour(int column, int row) {
    const bool header = row == 0;
    if (column <= 2) return header ? QColor(252, 228, 180) : QColor(255, 255, 225);
    if (column <= 4) return header ? QColor(181, 249, 251) : QColor(235, 254, 254);
    return header ? QColor(233, 247, 168) : QColor(245, 251, 215);
}

void TOboznachForm::DrawGrid5DrawCell(QPainter& p, int c, int r, const QRect& cell) {
    p.fillRect(cell, CellColour(c, r));
    const int left = cell.left();
    const int top = cell.top();
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(9);
    p.setFont(arial);
    p.setPen(Qt::black);
    if (r == 0) {
        if (c >= 0 && c < 8) TextAt(p, left + kHeaderDx[c], top + 6, QString::fromUtf8(kHeaders[c]));
        return;
    }
    if (c == 0 && r <= 10) TextAt(p, left + 5, top + 8, QStringLiteral(" %1").arg(r));
    if (c == 1 && r <= 10) TextAt(p, left + 5, top + 8, U(BodyNames[r]));
    if (c == 3 && r <= 12) TextAt(p, left + 5, top + 8, U(SignNames[r]));
    if (c == 5 && r <= 5) TextAt(p, left + 5, top + 8, U(AspectNames[r].name));
    if (c == 6 && r <= 5) TextAt(p, left + 15, top + 8, U(AspectNames[r].degreeText));
    p.setFont(SymbolFont(12));
    if (c == 2 && r <= 10) TextAt(p, left + 10, top + 5, SymbolText(BodyGlyphs[r]));
    if (c == 4 && r <= 12) TextAt(p, left + 10, top + 5, SymbolText(SignGlyphs[r]));
    if (c == 7 && r <= 5) {
        p.setFont(SymbolFont(14));
        const unsigned char code = AspectGlyphAt(AspectDegreeValue(AspectNames[r]));
        if (code != 0) TextAt(p, left + 10, top, SymbolText(code));
    }
}

}  // namespace pelorin
