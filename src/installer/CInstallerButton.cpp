#include "installer/CInstallerButton.h"

#include <QEnterEvent>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kBody(22, 22, 24); // the window's body under the buttons

QFont CaptionFont() {
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

} // namespace

CInstallerButton::CInstallerButton(InstallerLayout::Control id, const QString& caption, bool gold,
                                   QWidget* parent)
    : QAbstractButton(parent), controlId_(id), gold_(gold) {
    setText(caption);
    setAccessibleName(caption);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

QPixmap CInstallerButton::DrawPicture(QSize size, const QString& caption, bool gold, Picture look,
                                      qreal devicePixelRatio) {
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(kBody);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = size.width(), h = size.height();
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    QColor top, bottom, border, text;
    switch (look) {
    case Picture::Normal:
        top = QColor(60, 60, 67);
        bottom = QColor(30, 30, 34);
        border = gold ? QColor(110, 88, 34) : QColor(78, 78, 86);
        text = gold ? QColor(236, 194, 84) : QColor(210, 210, 214);
        break;
    case Picture::Hovered:
        top = gold ? QColor(112, 84, 24) : QColor(84, 84, 92);
        bottom = gold ? QColor(52, 39, 10) : QColor(38, 38, 43);
        border = gold ? QColor(255, 204, 51) : QColor(170, 170, 178);
        text = gold ? QColor(255, 242, 190) : QColor(255, 255, 255);
        break;
    case Picture::Pressed:
        top = QColor(22, 20, 16);
        bottom = gold ? QColor(58, 44, 12) : QColor(44, 44, 48);
        border = gold ? QColor(160, 125, 34) : QColor(110, 110, 118);
        text = gold ? QColor(220, 170, 60) : QColor(180, 180, 186);
        break;
    }
    QLinearGradient fill(0, r.top(), 0, r.bottom());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    QPainterPath shape;
    shape.addRoundedRect(r, 4, 4);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawPath(shape);
    if (look != Picture::Pressed) { // a thin highlight along the top edge
        p.setPen(QPen(QColor(255, 255, 255, look == Picture::Hovered ? 70 : 40), 1));
        p.drawLine(QPointF(4, 1.5), QPointF(w - 4, 1.5));
    }
    QRectF box(0, 0, w, h);
    if (look == Picture::Pressed)
        box.translate(1, 1);
    p.setFont(CaptionFont());
    p.setPen(QColor(0, 0, 0, 200));
    p.drawText(box.translated(1, 1), Qt::AlignCenter, caption);
    p.setPen(text);
    p.drawText(box, Qt::AlignCenter, caption);
    return picture;
}

CInstallerButton::Picture CInstallerButton::CurrentPicture() const {
    if (isDown())
        return Picture::Pressed;
    if (hovered_ && isEnabled())
        return Picture::Hovered;
    return Picture::Normal;
}

void CInstallerButton::RedrawPictures() {
    const qreal ratio = devicePixelRatioF();
    for (Picture look : {Picture::Normal, Picture::Pressed, Picture::Hovered})
        pictures_[static_cast<int>(look)] = DrawPicture(size(), text(), gold_, look, ratio);
    picturesRatio_ = ratio;
}

void CInstallerButton::paintEvent(QPaintEvent*) {
    if (picturesRatio_ != devicePixelRatioF() || pictures_[0].isNull())
        RedrawPictures();
    QPainter p(this);
    p.drawPixmap(0, 0, pictures_[static_cast<int>(CurrentPicture())]);
    if (!isEnabled()) // busy: the button rests under a veil of the body colour
        p.fillRect(rect(), QColor(22, 22, 24, 130));
    if (hasFocus()) {
        QPen pen(QColor(200, 200, 206, 160), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3.5, 3.5, width() - 8, height() - 8));
    }
}

void CInstallerButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CInstallerButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CInstallerButton::resizeEvent(QResizeEvent* event) {
    pictures_[0] = QPixmap(); // drawn anew at the next paint
    QAbstractButton::resizeEvent(event);
}

void CInstallerButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}
