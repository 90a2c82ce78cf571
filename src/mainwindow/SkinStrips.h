#pragma once

#include "app/ChannelTabs.h"
#include "mainwindow/LayoutPass.h"
#include "skin/SkinInventory.h"

#include <QImage>
#include <QString>

class QPainter;

#include <map>

// The skin pictures by id. A picture that is missing is a null image: its
// piece is simply not painted. The set also says for which device pixel
// ratio the pictures were read: from a ratio of 1.5 on they are the
// twice-as-sharp ones.
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

// Each strip paints itself with the painter's origin at its top-left
// corner, black where no picture covers it. The text parts are drawn only
// when a text is given (they need a GUI application for fonts).
void PaintCaptionStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures,
                       const QString& captionText = QString());
void PaintLeftBorderStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures);
void PaintVideoStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures);
void PaintDividerStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures);
void PaintListPanelStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures,
                         PictureId lamp, const QString& statusText = QString());
void PaintRightBorderStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures);
// indicatorOffset: the column of the level bar picture where the window onto
// it starts (0 shows it full, half its width empty).
void PaintBottomBarStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures,
                         int indicatorOffset);

// Full screen while a channel without a picture plays (radio, music): the
// window shows only the logo, centred on black (its buttons and list are
// hidden).
bool ShowsLogoOnly(bool fullScreen, bool playing, bool pictureShown);
QPoint LogoOnlyOrigin(QSize window, QSize logo);
