#pragma once
// An image control: a picture shown over the whole control, or a drawing surface
// (a QImage the drawing code paints on). A click emits clicked(); the tool tip is
// the control's hint.
#include <QImage>
#include <QWidget>

namespace pelorin {

class ImageCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ImageCanvas(QWidget* parent = nullptr);

    // Shows a fixed picture, scaled to the control.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

    // A clickable picture takes the keyboard focus with Tab, shows it with a
    // dotted frame and emits clicked() on Enter or Space; other pictures are
    // passed over by Tab.
    void SetClickable(bool clickable);

    // Makes the drawing surface the size of the control and paints it `colour`;
    // the surface follows the control's size from then on.
    void FillSolid(const QColor& colour);
    // The drawing surface; call update() after painting on it.
    QImage& Surface();

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void FollowSize();

    QImage picture_;
    QImage surface_;
    QColor fill_;  // colour of the surface, kept when the control grows
};

}  // namespace pelorin
