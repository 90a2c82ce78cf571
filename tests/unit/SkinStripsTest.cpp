#include "mainwindow/SkinStrips.h"

#include "app/PlayerSession.h"
#include "mainwindow/LayoutPass.h"
#include "mainwindow/WindowStrips.h"

#include <QPainter>
#include <QtMath>

#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

Layout LayOut(int width, int height, bool open) {
    LayoutInput in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.listPanelOpen = open;
    return ComputeLayout(in);
}

const QColor kLeft(200, 0, 0), kTile(0, 200, 0), kRight(0, 0, 200);

QColor At(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// A strip painted as the window paints it, into an image of its own at the
// pictures' device pixel ratio. The image starts white, so a strip that left
// any part unpainted (rather than black) shows it.
template <typename PaintFn>
QImage Painted(QSize size, const SkinPictureSet& pictures, PaintFn paint) {
    if (size.isEmpty())
        return QImage();
    const double ratio = pictures.DevicePixelRatio();
    QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p);
    return image;
}

QImage ComposeCaptionStrip(const Layout& l, const SkinPictureSet& s) {
    return Painted(l.captionStrip.size, s, [&](QPainter& p) { PaintCaptionStrip(p, l, s); });
}
QImage ComposeLeftBorderStrip(const Layout& l, const SkinPictureSet& s) {
    return Painted(l.leftBorderStrip.size, s, [&](QPainter& p) { PaintLeftBorderStrip(p, l, s); });
}
QImage ComposeVideoStrip(const Layout& l, const SkinPictureSet& s) {
    return Painted(l.videoStrip.size, s, [&](QPainter& p) { PaintVideoStrip(p, l, s); });
}
QImage ComposeDividerStrip(const Layout& l, const SkinPictureSet& s) {
    return Painted(l.dividerStrip.size, s, [&](QPainter& p) { PaintDividerStrip(p, l, s); });
}
QImage ComposeListPanelStrip(const Layout& l, const SkinPictureSet& s, PictureId lamp) {
    return Painted(l.listPanelStrip.size, s,
                   [&](QPainter& p) { PaintListPanelStrip(p, l, s, lamp); });
}
QImage ComposeRightBorderStrip(const Layout& l, const SkinPictureSet& s) {
    return Painted(l.rightBorderStrip.size, s,
                   [&](QPainter& p) { PaintRightBorderStrip(p, l, s); });
}
QImage ComposeBottomBarStrip(const Layout& l, const SkinPictureSet& s, int offset) {
    return Painted(l.bottomBarStrip.size, s,
                   [&](QPainter& p) { PaintBottomBarStrip(p, l, s, offset); });
}

TEST(SkinStrips, SmallestWindowCaptionAndBottomBar) {
    SkinPictureSet pictures;
    pictures.Set(PictureId::CaptionLeft, Solid(113, 29, kLeft));
    pictures.Set(PictureId::CaptionTile, Solid(1, 29, kTile));
    pictures.Set(PictureId::CaptionRight, Solid(85, 29, kRight));
    pictures.Set(PictureId::BottomLeft, Solid(140, 34, kLeft));
    pictures.Set(PictureId::BottomTile, Solid(1, 34, kTile));
    pictures.Set(PictureId::BottomRight, Solid(12, 34, kRight));
    const Layout l = LayOut(312, 279, false);

    const QImage caption = ComposeCaptionStrip(l, pictures);
    ASSERT_EQ(caption.size(), QSize(312, 29));
    EXPECT_EQ(At(caption, 112, 10), kLeft);
    EXPECT_EQ(At(caption, 113, 10), kTile);
    EXPECT_EQ(At(caption, 226, 28), kTile);
    EXPECT_EQ(At(caption, 227, 0), kRight);
    EXPECT_EQ(At(caption, 311, 28), kRight);

    const QImage bottom = ComposeBottomBarStrip(l, pictures, 0);
    ASSERT_EQ(bottom.size(), QSize(312, 34));
    EXPECT_EQ(At(bottom, 139, 5), kLeft);
    EXPECT_EQ(At(bottom, 140, 5), kTile);
    EXPECT_EQ(At(bottom, 299, 33), kTile);
    EXPECT_EQ(At(bottom, 300, 0), kRight);
    EXPECT_EQ(At(bottom, 311, 33), kRight);
}

TEST(SkinStrips, TiledBordersAndLogo) {
    SkinPictureSet pictures;
    pictures.Set(PictureId::LeftTile, Solid(7, 1, kLeft));
    pictures.Set(PictureId::DividerTile, Solid(10, 1, kTile));
    pictures.Set(PictureId::RightTile, Solid(7, 1, kRight));
    pictures.Set(PictureId::Logo, Solid(174, 58, kTile));
    const Layout l = LayOut(836, 354, true);

    const QImage left = ComposeLeftBorderStrip(l, pictures);
    ASSERT_EQ(left.size(), QSize(7, 291));
    EXPECT_EQ(At(left, 0, 0), kLeft);
    EXPECT_EQ(At(left, 6, 290), kLeft);
    const QImage divider = ComposeDividerStrip(l, pictures);
    EXPECT_EQ(At(divider, 9, 290), kTile);
    const QImage right = ComposeRightBorderStrip(l, pictures);
    EXPECT_EQ(At(right, 6, 145), kRight);

    // Black around the logo, the logo at (104, 108) .. (277, 165).
    const QImage video = ComposeVideoStrip(l, pictures);
    ASSERT_EQ(video.size(), QSize(388, 291));
    EXPECT_EQ(At(video, 103, 120), QColor(Qt::black));
    EXPECT_EQ(At(video, 104, 108), kTile);
    EXPECT_EQ(At(video, 277, 165), kTile);
    EXPECT_EQ(At(video, 278, 165), QColor(Qt::black));
    EXPECT_EQ(At(video, 200, 166), QColor(Qt::black));
}

TEST(SkinStrips, ListPanelPiecesAndLamp) {
    SkinPictureSet pictures;
    pictures.Set(PictureId::PanelTop, Solid(424, 89, kLeft));
    pictures.Set(PictureId::PanelTile, Solid(424, 1, kTile));
    pictures.Set(PictureId::PanelBottom, Solid(424, 14, kRight));
    pictures.Set(PictureId::LampUnlit, Solid(61, 15, QColor(90, 90, 90)));
    const Layout l = LayOut(836, 354, true);

    const QImage panel = ComposeListPanelStrip(l, pictures, PictureId::LampUnlit);
    ASSERT_EQ(panel.size(), QSize(424, 354));
    EXPECT_EQ(At(panel, 100, 88), kLeft);
    EXPECT_EQ(At(panel, 100, 89), kTile);
    // The bottom piece starts at B - T - 77 and ends 34 above the client bottom.
    EXPECT_EQ(At(panel, 100, 276), kTile);
    EXPECT_EQ(At(panel, 100, 277), kRight);
    EXPECT_EQ(At(panel, 100, 290), kRight);
    EXPECT_EQ(29 + 291, 354 - 34);
    // The lamp over the top piece.
    EXPECT_EQ(At(panel, 0, 7), QColor(90, 90, 90));
    EXPECT_EQ(At(panel, 60, 21), QColor(90, 90, 90));
    EXPECT_EQ(At(panel, 61, 7), kLeft);
    EXPECT_EQ(At(panel, 0, 22), kLeft);
    // A lit lamp that is missing leaves the top piece as it is.
    const QImage noLamp = ComposeListPanelStrip(l, pictures, PictureId::LampLit);
    EXPECT_EQ(At(noLamp, 0, 7), kLeft);
}

TEST(SkinStrips, LevelBarWindow) {
    // Left half filled (white), right half empty (dark).
    QImage bar(100, 5, QImage::Format_RGB32);
    bar.fill(QColor(20, 20, 20));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 50; ++x)
            bar.setPixel(x, y, qRgb(250, 250, 250));
    SkinPictureSet pictures;
    pictures.Set(PictureId::VolumeBar, bar);
    const Layout l = LayOut(836, 354, true);
    const int x0 = l.volumeArea.left;

    const QImage full = ComposeBottomBarStrip(l, pictures, 0);
    EXPECT_EQ(At(full, x0, 11), QColor(250, 250, 250));
    EXPECT_EQ(At(full, x0 + 49, 15), QColor(250, 250, 250));
    EXPECT_EQ(At(full, x0, 16), QColor(Qt::black)); // the picture is 5 high

    const QImage empty = ComposeBottomBarStrip(l, pictures, 50);
    EXPECT_EQ(At(empty, x0, 11), QColor(20, 20, 20));
    EXPECT_EQ(At(empty, x0 + 49, 11), QColor(20, 20, 20));

    const QImage half = ComposeBottomBarStrip(l, pictures, 25);
    EXPECT_EQ(At(half, x0 + 24, 12), QColor(250, 250, 250));
    EXPECT_EQ(At(half, x0 + 25, 12), QColor(20, 20, 20));

    // A stored volume far out of range gives an offset off the picture:
    // nothing of the bar is copied, and nothing outside it is read.
    const QImage off = ComposeBottomBarStrip(l, pictures, -100);
    EXPECT_EQ(At(off, x0, 11), QColor(Qt::black));
    const QImage offRight = ComposeBottomBarStrip(l, pictures, 140);
    EXPECT_EQ(At(offRight, x0 + 10, 11), QColor(Qt::black));
    const QImage partly = ComposeBottomBarStrip(l, pictures, -10);
    EXPECT_EQ(At(partly, x0 + 9, 11), QColor(Qt::black));
    EXPECT_EQ(At(partly, x0 + 10, 11), QColor(250, 250, 250));
}

TEST(SkinStrips, MissingPicturesLeaveBlack) {
    const SkinPictureSet none;
    const Layout l = LayOut(736, 279, true);
    const QImage caption = ComposeCaptionStrip(l, none);
    ASSERT_FALSE(caption.isNull());
    EXPECT_EQ(At(caption, 400, 10), QColor(Qt::black));
    EXPECT_TRUE(
        ComposeListPanelStrip(LayOut(312, 279, false), none, PictureId::LampUnlit).isNull());
}

// A picture drawn at twice the resolution, every device pixel of it
// telling its own column: x even red, x odd blue.
QImage SharpStripes(int w, int h) {
    QImage image(w * 2, h * 2, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, x % 2 == 0 ? kLeft.rgb() : kRight.rgb());
    image.setDevicePixelRatio(2.0);
    return image;
}

TEST(SkinStrips, SharpPicturesComposedAtDevicePixels) {
    SkinPictureSet pictures(2.0);
    pictures.Set(PictureId::CaptionLeft, SharpStripes(113, 29));
    QImage tile = Solid(2, 58, kTile);
    tile.setDevicePixelRatio(2.0);
    pictures.Set(PictureId::CaptionTile, tile);
    pictures.Set(PictureId::CaptionRight, SharpStripes(85, 29));
    const Layout l = LayOut(312, 279, false);

    const QImage caption = ComposeCaptionStrip(l, pictures);
    // Built at device pixels, and said to be: it draws at its logical size.
    ASSERT_EQ(caption.size(), QSize(624, 58));
    EXPECT_EQ(caption.devicePixelRatio(), 2.0);
    // Each device pixel of the sharp picture lands on one device pixel of
    // the strip: not a 1x picture doubled, which would pair the columns.
    EXPECT_EQ(At(caption, 0, 0), kLeft);
    EXPECT_EQ(At(caption, 1, 0), kRight);
    EXPECT_EQ(At(caption, 224, 57), kLeft);
    EXPECT_EQ(At(caption, 225, 57), kRight);
    EXPECT_EQ(At(caption, 226, 0), kTile);
    EXPECT_EQ(At(caption, 2 * (312 - 85), 0), kLeft);
    EXPECT_EQ(At(caption, 2 * (312 - 85) + 1, 0), kRight);

    // The level bar's window is counted in logical pixels on a sharp bar.
    QImage bar(200, 10, QImage::Format_RGB32);
    bar.fill(QColor(20, 20, 20));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x)
            bar.setPixel(x, y, qRgb(250, 250, 250));
    bar.setDevicePixelRatio(2.0);
    pictures.Set(PictureId::VolumeBar, bar);
    const Layout wide = LayOut(836, 354, true);
    const int x0 = 2 * wide.volumeArea.left;
    const QImage half = ComposeBottomBarStrip(wide, pictures, 25);
    ASSERT_EQ(half.size(), QSize(1672, 68));
    EXPECT_EQ(At(half, x0 + 49, 22), QColor(250, 250, 250));
    EXPECT_EQ(At(half, x0 + 50, 22), QColor(20, 20, 20));
    EXPECT_EQ(At(half, x0 + 99, 31), QColor(20, 20, 20));
    EXPECT_EQ(At(half, x0 + 50, 32), QColor(Qt::black)); // 5 logical rows high
}

TEST(SkinStrips, VideoStripOnlyWithoutAPicture) {
    PlayerSession session;
    session.SetCategory(Category::Tv);
    const Layout layout;
    WindowStrips strips(layout, session);
    EXPECT_TRUE(strips.DrawsVideo()); // nothing plays: the logo
    session.SetPlaying(true);
    session.SetVideoShown(true);
    EXPECT_FALSE(strips.DrawsVideo());
    // Which tabs' channels show a picture: TV, and the user's may be video;
    // radio and music have none.
    EXPECT_FALSE(IsSoundOnly(Category::Tv));
    EXPECT_FALSE(IsSoundOnly(Category::User));
    EXPECT_TRUE(IsSoundOnly(Category::Radio));
    EXPECT_TRUE(IsSoundOnly(Category::Music));
    // Another tab opened while the picture shows changes nothing.
    session.SetCategory(Category::Radio);
    EXPECT_FALSE(strips.DrawsVideo());
}

TEST(SkinStrips, FullScreenWithoutAPictureIsTheLogoAlone) {
    // Radio and music alike; never for a picture, never outside full screen.
    EXPECT_TRUE(ShowsLogoOnly(true, true, false));   // radio or music
    EXPECT_FALSE(ShowsLogoOnly(true, true, true));   // TV, its picture shown
    EXPECT_FALSE(ShowsLogoOnly(false, true, false)); // radio in the window
    EXPECT_FALSE(ShowsLogoOnly(true, false, false)); // nothing plays: the buttons stay
    EXPECT_EQ(LogoOnlyOrigin(QSize(1024, 768), QSize(174, 58)), QPoint(425, 355));
}

} // namespace
