#pragma once

#include "mainwindow/SkinStrips.h"

#include <QPixmap>

#include <array>

class PlayerSession;
class QPainter;
struct Layout;

// The main window's seven off-screen skin strips, composed from the skin's
// pictures, the layout and the session, and copied to the window as they
// are when it paints. A change rebuilds only the strip it shows in, and
// only when the window next paints: changes that come together (the
// start-up, a resize) compose each strip once, and none of it runs before
// the window is on the screen.
class WindowStrips {
public:
    enum class Strip { Caption, LeftBorder, Video, Divider, ListPanel, RightBorder, BottomBar };

    WindowStrips(const Layout& layout, const PlayerSession& session)
        : layout_(layout), session_(session) {}

    // The frame pictures for a screen of this device pixel ratio, read at
    // the next Paint.
    void LoadPictures(double devicePixelRatio);
    // Moved to a screen of another ratio: its pictures, every strip anew.
    void FollowRatio(double devicePixelRatio);
    // The strip is composed anew at the next Paint.
    void Rebuild(Strip strip);
    // Every strip; the logo strip only where it is drawn.
    void RebuildAll();
    // Copies the strips to a window of this size, composing first those
    // asked to be rebuilt; a broadcast without a picture in full screen is
    // the logo alone, centred on black.
    void Paint(QPainter& painter, QSize window);
    // Whether the logo strip shows over the video area: not while the
    // session shows a broadcast's picture.
    bool DrawsVideo() const;

private:
    QImage Compose(Strip strip) const;

    const Layout& layout_;
    const PlayerSession& session_;
    SkinPictureSet pictures_;
    double picturesRatio_ = pictures_.DevicePixelRatio(); // the ratio asked for
    bool picturesRead_ = true;                            // pictures_ are those of picturesRatio_
    std::array<QPixmap, 7> strips_;
    std::array<bool, 7> stale_{}; // to be composed at the next Paint
};
