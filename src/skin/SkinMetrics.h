#pragma once

#include "skin/SkinInventory.h"

#include <QPoint>
#include <QRect>
#include <QRgb>

#include <array>

// A rectangle as the skin counts it: left and top inclusive, right and
// bottom exclusive, so width = right - left. Kept apart from QRect, whose
// right() is inclusive, so the numbers read the way they are drawn.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    QRect ToRect() const { return QRect(left, top, Width(), Height()); }
    constexpr QPoint TopLeft() const { return QPoint(left, top); }
    constexpr bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const Box& o) const { return !(*this == o); }
};

// The main window's skin geometry: the sizes of its pieces (read from the
// picture table, so a picture and the place made for it cannot drift apart)
// and the offsets at which they and the controls on them sit. The layout
// pass places the window from these and the strip composition draws from
// the same numbers.
namespace SkinMetrics {

// Caption strip: left piece, a tile repeated across, right piece flush with
// the window's right edge.
constexpr int kCaptionHeight = PictureSize(PictureId::CaptionLeft).height();
constexpr int kCaptionLeftWidth = PictureSize(PictureId::CaptionLeft).width();
constexpr int kCaptionRightWidth = PictureSize(PictureId::CaptionRight).width();

// Caption buttons (15 x 15), by their distance from the right edge.
constexpr QSize kCaptionButtonSize = PictureSize(PictureId::Close);
constexpr int kCaptionButtonTop = 9;
constexpr int kHideFromRight = 93;
constexpr int kMinimiseFromRight = 76;
constexpr int kMaximiseFromRight = 59;
constexpr int kFullScreenFromRight = 42;
constexpr int kCloseFromRight = 25;

// The caption's text line: from (95, 12) to 94 pixels short of the right
// edge, 13 high.
constexpr int kCaptionTextLeft = 95;
constexpr int kCaptionTextTop = 12;
constexpr int kCaptionTextBottom = 25;
constexpr int kCaptionTextRightInset = 94;

// Side borders, one-pixel-high tiles down the video area's height.
constexpr int kBorderWidth = PictureSize(PictureId::LeftTile).width();
static_assert(PictureSize(PictureId::RightTile).width() == kBorderWidth,
              "the two side borders are equally wide");
// The divider between video area and list panel.
constexpr int kDividerWidth = PictureSize(PictureId::DividerTile).width();

// The list panel toggle on the divider, centred on the window's height.
constexpr QSize kListToggleSize = PictureSize(PictureId::ListToggleOpen);

// The list panel: top piece (status panel, tab rows, the list frame's top),
// a tile down the sides of the list, bottom piece (the list frame's bottom).
constexpr int kPanelWidth = PictureSize(PictureId::PanelTop).width();
constexpr int kPanelTopHeight = PictureSize(PictureId::PanelTop).height();
constexpr int kPanelBottomHeight = PictureSize(PictureId::PanelBottom).height();

// Bottom bar: left piece, a tile, right piece flush with the right edge.
constexpr int kBottomHeight = PictureSize(PictureId::BottomLeft).height();
constexpr int kBottomLeftWidth = PictureSize(PictureId::BottomLeft).width();
constexpr int kBottomRightWidth = PictureSize(PictureId::BottomRight).width();

// Play, stop, list and settings sit edge to edge from the left border, at
// the bar's top, as wide as their pictures.
constexpr int kTransportHeight = PictureSize(PictureId::Play).height();
constexpr std::array<PictureId, 4> kTransportButtons{PictureId::Play, PictureId::Stop,
                                                     PictureId::ListPanel, PictureId::Settings};

// Mute button and the volume area, by their distance from the right and the
// bottom edge. The level bar shows a window of half the bar picture's width
// onto it, 11 pixels down the bottom strip.
constexpr QSize kMuteSize = PictureSize(PictureId::Speaker);
constexpr int kMuteFromRight = 94;
constexpr int kMuteFromBottom = 27;
constexpr int kVolumeFromRight = 74;
constexpr int kVolumeFromBottom = 28;
constexpr int kVolumeHeight = 17;
constexpr int kLevelWindowWidth = PictureSize(PictureId::VolumeBar).width() / 2;
constexpr int kLevelBarTop = 11;

// The logo in the idle video area, a little above and left of its centre.
constexpr QSize kLogoSize = PictureSize(PictureId::Logo);
constexpr int kLogoAboveCentre = 37;
constexpr int kLogoLeftOfCentre = 90;

// The status panel on the panel's top piece, in the strip's coordinates
// (the strip starts below the caption): the lamp, and one line of text.
constexpr QPoint kLampOrigin{0, 7};
constexpr QSize kLampSize = PictureSize(PictureId::LampLit);
constexpr Box kStatusTextBox{65, 9, 415, 24};

// The two text lines the strips draw: one line, left and top aligned, cut
// at the box's right edge, never wrapped; bold in the skin's Korean face.
struct TextStyle {
    int pixelHeight;
    QRgb colour;
};
constexpr TextStyle kCaptionTextStyle{11, qRgb(255, 255, 255)};
constexpr TextStyle kStatusTextStyle{12, qRgb(255, 204, 51)};

// Main tabs across the panel's top, one pixel apart, from the divider's
// right edge; the row of sub-tabs below them, from 22 pixels in.
struct TabRow {
    int left; // from the video area's right edge
    int top;  // from the window's top
    int gap;  // pixels between two tabs
};
constexpr TabRow kMainTabRow{kDividerWidth, 58, 1};
constexpr TabRow kCategoryRow{22, 94, 0};
constexpr TabRow kMusicRow{22, 94, 1};
constexpr TabRow kMovieRow{22, 94, 0};
constexpr std::array<PictureId, 4> kMainTabs{PictureId::TabChannels, PictureId::TabMusic,
                                             PictureId::TabMovie, PictureId::TabHome};
constexpr std::array<PictureId, 6> kCategoryTabs{PictureId::CategoryTv,    PictureId::CategoryWorld,
                                                 PictureId::CategoryGame,  PictureId::CategoryRadio,
                                                 PictureId::CategoryMusic, PictureId::CategoryUser};
constexpr std::array<PictureId, 4> kMusicTabs{PictureId::MusicLatest, PictureId::MusicDownload,
                                              PictureId::MusicChart, PictureId::MusicVideo};
constexpr std::array<PictureId, 3> kMovieTabs{PictureId::MovieLatest, PictureId::MovieDrama,
                                              PictureId::MovieClips};

// The place of tab `index` of a row, relative to (video area's right edge, 0).
template <std::size_t N>
constexpr Box TabBox(const TabRow& row, const std::array<PictureId, N>& tabs, std::size_t index) {
    int left = row.left;
    for (std::size_t i = 0; i < index; ++i)
        left += PictureSize(tabs[i]).width() + row.gap;
    const QSize size = PictureSize(tabs[index]);
    return Box{left, row.top, left + size.width(), row.top + size.height()};
}

// The list view (and the browser in its place) inside the panel's frame:
// 6 pixels right of the divider, 15 short of the right border, from below the
// panel's top piece to above its bottom piece.
constexpr int kListInsetLeft = 6;
constexpr int kListInsetRight = 15;

// The resize bands are as wide as the border; the bottom band leaves the
// corner of the bottom bar's left piece alone.
constexpr int kResizeBand = kBorderWidth;
constexpr int kBottomBandLeft = 10;

} // namespace SkinMetrics
