#include "mainwindow/LayoutPass.h"

namespace {

Placement Place(int left, int top, int right, int bottom, Visibility v = Visibility::Keep) {
    Placement p;
    p.moved = true;
    p.box = Box{left, top, right, bottom};
    p.visibility = v;
    return p;
}

Placement Removed() {
    Placement p;
    p.moved = true;
    p.visibility = Visibility::Hide;
    return p;
}

} // namespace

QSize MinimumClientSize(bool listPanelOpen) {
    return listPanelOpen ? QSize(736, 279) : QSize(312, 279);
}

Layout ComputeLayout(const LayoutInput& in) {
    Layout o;
    const int L = 0, T = 0, R = in.clientWidth, B = in.clientHeight;
    o.L = L;
    o.T = T;
    o.R = R;
    o.B = B;
    // Closing the panel takes 424 pixels off the right, so the video area's
    // right edge keeps its distance from the left edge either way.
    o.V = in.listPanelOpen ? R - 441 : R - 17;
    o.P = o.V + 10;
    o.Mid = (B - T) / 2 - 35;
    const int V = o.V, P = o.P, Mid = o.Mid;

    // 1. The rectangle to come back to from full screen.
    o.savedWindow = in.savedWindow;

    // 2. Caption buttons, 15 x 15.
    auto caption = [&](int id, int fromRight) {
        o.Control(id) = Place(R - fromRight, T + 9, R - fromRight + 15, T + 24);
    };
    caption(ControlId::Hide, 93);
    caption(ControlId::Minimise, 76);
    caption(ControlId::MaximiseToggle, 59);
    caption(ControlId::FullScreen, 42);
    caption(ControlId::Close, 25);

    // 3. The player.
    o.Control(ControlId::Player) = Place(L + 7, T + 29, V, B - 34);
    o.playerOrigin = QPoint(L + 7, T + 29);

    // 4. The list panel toggle on the divider.
    o.Control(ControlId::ListToggle) = Place(V, Mid, V + 9, Mid + 70);

    // 5. Tabs.
    if (in.listPanelOpen) {
        const int mt = T + 58, mb = mt + 30;
        o.Control(ControlId::TabChannels) = Place(V + 10, mt, V + 110, mb, Visibility::Show);
        o.Control(ControlId::TabMusic) = Place(V + 111, mt, V + 223, mb, Visibility::Show);
        o.Control(ControlId::TabMovie) = Place(V + 224, mt, V + 328, mb, Visibility::Show);
        o.Control(ControlId::TabHome) = Place(V + 329, mt, V + 414, mb, Visibility::Show);

        const int st = T + 94, sb = st + 18;
        // A group whose main tab is not current is left alone: the tab
        // commands hide it.
        auto group = [&](int tab) {
            return in.mainTab == tab ? Visibility::Show : Visibility::Keep;
        };
        const Visibility cat = group(MainTab::Channels);
        const int catEdges[7] = {22, 56, 92, 127, 174, 230, 286};
        for (int i = 0; i < 6; ++i)
            o.Control(ControlId::CategoryTv + i) =
                Place(V + catEdges[i], st, V + catEdges[i + 1], sb, cat);

        const Visibility music = group(MainTab::Music);
        const int musicEdges[4][2] = {{22, 77}, {78, 136}, {137, 194}, {195, 261}};
        for (int i = 0; i < 4; ++i)
            o.Control(ControlId::MusicSubTabFirst + i) =
                Place(V + musicEdges[i][0], st, V + musicEdges[i][1], sb, music);

        const Visibility movie = group(MainTab::Movie);
        const int movieEdges[3][2] = {{22, 79}, {79, 124}, {124, 169}};
        for (int i = 0; i < 3; ++i)
            o.Control(ControlId::MovieSubTabFirst + i) =
                Place(V + movieEdges[i][0], st, V + movieEdges[i][1], sb, movie);
    } else {
        for (int id = ControlId::CategoryTv; id <= ControlId::TabHome; ++id)
            o.Control(id) = Removed();
        // The web sub-tabs keep their last position.
    }

    // 6. Bottom bar.
    const int bt = B - 34, bb = B - 7;
    o.Control(ControlId::Play) = Place(L + 7, bt, L + 32, bb);
    o.Control(ControlId::Stop) = Place(L + 32, bt, L + 59, bb);
    o.Control(ControlId::ListToggleBottom) = Place(L + 59, bt, L + 85, bb);
    o.Control(ControlId::Settings) = Place(L + 85, bt, L + 111, bb);
    o.Control(ControlId::Mute) = Place(R - 94, B - 27, R - 78, B - 13);
    o.volumeArea = Box{R - 74, B - 28, R - 24, B - 11};

    // 7. Caption and left side. The right piece is 85 wide and ends at the
    // window's right edge.
    o.captionLeft = Box{L, T, L + 113, T + 29};
    o.captionTile = Box{L, T, L + 1, T + 29};
    o.captionRight = Box{R - 85, T, R, T + 29};
    o.captionText = Box{L + 95, T + 12, R - 94, T + 25};
    o.leftBorder = Box{L, T + 29, L + 7, B - 34};
    o.videoArea = Box{L + 7, T + 29, V, B - 34};

    // 8. The logo, 174 x 58, near the middle of the video strip.
    {
        const int top = o.videoArea.Height() / 2 - 37;
        const int left = (V - L - 7) / 2 - 90;
        o.logo = Box{left, top, left + 174, top + 58};
    }

    // 9. Divider (the toggle button sits on it, placed in step 4).
    o.divider = Box{V, T + 29, V + 10, B - 34};

    // 10. List panel and status rectangles.
    o.listPanel = Box{P, T + 29, R - 7, T + 118};
    o.statusLampInStrip = Box{P, T + 7, P + 61, T + 22};
    o.statusLamp = Box{P, T + 36, P + 61, T + 51};
    o.statusTextInStrip = Box{L + 65, T + 9, L + 415, T + 24};
    o.statusText = Box{P + 65, T + 38, P + 415, T + 53};
    o.panelBody = Box{P, T + 89, R - 7, B + 12};
    {
        const int y = B - T - 77;
        o.panelBottom = Box{P, y, R - 7, y + 14};
    }

    // 11. List view and browser share the list area.
    if (in.listPanelOpen) {
        const Box area{V + 16, T + 118, R - 22, B - 48};
        o.Control(ControlId::ChannelList) =
            Place(area.left, area.top, area.right, area.bottom,
                  in.mainTab == MainTab::Channels ? Visibility::Show : Visibility::Hide);
        o.browser = Place(area.left, area.top, area.right, area.bottom);
    } else {
        // Out of the way and hidden, so nothing of it can take a click or the focus.
        o.Control(ControlId::ChannelList) = Place(0, 0, 0, 0, Visibility::Hide);
        o.browser = Place(0, 0, 0, 0);
    }

    // 12. Right border and bottom bar pieces.
    o.rightBorder = Box{R - 7, T + 29, R, B - 34};
    o.bottomStrip = Box{L, B - 34, L + 140, B};
    o.bottomTile = Box{L + 91, B - 34, L + 92, B};
    o.bottomRight = Box{R - 12, B - 34, R, B};

    // 13. Resize bands, in the order they are tested.
    o.hitAreas[static_cast<size_t>(HitArea::Right)] = Box{R - 7, T + 7, R, B - 7};
    o.hitAreas[static_cast<size_t>(HitArea::Left)] = Box{L, T + 7, L + 7, B - 7};
    o.hitAreas[static_cast<size_t>(HitArea::Top)] = Box{L + 7, T, R - 7, T + 7};
    o.hitAreas[static_cast<size_t>(HitArea::TopLeft)] = Box{L, T, L + 7, T + 7};
    o.hitAreas[static_cast<size_t>(HitArea::TopRight)] = Box{R - 7, T, R, T + 7};
    o.hitAreas[static_cast<size_t>(HitArea::Bottom)] = Box{L + 10, B - 7, R - 7, B};
    o.hitAreas[static_cast<size_t>(HitArea::BottomLeft)] = Box{L, B - 7, L + 7, B};
    o.hitAreas[static_cast<size_t>(HitArea::BottomRight)] = Box{R - 7, B - 7, R, B};

    // The seven off-screen strips.
    const int videoHeight = o.videoArea.Height();
    o.captionStrip = {QPoint(L, T), QSize(R - L, 29)};
    o.leftBorderStrip = {QPoint(L, T + 29), QSize(7, videoHeight)};
    o.videoStrip = {o.videoArea.TopLeft(), QSize(o.videoArea.Width(), videoHeight)};
    o.dividerStrip = {QPoint(V, T + 29), QSize(10, videoHeight)};
    o.listPanelStrip = {QPoint(P, T + 29), QSize(R - 7 - P, B - T)};
    o.rightBorderStrip = {QPoint(R - 7, T + 29), QSize(7, videoHeight)};
    o.bottomBarStrip = {QPoint(L, B - 34), QSize(R - L, 34)};
    return o;
}
