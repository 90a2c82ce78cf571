// The main window's skin: its strips (WindowStrips) copied to the window.
#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/WindowStrips.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

void CPlayerDlg::paintEvent(QPaintEvent*) {
    // Moved to a screen of another scale: the pictures and strips made for it.
    strips_->FollowRatio(devicePixelRatioF());
    QPainter p(this);
    strips_->Paint(p, size());
    if (!firstPaintSeen_) {
        firstPaintSeen_ = true;
        QTimer::singleShot(0, this, &CPlayerDlg::firstPainted);
    }
}
