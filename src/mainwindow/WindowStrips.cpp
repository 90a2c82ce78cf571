#include "mainwindow/WindowStrips.h"

#include "app/PlayerSession.h"
#include "mainwindow/LayoutPass.h"

#include <QPainter>

void WindowStrips::LoadPictures(double devicePixelRatio) {
    picturesRatio_ = devicePixelRatio;
    picturesRead_ = false;
}

void WindowStrips::FollowRatio(double devicePixelRatio) {
    if (devicePixelRatio == picturesRatio_)
        return;
    LoadPictures(devicePixelRatio);
    Rebuild(Strip::Video);
    RebuildAll();
}

QImage WindowStrips::Compose(Strip strip) const {
    switch (strip) {
    case Strip::Caption:
        return ComposeCaptionStrip(layout_, pictures_, session_.ShownCaption());
    case Strip::LeftBorder:
        return ComposeLeftBorderStrip(layout_, pictures_);
    case Strip::Video:
        return ComposeVideoStrip(layout_, pictures_);
    case Strip::Divider:
        return ComposeDividerStrip(layout_, pictures_);
    case Strip::ListPanel:
        return ComposeListPanelStrip(
            layout_, pictures_, session_.IsLampLit() ? PictureId::LampLit : PictureId::LampUnlit,
            session_.StatusText());
    case Strip::RightBorder:
        return ComposeRightBorderStrip(layout_, pictures_);
    case Strip::BottomBar:
        return ComposeBottomBarStrip(layout_, pictures_, session_.IndicatorOffset());
    }
    return QImage();
}

void WindowStrips::Rebuild(Strip strip) {
    stale_[static_cast<size_t>(strip)] = true;
}

void WindowStrips::RebuildAll() {
    // A video picture is not painted over; the logo strip is only needed
    // when nothing plays or the broadcast has no picture.
    if (DrawsVideo())
        Rebuild(Strip::Video);
    for (Strip strip : {Strip::Caption, Strip::LeftBorder, Strip::Divider, Strip::ListPanel,
                        Strip::RightBorder, Strip::BottomBar})
        Rebuild(strip);
}

bool WindowStrips::DrawsVideo() const {
    // The session says whether a picture shows, whichever tab is open now.
    return !session_.IsVideoShown();
}

void WindowStrips::Paint(QPainter& painter, QSize window) {
    if (!picturesRead_) {
        pictures_ = SkinPictureSet::LoadFrame(picturesRatio_);
        picturesRead_ = true;
    }
    if (ShowsLogoOnly(session_.IsFullScreen(), session_.IsPlaying(), session_.IsVideoShown())) {
        // Not the skin laid out around buttons that are hidden.
        painter.fillRect(QRect(QPoint(0, 0), window), Qt::black);
        const QImage& logo = pictures_.Get(PictureId::Logo);
        if (!logo.isNull())
            painter.drawImage(LogoOnlyOrigin(window, logo.deviceIndependentSize().toSize()), logo);
        return;
    }
    const std::array<const StripPlace*, 7> places = {
        &layout_.captionStrip,  &layout_.leftBorderStrip, &layout_.videoStrip,
        &layout_.dividerStrip,  &layout_.listPanelStrip,  &layout_.rightBorderStrip,
        &layout_.bottomBarStrip};
    for (size_t i = 0; i < places.size(); ++i) {
        if (static_cast<Strip>(i) == Strip::Video && !DrawsVideo())
            continue;
        if (stale_[i]) {
            stale_[i] = false;
            strips_[i] = QPixmap::fromImage(Compose(static_cast<Strip>(i)));
        }
        const QPixmap& strip = strips_[i];
        if (strip.isNull())
            continue;
        painter.drawPixmap(places[i]->origin, strip);
    }
}
