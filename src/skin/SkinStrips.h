#pragma once

#include "mainwindow/LayoutPass.h"

#include <QImage>
#include <QString>

#include <map>

// Picture ids of the main window's frame.
namespace SkinPiece {
constexpr int CaptionLeft = 131;  // 113 x 29
constexpr int CaptionTile = 132;  // 1 x 29
constexpr int CaptionRight = 133; // 85 x 29
constexpr int LeftTile = 134;     // 7 x 1
constexpr int Logo = 135;         // 174 x 58
constexpr int DividerTile = 136;  // 10 x 1
constexpr int PanelTop = 137;     // 424 x 89
constexpr int PanelTile = 138;    // 424 x 1
constexpr int PanelBottom = 139;  // 424 x 14
constexpr int RightTile = 140;    // 7 x 1
constexpr int BottomLeft = 141;   // 140 x 34
constexpr int BottomTile = 142;   // 1 x 34
constexpr int BottomRight = 143;  // 12 x 34
constexpr int LampLit = 178;      // 61 x 15
constexpr int LampUnlit = 179;    // 61 x 15
constexpr int VolumeBar = 232;    // 100 x 5
} // namespace SkinPiece

// The skin pictures by id. A picture that is missing is a null image: its
// piece is simply not painted.
class SkinPictureSet {
public:
    void Set(int id, const QImage& image) { images_[id] = image; }
    const QImage& Get(int id) const;

    // The frame pictures compiled into the program (":/skin/<id>.png").
    static SkinPictureSet LoadFrame();

private:
    std::map<int, QImage> images_;
};

// The resource path of a skin picture.
QString SkinPicturePath(int id);

// Each strip is composed once into an image of the size the layout gives it
// and copied to the window as it is. The text parts are drawn only when a
// text is given (they need a GUI application for fonts).
QImage ComposeCaptionStrip(const Layout& layout, const SkinPictureSet& pictures,
                           const QString& captionText = QString());
QImage ComposeLeftBorderStrip(const Layout& layout, const SkinPictureSet& pictures);
QImage ComposeVideoStrip(const Layout& layout, const SkinPictureSet& pictures);
QImage ComposeDividerStrip(const Layout& layout, const SkinPictureSet& pictures);
QImage ComposeListPanelStrip(const Layout& layout, const SkinPictureSet& pictures, int lampId,
                             const QString& statusText = QString());
QImage ComposeRightBorderStrip(const Layout& layout, const SkinPictureSet& pictures);
// indicatorOffset: the column of picture 232 where the 50-pixel window of the
// level bar starts (0 shows it full, 50 empty).
QImage ComposeBottomBarStrip(const Layout& layout, const SkinPictureSet& pictures,
                             int indicatorOffset);

// Whether the logo strip is copied over the video area: not while a
// broadcast with a picture plays (radio 4 and music 5 have none).
bool DrawsVideoStrip(bool playing, int category);
