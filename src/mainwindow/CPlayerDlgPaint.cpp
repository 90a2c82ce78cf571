// The main window's skin: the seven off-screen strips and their copy to the window.
#include "mainwindow/CPlayerDlg.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

void CPlayerDlg::RebuildCaptionStrip() {
    captionStrip_ =
        QPixmap::fromImage(ComposeCaptionStrip(layout_, pictures_, session_->CaptionText()));
}

void CPlayerDlg::RebuildLeftBorderStrip() {
    leftBorderStrip_ = QPixmap::fromImage(ComposeLeftBorderStrip(layout_, pictures_));
}

void CPlayerDlg::RebuildVideoStrip() {
    videoStrip_ = QPixmap::fromImage(ComposeVideoStrip(layout_, pictures_));
}

void CPlayerDlg::RebuildDividerStrip() {
    dividerStrip_ = QPixmap::fromImage(ComposeDividerStrip(layout_, pictures_));
}

void CPlayerDlg::RebuildListPanelStrip() {
    listPanelStrip_ = QPixmap::fromImage(ComposeListPanelStrip(
        layout_, pictures_, session_->IsLampLit() ? PictureId::LampLit : PictureId::LampUnlit,
        session_->StatusText()));
}

void CPlayerDlg::RebuildRightBorderStrip() {
    rightBorderStrip_ = QPixmap::fromImage(ComposeRightBorderStrip(layout_, pictures_));
}

void CPlayerDlg::RebuildBottomBarStrip() {
    bottomBarStrip_ =
        QPixmap::fromImage(ComposeBottomBarStrip(layout_, pictures_, session_->IndicatorOffset()));
}

void CPlayerDlg::RebuildAllStrips() {
    // A video picture is not painted over; the logo strip is only needed
    // when nothing plays or the broadcast has no picture.
    if (DrawsVideoStripNow())
        RebuildVideoStrip();
    RebuildCaptionStrip();
    RebuildLeftBorderStrip();
    RebuildDividerStrip();
    RebuildListPanelStrip();
    RebuildRightBorderStrip();
    RebuildBottomBarStrip();
}

bool CPlayerDlg::DrawsVideoStripNow() const {
    return DrawsVideoStrip(session_->IsPlaying(), session_->Category());
}

void CPlayerDlg::paintEvent(QPaintEvent*) {
    // Moved to a screen of another scale: the pictures and strips made for it.
    if (devicePixelRatioF() != pictures_.DevicePixelRatio()) {
        pictures_ = SkinPictureSet::LoadFrame(devicePixelRatioF());
        RebuildVideoStrip();
        RebuildAllStrips();
    }
    QPainter p(this);
    if (ShowsLogoOnly(session_->IsFullScreen(), session_->IsPlaying(), session_->Category())) {
        // A broadcast without a picture in full screen: the logo on black,
        // not the skin laid out around buttons that are hidden.
        p.fillRect(rect(), Qt::black);
        const QImage logo = pictures_.Get(PictureId::Logo);
        if (!logo.isNull())
            p.drawImage(LogoOnlyOrigin(size(), logo.size()), logo);
        NoteFirstPaint();
        return;
    }
    auto copy = [&p](const StripPlace& place, const QPixmap& strip) {
        if (!strip.isNull())
            p.drawPixmap(place.origin, strip);
    };
    copy(layout_.captionStrip, captionStrip_);
    copy(layout_.leftBorderStrip, leftBorderStrip_);
    if (DrawsVideoStripNow())
        copy(layout_.videoStrip, videoStrip_);
    copy(layout_.dividerStrip, dividerStrip_);
    copy(layout_.listPanelStrip, listPanelStrip_);
    copy(layout_.rightBorderStrip, rightBorderStrip_);
    copy(layout_.bottomBarStrip, bottomBarStrip_);

    NoteFirstPaint();
}

void CPlayerDlg::NoteFirstPaint() {
    if (!firstPaintSeen_) {
        firstPaintSeen_ = true;
        QTimer::singleShot(0, this, &CPlayerDlg::firstPainted);
    }
}
