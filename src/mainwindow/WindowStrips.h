#pragma once

#include "mainwindow/SkinStrips.h"

class PlayerSession;
class QPainter;
class QRect;
struct Layout;

// The main window's seven skin strips, painted from the skin's pictures, the
// layout and the session straight into the window's own back buffer, and
// only where the window is repainted: a change (the lamp, the clock, the
// level bar) asks the window to repaint its rectangle, and only the strips
// under that rectangle paint. Nothing is kept between paints but the
// pictures, so the strips cost no memory of their own (a copy of each was
// more than a megabyte at the start-up size).
class WindowStrips {
public:
    WindowStrips(const Layout& layout, const PlayerSession& session)
        : layout_(layout), session_(session) {}

    // The frame pictures for a screen of this device pixel ratio, read at
    // the next Paint.
    void LoadPictures(double devicePixelRatio);
    // Moved to a screen of another ratio: its pictures.
    void FollowRatio(double devicePixelRatio);
    // Paints the strips that meet `dirty` on a window of this size; a
    // broadcast without a picture in full screen is the logo alone, centred
    // on black.
    void Paint(QPainter& painter, QSize window, const QRect& dirty);
    // Whether the logo strip shows over the video area: not while the
    // session shows a broadcast's picture.
    bool DrawsVideo() const;

private:
    const Layout& layout_;
    const PlayerSession& session_;
    SkinPictureSet pictures_;
    double picturesRatio_ = pictures_.DevicePixelRatio(); // the ratio asked for
    bool picturesRead_ = true;                            // pictures_ are those of picturesRatio_
};
