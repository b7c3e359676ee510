#include "ui/image_canvas.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QPainter>

namespace pelorin {

ImageCanvas::ImageCanvas(QWidget* parent) : QWidget(parent) {}

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
}

void ImageCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Q_EMIT clicked();
    QWidget::mouseReleaseEvent(e);
}

}  // namespace pelorin
