#pragma once

#include "skin/SkinStrips.h"

#include <QPixmap>

#include <array>

class PlayerSession;
class QPainter;
struct Layout;

// The main window's seven off-screen skin strips, composed from the skin's
// pictures, the layout and the session, and copied to the window as they
// are when it paints. A change rebuilds only the strip it shows in.
class WindowStrips {
public:
    enum class Strip { Caption, LeftBorder, Video, Divider, ListPanel, RightBorder, BottomBar };

    WindowStrips(const Layout& layout, const PlayerSession& session)
        : layout_(layout), session_(session) {}

    // The frame pictures for a screen of this device pixel ratio.
    void LoadPictures(double devicePixelRatio);
    // Moved to a screen of another ratio: its pictures, every strip anew.
    void FollowRatio(double devicePixelRatio);
    void Rebuild(Strip strip);
    // Every strip; the logo strip only where it is drawn.
    void RebuildAll();
    // Copies the strips to a window of this size; a broadcast without a
    // picture in full screen is the logo alone, centred on black.
    void Paint(QPainter& painter, QSize window) const;
    // Whether the logo strip shows over the video area: not while a
    // broadcast with a picture plays.
    bool DrawsVideo() const;

private:
    QImage Compose(Strip strip) const;

    const Layout& layout_;
    const PlayerSession& session_;
    SkinPictureSet pictures_;
    std::array<QPixmap, 7> strips_;
};
