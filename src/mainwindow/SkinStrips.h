#pragma once

#include "app/ChannelTabs.h"
#include "mainwindow/LayoutPass.h"
#include "skin/SkinInventory.h"

#include <QImage>
#include <QString>

#include <map>

// The skin pictures by id. A picture that is missing is a null image: its
// piece is simply not painted. The set also says for which device pixel
// ratio the strips are composed: they are built at device pixels, and from
// a ratio of 1.5 on the pictures are the twice-as-sharp ones.
class SkinPictureSet {
public:
    explicit SkinPictureSet(double devicePixelRatio = 1.0) : ratio_(devicePixelRatio) {}

    void Set(PictureId id, const QImage& image) { images_[id] = image; }
    const QImage& Get(PictureId id) const;
    double DevicePixelRatio() const { return ratio_; }

    // The frame pictures compiled into the program, for a screen with the
    // given device pixel ratio.
    static SkinPictureSet LoadFrame(double devicePixelRatio = 1.0);

private:
    std::map<PictureId, QImage> images_;
    double ratio_;
};

// Each strip is composed once into an image of the size the layout gives it
// and copied to the window as it is. The text parts are drawn only when a
// text is given (they need a GUI application for fonts).
QImage ComposeCaptionStrip(const Layout& layout, const SkinPictureSet& pictures,
                           const QString& captionText = QString());
QImage ComposeLeftBorderStrip(const Layout& layout, const SkinPictureSet& pictures);
QImage ComposeVideoStrip(const Layout& layout, const SkinPictureSet& pictures);
QImage ComposeDividerStrip(const Layout& layout, const SkinPictureSet& pictures);
QImage ComposeListPanelStrip(const Layout& layout, const SkinPictureSet& pictures, PictureId lamp,
                             const QString& statusText = QString());
QImage ComposeRightBorderStrip(const Layout& layout, const SkinPictureSet& pictures);
// indicatorOffset: the column of the level bar picture where the window onto
// it starts (0 shows it full, half its width empty).
QImage ComposeBottomBarStrip(const Layout& layout, const SkinPictureSet& pictures,
                             int indicatorOffset);

// Full screen while a channel without a picture plays (radio, music): the
// window shows only the logo, centred on black (its buttons and list are
// hidden).
bool ShowsLogoOnly(bool fullScreen, bool playing, bool pictureShown);
QPoint LogoOnlyOrigin(QSize window, QSize logo);
