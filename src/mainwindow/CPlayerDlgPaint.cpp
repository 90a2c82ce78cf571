// The main window's skin: its strips (WindowStrips) painted where the window is repainted.
#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/WindowStrips.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

void CPlayerDlg::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another scale: the pictures made for it.
    strips_->FollowRatio(devicePixelRatioF());
    QPainter p(this);
    strips_->Paint(p, size(), event->rect());
    if (!firstPaintSeen_) {
        firstPaintSeen_ = true;
        QTimer::singleShot(0, this, &CPlayerDlg::firstPainted);
    }
}
