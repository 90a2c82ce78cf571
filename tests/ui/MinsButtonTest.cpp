#include "skin/CMinsButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QPixmap Solid(QColor colour) {
    QPixmap pixmap(20, 10);
    pixmap.fill(colour);
    return pixmap;
}

const QColor kNormal(10, 10, 10), kPressed(200, 0, 0), kHovered(0, 200, 0);

QColor Shown(CMinsButton& button) {
    return QColor(button.grab().toImage().pixel(5, 5));
}

void Send(QWidget& w, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), QPointF(w.mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void Enter(QWidget& w) {
    QEnterEvent event(QPointF(3, 3), QPointF(3, 3), QPointF(w.mapToGlobal(QPoint(3, 3))));
    QApplication::sendEvent(&w, &event);
}

void Leave(QWidget& w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&w, &event);
}

struct MinsButton : ::testing::Test {
    QWidget parent;
    CMinsButton* button = new CMinsButton(1006, QStringLiteral("재생"), &parent);
    int clicks = 0;

    void SetUp() override {
        button->SetImages(Solid(kNormal), Solid(kPressed), Solid(kHovered));
        button->SetButtonRect(Box{0, 0, 20, 10});
        button->setGeometry(0, 0, 20, 10);
        QObject::connect(button, &QAbstractButton::clicked, [this] { ++clicks; });
        parent.resize(100, 100);
        parent.show();
    }
};

TEST_F(MinsButton, PictureFollowsHoverAndPress) {
    EXPECT_EQ(Shown(*button), kNormal);
    Enter(*button);
    EXPECT_TRUE(button->IsHovered());
    EXPECT_EQ(Shown(*button), kHovered);
    Send(*button, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(button->CurrentPicture(), CMinsButton::Picture::Pressed);
    EXPECT_EQ(Shown(*button), kPressed);
    Send(*button, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(Shown(*button), kHovered);
    Leave(*button);
    EXPECT_FALSE(button->IsHovered());
    EXPECT_EQ(Shown(*button), kNormal);

    // Hidden while hovered: it comes back in the normal picture.
    Enter(*button);
    button->hide();
    button->show();
    EXPECT_EQ(Shown(*button), kNormal);
}

TEST_F(MinsButton, ClickedOnlyWhenReleasedInside) {
    Send(*button, QEvent::MouseButtonPress, QPoint(5, 5));
    Send(*button, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);

    // Pressed, dragged out and released outside: no click.
    Send(*button, QEvent::MouseButtonPress, QPoint(5, 5));
    Send(*button, QEvent::MouseMove, QPoint(50, 50));
    EXPECT_NE(button->CurrentPicture(), CMinsButton::Picture::Pressed);
    Send(*button, QEvent::MouseButtonRelease, QPoint(50, 50));
    EXPECT_EQ(clicks, 1);
}

TEST_F(MinsButton, AccessibleButNeverFocusedOrTipped) {
    EXPECT_EQ(button->accessibleName(), QStringLiteral("재생"));
    EXPECT_TRUE(button->toolTip().isEmpty());
    EXPECT_TRUE(button->text().isEmpty());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button->ControlId(), 1006);
}

TEST_F(MinsButton, MissingPictureLetsTheParentShowThrough) {
    button->SetImages(QPixmap(), Solid(kPressed), Solid(kHovered));
    parent.setStyleSheet(QStringLiteral("background: rgb(1, 2, 3)"));
    parent.setAutoFillBackground(true);
    const QImage shot = parent.grab(QRect(0, 0, 20, 10)).toImage();
    EXPECT_EQ(QColor(shot.pixel(5, 5)), QColor(1, 2, 3));
}

TEST_F(MinsButton, DrawsOnlyTheStoredRectangle) {
    // A picture larger than the button is cut, not scaled.
    QPixmap big(40, 10);
    big.fill(kHovered);
    {
        QPixmap left(20, 10);
        left.fill(kNormal);
        QPainter p(&big);
        p.drawPixmap(0, 0, left);
    }
    button->SetImages(big, big, big);
    EXPECT_EQ(Shown(*button), kNormal);
    EXPECT_EQ(QColor(button->grab().toImage().pixel(19, 5)), kNormal);
}

} // namespace
