#include "ui/image_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QPainter>

namespace pelorin {

ImageCanvas::ImageCanvas(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void ImageCanvas::SetClickable(bool clickable) {
    setFocusPolicy(clickable ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (clickable && accessibleName().isEmpty()) setAccessibleName(toolTip().trimmed());
}

void ImageCanvas::keyPressEvent(QKeyEvent* e) {
    if (focusPolicy() != Qt::NoFocus && e->modifiers() == Qt::NoModifier &&
        (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space)) {
        Q_EMIT clicked();
        return;
    }
    QWidget::keyPressEvent(e);
}

void ImageCanvas::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void ImageCanvas::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}

void ImageCanvas::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void ImageCanvas::FillSolid(const QColor& colour) {
    surface_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    surface_.fill(colour);
    fill_ = colour;
    update();
}

QImage& ImageCanvas::Surface() {
    FollowSize();
    return surface_;
}

void ImageCanvas::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    FollowSize();
}

void ImageCanvas::FollowSize() {
    if (surface_.isNull() || surface_.size() == size() || size().isEmpty()) return;
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(fill_);
    QPainter p(&grown);
    p.drawImage(0, 0, surface_);
    p.end();
    surface_ = grown;
}

void ImageCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    FollowSize();
    if (!surface_.isNull()) p.drawImage(0, 0, surface_);
    if (!picture_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), picture_);
    }
    if (hasFocus()) {  // the keyboard is here: a dotted frame inside the picture
        p.setPen(QPen(Qt::white, 2, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void ImageCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Q_EMIT clicked();
    QWidget::mouseReleaseEvent(e);
}

}  // namespace pelorin
