#include "app/image_canvas.h"

#include <QMouseEvent>
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
    update();
}

void ImageCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
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
