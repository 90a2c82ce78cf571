#pragma once

#include "app/ControlIds.h"
#include "skin/SkinMetrics.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

// What the pass does with a control's visibility.
enum class Visibility {
    Keep, // leave it as it is
    Show,
    Hide,
};

// Where one control goes. A control the pass does not move keeps its place.
struct Placement {
    bool moved = false;
    Box box;
    Visibility visibility = Visibility::Keep;
};

// The resize bands along the window's edges, in the order they are tested.
enum class HitArea {
    Right,
    Left,
    Top,
    TopLeft,
    TopRight,
    Bottom,
    BottomLeft,
    BottomRight,
};
constexpr int kHitAreaCount = 8;

// An off-screen strip of the skin: where it is copied and how big it is.
struct StripPlace {
    QPoint origin;
    QSize size;
};

struct LayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    bool listPanelOpen = true;
    MainTab mainTab = MainTab::Channels;
    // The window rectangle saved when full screen was entered (left, top,
    // width, height); the pass only carries it through.
    QRect savedWindow{0, 0, 832, 362};
};

struct Layout {
    // The client rectangle and the derived edges.
    int L = 0, T = 0, R = 0, B = 0;
    int V = 0;   // right edge of the video area
    int P = 0;   // left edge of the list panel strip
    int Mid = 0; // top of the list panel toggle button

    QRect savedWindow;

    // Controls 1000..1029 by id (see ControlIds.h).
    std::array<Placement, kControlCount> controls;
    // The web browser shares the list view's place; its visibility belongs
    // to the web tabs.
    Placement browser;

    Placement& Control(ControlId id) { return controls[ControlIndex(id)]; }
    const Placement& Control(ControlId id) const { return controls[ControlIndex(id)]; }

    QPoint playerOrigin;
    Box volumeArea;

    // Skin pieces.
    Box captionRight;
    Box captionText;
    Box videoArea;
    Box logo; // in the video strip's own coordinates
    Box divider;
    Box listPanel;
    Box rightBorder;
    Box bottomRight;

    // Status rectangles the status display draws into and invalidates.
    Box statusLamp;        // client coordinates
    Box statusTextInStrip; // strip coordinates
    Box statusText;        // client coordinates
    Box panelBottom;       // the panel's bottom piece row

    // The seven strips.
    StripPlace captionStrip;
    StripPlace leftBorderStrip;
    StripPlace videoStrip;
    StripPlace dividerStrip;
    StripPlace listPanelStrip;
    StripPlace rightBorderStrip;
    StripPlace bottomBarStrip;

    std::array<Box, kHitAreaCount> hitAreas;
    const Box& Hit(HitArea a) const { return hitAreas[static_cast<size_t>(a)]; }
};

// The one layout pass: every rectangle of the main window from its client
// size and state. Pure, so it can be checked without a window.
Layout ComputeLayout(const LayoutInput& in);

// The smallest client size the window may be given.
QSize MinimumClientSize(bool listPanelOpen);

// The width the list panel adds to the window when it opens.
constexpr int kListPanelWidth = SkinMetrics::kPanelWidth;

// Fixed start-up client size.
constexpr int kStartWidth = 836;
constexpr int kStartHeight = 354;

// Height of the caption strip; a double click there toggles maximise.
constexpr int kCaptionHeight = SkinMetrics::kCaptionHeight;
