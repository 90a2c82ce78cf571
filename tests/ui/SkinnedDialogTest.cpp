#include "skin/CMinsButton.h"
#include "skin/CSkinnedDialog.h"

#include "WidgetInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// An id the skin has no picture for.
const PictureId kNoPicture = static_cast<PictureId>(-1);

TEST(SkinnedDialog, SizedToItsPictureOrTheGivenSize) {
    CSkinnedDialog dialog(kNoPicture, QSize(380, 200));
    EXPECT_EQ(dialog.size(), QSize(380, 200));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    CSkinnedDialog about(PictureId::AboutBackground, QSize(1, 1));
    if (!about.Background().isNull()) {
        EXPECT_EQ(about.size(), about.Background().size());
    }
}

TEST(SkinnedDialog, EnterAndEscDoNothing) {
    CSkinnedDialog dialog(kNoPicture, QSize(332, 200));
    auto* edit = new QLineEdit(&dialog);
    int returns = 0;
    QObject::connect(edit, &QLineEdit::returnPressed, [&returns] { ++returns; });
    dialog.show();
    Settle();
    PressKey(&dialog, Qt::Key_Escape);
    PressKey(&dialog, Qt::Key_Return);
    PressKey(edit, Qt::Key_Return);
    PressKey(edit, Qt::Key_Enter);
    PressKey(edit, Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(returns, 0);
    // Other keys still reach the controls.
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(edit, &letter);
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
    dialog.hide();
}

TEST(SkinnedDialog, EveryEndIsCancel) {
    CSkinnedDialog dialog(kNoPicture, QSize(400, 300));
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);

    CMinsButton* close = dialog.AddCloseBox(375, 5);
    EXPECT_EQ(close->ControlId(), 1004);
    EXPECT_EQ(close->geometry(), QRect(375, 5, 15, 15));
    QTimer::singleShot(0, close, [close] { close->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(SkinnedDialog, CentredOverTheOwnerAndDraggedByHand) {
    QWidget owner;
    owner.setGeometry(100, 100, 800, 400);
    owner.show();
    Settle();
    CSkinnedDialog dialog(kNoPicture, QSize(380, 200), &owner);
    dialog.show();
    Settle();
    const QPoint offCentre = dialog.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2); // halving rounds

    // Without a window manager the dialog follows the pointer itself.
    const QPoint start = dialog.pos();
    const QPoint grab(30, 30);
    const QPoint global = dialog.mapToGlobal(grab);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(grab), QPointF(global), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
    const QPoint to = global + QPoint(25, 15);
    QMouseEvent move(QEvent::MouseMove, QPointF(dialog.mapFromGlobal(to)), QPointF(to),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(dialog.mapFromGlobal(to)), QPointF(to),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &release);
    Settle();
    EXPECT_EQ(dialog.pos(), start + QPoint(25, 15));
    dialog.hide();
}

} // namespace
