#include "skin/CSkinnedDialog.h"

#include "app/ControlIds.h"
#include "skin/CMinsButton.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>

CSkinnedDialog::CSkinnedDialog(PictureId backgroundId, QSize fallbackSize, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), backgroundId_(backgroundId),
      background_(LoadSkinPixmap(backgroundId, devicePixelRatioF())) {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("굴림"), QStringLiteral("Gulim"),
                                 QStringLiteral("NanumGothic")});
    font.setPointSize(9);
    setFont(font);
    setModal(true);
    setFixedSize(background_.isNull() ? fallbackSize
                                      : background_.size() / background_.devicePixelRatio());
}

void CSkinnedDialog::PlaceButton(CMinsButton* button, int left, int top, int width, int height) {
    button->SetButtonRect(Box{left, top, left + width, top + height});
    button->setGeometry(left, top, width, height);
}

CMinsButton* CSkinnedDialog::AddCloseBox(int left, int top) {
    auto* close = new CMinsButton(ControlNumber(ControlId::Close), QStringLiteral("닫기"), this);
    close->SetImages(PictureId::DialogClose, PictureId::DialogCloseHover,
                     PictureId::DialogCloseHover);
    PlaceButton(close, left, top, 15, 15);
    connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
    return close;
}

void CSkinnedDialog::done(int) {
    QDialog::done(QDialog::Rejected);
}

void CSkinnedDialog::paintEvent(QPaintEvent*) {
    // Moved to a screen of another scale: the picture drawn for it.
    if (UsesSharpPictures(devicePixelRatioF()) != UsesSharpPictures(background_.devicePixelRatio()))
        background_ = LoadSkinPixmap(backgroundId_, devicePixelRatioF());
    if (background_.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(QPoint(0, 0), background_);
}

void CSkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // The move starts once the pointer has travelled with the button held;
    // a window manager that runs it takes the pointer from then on.
    pendingMove_.Press(event->globalPosition().toPoint());
    event->accept();
}

void CSkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (pendingMove_.Moved(global, event->buttons() & Qt::LeftButton,
                           QGuiApplication::styleHints()->startDragDistance())) {
        // Let the window system run the move where it can; without a window
        // manager it cannot, and the dialog follows the pointer by hand.
        QWindow* window = windowHandle();
        // The window system starts the move from where the program believes
        // its window is. Under a window manager that reparents a dialog at
        // the origin and places it a moment later, that belief can stay at
        // the origin, and the dialog would jump away from the pointer: the
        // pointer event itself says where the window really is.
        if (window) {
            const QPoint origin = global - event->position().toPoint();
            if (window->position() != origin)
                window->setPosition(origin);
        }
        if (!window || !window->startSystemMove()) {
            movingByHand_ = true;
            grabOffset_ = pendingMove_.Origin() - frameGeometry().topLeft();
        }
    }
    if (movingByHand_ && (event->buttons() & Qt::LeftButton)) {
        move(global - grabOffset_);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CSkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pendingMove_.Cancel();
        movingByHand_ = false;
    }
    QDialog::mouseReleaseEvent(event);
}

void CSkinnedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOverOwner();
    // Enter and Esc are swallowed before any control of the dialog sees
    // them, the way a key is taken before the dialog's own processing.
    if (!filtering_) {
        qApp->installEventFilter(this);
        filtering_ = true;
    }
}

void CSkinnedDialog::hideEvent(QHideEvent* event) {
    if (filtering_) {
        qApp->removeEventFilter(this);
        filtering_ = false;
    }
    QDialog::hideEvent(event);
}

bool CSkinnedDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == this || isAncestorOf(widget))) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                event->accept();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSkinnedDialog::CentreOverOwner() {
    QRect over;
    if (QWidget* owner = parentWidget(); owner && owner->isVisible())
        over = owner->frameGeometry();
    else if (const QScreen* screen = this->screen())
        over = screen->availableGeometry();
    if (over.isEmpty())
        return;
    move(over.center() - QPoint(width() / 2, height() / 2));
}
