#include "graphics/ui/bi_wheel_painter.h"

#include <QFontMetrics>

#include "graphics/ui/draw_screen.h"
#include "ui/symbol_font.h"

namespace pelorin {
namespace {

QColor ToQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

// The box of the original canvas (right and bottom exclusive) as a Qt rectangle.
QRect ToQRect(const PixelBox& b) { return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

QFont FontOf(const WheelText& t) {
    if (t.font == WheelFont::Symbol) return SymbolFont(t.size);
    QFont f(QStringLiteral("System"));
    f.setPointSize(t.size);
    return f;
}

QString TextOf(const WheelText& t) {
    return t.font == WheelFont::Symbol ? SymbolString(t.text) : QString::fromUtf8(t.text.data(), static_cast<qsizetype>(t.text.size()));
}

struct Painter {
    QPainter& canvas;

    void operator()(const WheelFillRect& op) const { canvas.fillRect(ToQRect(op.box), ToQColor(op.colour)); }

    void operator()(const WheelRect& op) const {
        canvas.setPen(QPen(Qt::black, 1));
        canvas.setBrush(Qt::white);
        // The outline of the original rectangle stays inside its box.
        canvas.drawRect(ToQRect(op.box).adjusted(0, 0, -1, -1));
    }

    void operator()(const WheelEllipse& op) const {
        canvas.setPen(QPen(ToQColor(op.pen), op.penWidth));
        canvas.setBrush(ToQColor(op.fill));
        canvas.drawEllipse(ToQRect(op.box));
    }

    void operator()(const WheelLine& op) const {
        canvas.setPen(QPen(ToQColor(op.colour), op.width, Qt::SolidLine));
        canvas.drawLine(op.from.x, op.from.y, op.to.x, op.to.y);
    }

    void operator()(const WheelText& op) const {
        const QFont font = FontOf(op);
        const QString text = TextOf(op);
        if (op.centred) {
            DrawTextCentred(op.at.x, op.at.y, text, 1, canvas, font, ToQColor(op.colour));
            return;
        }
        const QFontMetrics fm(font);
        const QRect box(op.at.x, op.at.y, fm.horizontalAdvance(text), fm.height());
        canvas.fillRect(box, Qt::white);
        canvas.setFont(font);
        canvas.setPen(ToQColor(op.colour));
        canvas.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
};

}  // namespace

void PaintWheelOps(QPainter& canvas, const std::vector<WheelOp>& ops) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    const Painter painter{canvas};
    for (const WheelOp& op : ops) std::visit(painter, op);
    canvas.restore();
}

void DrawBiWheel(QPainter& canvas, int W, int H, const TChart& woman, const TChart& man, const TCusps& womanCusps,
                 const AspectGrid& aspects, bool draw, const AspectGrid* grid, const TCusps* manCusps) {
    BiWheelInput in;
    in.width = W;
    in.height = H;
    in.woman = &woman;
    in.man = &man;
    in.womanCusps = &womanCusps;
    in.aspects = &aspects;
    in.grid = grid;
    in.manCusps = manCusps;
    in.draw = draw;
    PaintWheelOps(canvas, PlanBiWheel(in));
}

}  // namespace pelorin
