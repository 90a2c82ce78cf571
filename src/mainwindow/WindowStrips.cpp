#include "mainwindow/WindowStrips.h"

#include "app/PlayerSession.h"
#include "mainwindow/LayoutPass.h"

#include <QPainter>

#include <functional>

void WindowStrips::LoadPictures(double devicePixelRatio) {
    picturesRatio_ = devicePixelRatio;
    picturesRead_ = false;
}

void WindowStrips::FollowRatio(double devicePixelRatio) {
    if (devicePixelRatio != picturesRatio_)
        LoadPictures(devicePixelRatio);
}

bool WindowStrips::DrawsVideo() const {
    // The session says whether a picture shows, whichever tab is open now.
    return !session_.IsVideoShown();
}

void WindowStrips::Paint(QPainter& painter, QSize window, const QRect& dirty) {
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
    const Layout& l = layout_;
    const SkinPictureSet& pictures = pictures_;
    const auto strip = [&](const StripPlace& place, const std::function<void()>& paint) {
        if (place.size.isEmpty() || !dirty.intersects(QRect(place.origin, place.size)))
            return;
        painter.save();
        painter.translate(place.origin);
        painter.setClipRect(QRect(QPoint(0, 0), place.size), Qt::IntersectClip);
        paint();
        painter.restore();
    };
    strip(l.captionStrip,
          [&] { PaintCaptionStrip(painter, l, pictures, session_.ShownCaption()); });
    strip(l.leftBorderStrip, [&] { PaintLeftBorderStrip(painter, l, pictures); });
    // A picture is not painted over: the logo shows only while none does.
    if (DrawsVideo())
        strip(l.videoStrip, [&] { PaintVideoStrip(painter, l, pictures); });
    strip(l.dividerStrip, [&] { PaintDividerStrip(painter, l, pictures); });
    strip(l.listPanelStrip, [&] {
        PaintListPanelStrip(painter, l, pictures,
                            session_.IsLampLit() ? PictureId::LampLit : PictureId::LampUnlit,
                            session_.StatusText());
    });
    strip(l.rightBorderStrip, [&] { PaintRightBorderStrip(painter, l, pictures); });
    strip(l.bottomBarStrip,
          [&] { PaintBottomBarStrip(painter, l, pictures, session_.IndicatorOffset()); });
}
