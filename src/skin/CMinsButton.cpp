#include "skin/CMinsButton.h"

#include <QPainter>

CMinsButton::CMinsButton(int controlId, const QString& accessibleRole, QWidget* parent)
    : QAbstractButton(parent), controlId_(controlId) {
    setAccessibleName(accessibleRole);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    setObjectName(QStringLiteral("button%1").arg(controlId));
}

void CMinsButton::SetImages(PictureId normalId, PictureId pressedId, PictureId hoveredId) {
    ids_ = PictureIds{normalId, pressedId, hoveredId};
    LoadPictures(devicePixelRatioF());
}

void CMinsButton::SetImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hovered) {
    ids_.reset();
    normalRead_ = pressedRead_ = hoveredRead_ = true;
    // Assigning drops the old pictures; nothing accumulates when a tab
    // switches its pictures back and forth.
    normal_ = normal;
    pressed_ = pressed;
    hovered_picture_ = hovered;
}

void CMinsButton::LoadPictures(double devicePixelRatio) {
    picturesRatio_ = devicePixelRatio;
    // Dropped now, read again when next shown (PictureOf).
    normal_ = pressed_ = hovered_picture_ = QPixmap();
    normalRead_ = pressedRead_ = hoveredRead_ = false;
}

const QPixmap& CMinsButton::PictureOf(Picture which) const {
    QPixmap* picture = &normal_;
    bool* read = &normalRead_;
    PictureId id = ids_ ? ids_->normal : PictureId();
    if (which == Picture::Pressed) {
        picture = &pressed_;
        read = &pressedRead_;
        id = ids_ ? ids_->pressed : id;
    } else if (which == Picture::Hovered) {
        picture = &hovered_picture_;
        read = &hoveredRead_;
        id = ids_ ? ids_->hovered : id;
    }
    if (!*read && ids_) {
        *picture = LoadSkinPixmap(id, picturesRatio_);
        *read = true;
    }
    return *picture;
}

void CMinsButton::SetButtonRect(const Box& box) {
    rect_ = box;
}

CMinsButton::Picture CMinsButton::CurrentPicture() const {
    if (isDown())
        return Picture::Pressed;
    if (hovered_)
        return Picture::Hovered;
    return Picture::Normal;
}

QSize CMinsButton::sizeHint() const {
    if (!rect_.IsEmpty())
        return QSize(rect_.Width(), rect_.Height());
    const QPixmap& normal = PictureOf(Picture::Normal);
    return normal.isNull() ? QSize(15, 15) : normal.size() / normal.devicePixelRatio();
}

void CMinsButton::paintEvent(QPaintEvent*) {
    // Moved to a screen of another scale: the pictures drawn for it.
    if (ids_ && UsesSharpPictures(devicePixelRatioF()) != UsesSharpPictures(picturesRatio_))
        LoadPictures(devicePixelRatioF());
    const QPixmap* picture = &PictureOf(CurrentPicture());
    // A picture that did not load draws nothing: the window's skin shows through.
    if (picture->isNull())
        return;
    const int w = rect_.IsEmpty() ? width() : rect_.Width();
    const int h = rect_.IsEmpty() ? height() : rect_.Height();
    // Copied 1:1 from the picture's top-left corner, never stretched. The
    // part is counted in logical pixels; the copy reads the picture's own.
    const double ratio = picture->devicePixelRatio();
    const QRect logical(QPoint(0, 0), (QSizeF(picture->size()) / ratio).toSize());
    const QRect part = QRect(0, 0, w, h).intersected(logical);
    QPainter p(this);
    p.drawPixmap(QRectF(part), *picture,
                 QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
}

void CMinsButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CMinsButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CMinsButton::hideEvent(QHideEvent* event) {
    // A button hidden under the pointer gets no leave; it must not come back hovered.
    hovered_ = false;
    QAbstractButton::hideEvent(event);
}
