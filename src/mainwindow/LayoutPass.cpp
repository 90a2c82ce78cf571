#include "mainwindow/LayoutPass.h"

#include <iterator>

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

namespace {

// Steps 2 to 4: the caption buttons, the player and the list panel toggle.
void PlaceCaptionControls(Layout& o) {
    using namespace SkinMetrics;
    const int L = o.L, T = o.T, R = o.R, V = o.V, Mid = o.Mid;
    const int captionBottom = T + SkinMetrics::kCaptionHeight;
    const int barTop = o.B - kBottomHeight;
    // 2. Caption buttons.
    auto caption = [&](ControlId id, int fromRight) {
        o.Control(id) =
            Place(R - fromRight, T + kCaptionButtonTop, R - fromRight + kCaptionButtonSize.width(),
                  T + kCaptionButtonTop + kCaptionButtonSize.height());
    };
    caption(ControlId::Hide, kHideFromRight);
    caption(ControlId::Minimise, kMinimiseFromRight);
    caption(ControlId::MaximiseToggle, kMaximiseFromRight);
    caption(ControlId::FullScreen, kFullScreenFromRight);
    caption(ControlId::Close, kCloseFromRight);

    // 3. The player.
    o.Control(ControlId::Player) = Place(L + kBorderWidth, captionBottom, V, barTop);
    o.playerOrigin = QPoint(L + kBorderWidth, captionBottom);

    // 4. The list panel toggle on the divider.
    o.Control(ControlId::ListToggle) =
        Place(V, Mid, V + kListToggleSize.width(), Mid + kListToggleSize.height());
}

// Every tab button has its picture in the skin's rows.
static_assert(std::size(kMainTabButtons) == SkinMetrics::kMainTabs.size());
static_assert(std::size(kCategoryTabButtons) == SkinMetrics::kCategoryTabs.size());
static_assert(std::size(kMusicSubTabButtons) == SkinMetrics::kMusicTabs.size());
static_assert(std::size(kMovieSubTabButtons) == SkinMetrics::kMovieTabs.size());

// Step 5: the tabs, shown only with the panel open.
void PlaceTabs(const LayoutInput& in, Layout& o) {
    using namespace SkinMetrics;
    const int T = o.T, V = o.V;
    if (in.listPanelOpen) {
        auto place = [&](ControlId id, const Box& b, Visibility v) {
            o.Control(id) = Place(V + b.left, T + b.top, V + b.right, T + b.bottom, v);
        };
        for (std::size_t i = 0; i < kMainTabs.size(); ++i)
            place(kMainTabButtons[i], TabBox(kMainTabRow, kMainTabs, i), Visibility::Show);

        // A group whose main tab is not current is left alone: the tab
        // commands hide it.
        auto group = [&](MainTab tab) {
            return in.mainTab == tab ? Visibility::Show : Visibility::Keep;
        };
        for (std::size_t i = 0; i < kCategoryTabs.size(); ++i)
            place(kCategoryTabButtons[i], TabBox(kCategoryRow, kCategoryTabs, i),
                  group(MainTab::Channels));
        for (std::size_t i = 0; i < kMusicTabs.size(); ++i)
            place(kMusicSubTabButtons[i], TabBox(kMusicRow, kMusicTabs, i), group(MainTab::Music));
        for (std::size_t i = 0; i < kMovieTabs.size(); ++i)
            place(kMovieSubTabButtons[i], TabBox(kMovieRow, kMovieTabs, i), group(MainTab::Movie));
    } else {
        for (ControlId id : kCategoryTabButtons)
            o.Control(id) = Removed();
        for (ControlId id : kMainTabButtons)
            o.Control(id) = Removed();
        // The web sub-tabs keep their last position.
    }
}

// Step 6: the bottom bar's buttons and the volume area.
void PlaceBottomBar(Layout& o) {
    using namespace SkinMetrics;
    const int L = o.L, R = o.R, B = o.B;
    const int barTop = B - kBottomHeight;
    {
        int left = L + kBorderWidth;
        for (std::size_t i = 0; i < kTransportButtons.size(); ++i) {
            static constexpr ControlId kIds[] = {ControlId::Play, ControlId::Stop,
                                                 ControlId::ListToggleBottom, ControlId::Settings};
            const int right = left + PictureSize(kTransportButtons[i]).width();
            o.Control(kIds[i]) = Place(left, barTop, right, barTop + kTransportHeight);
            left = right;
        }
    }
    o.Control(ControlId::Mute) =
        Place(R - kMuteFromRight, B - kMuteFromBottom, R - kMuteFromRight + kMuteSize.width(),
              B - kMuteFromBottom + kMuteSize.height());
    o.volumeArea =
        Box{R - kVolumeFromRight, B - kVolumeFromBottom, R - kVolumeFromRight + kLevelWindowWidth,
            B - kVolumeFromBottom + kVolumeHeight};
}

// Steps 7 to 12: the skin's areas, the list panel and what fills it.
void PlaceAreas(const LayoutInput& in, Layout& o) {
    using namespace SkinMetrics;
    const int L = o.L, T = o.T, R = o.R, B = o.B, V = o.V, P = o.P;
    const int captionBottom = T + SkinMetrics::kCaptionHeight;
    const int barTop = B - kBottomHeight;
    // 7. Caption and left side. The right piece ends at the window's right edge.
    o.captionRight = Box{R - kCaptionRightWidth, T, R, captionBottom};
    o.captionText = Box{L + kCaptionTextLeft, T + kCaptionTextTop, R - kCaptionTextRightInset,
                        T + kCaptionTextBottom};
    o.videoArea = Box{L + kBorderWidth, captionBottom, V, barTop};

    // 8. The logo near the middle of the video strip.
    {
        const int top = o.videoArea.Height() / 2 - kLogoAboveCentre;
        const int left = (V - L - kBorderWidth) / 2 - kLogoLeftOfCentre;
        o.logo = Box{left, top, left + kLogoSize.width(), top + kLogoSize.height()};
    }

    // 9. Divider (the toggle button sits on it, placed in step 4).
    o.divider = Box{V, captionBottom, V + kDividerWidth, barTop};

    // 10. List panel and status rectangles.
    const int panelRight = R - kBorderWidth;
    const int panelTopBottom = captionBottom + kPanelTopHeight;
    o.listPanel = Box{P, captionBottom, panelRight, panelTopBottom};
    o.statusLamp = Box{P, captionBottom + kLampOrigin.y(), P + kLampSize.width(),
                       captionBottom + kLampOrigin.y() + kLampSize.height()};
    o.statusTextInStrip = Box{L + kStatusTextBox.left, T + kStatusTextBox.top,
                              L + kStatusTextBox.right, T + kStatusTextBox.bottom};
    o.statusText = Box{P + kStatusTextBox.left, captionBottom + kStatusTextBox.top,
                       P + kStatusTextBox.right, captionBottom + kStatusTextBox.bottom};
    {
        // In the strip's coordinates: the row above the bottom bar.
        const int y = B - T - SkinMetrics::kCaptionHeight - kBottomHeight - kPanelBottomHeight;
        o.panelBottom = Box{P, y, panelRight, y + kPanelBottomHeight};
    }

    // 11. List view and browser share the list area.
    if (in.listPanelOpen) {
        const Box area{V + kDividerWidth + kListInsetLeft, panelTopBottom,
                       panelRight - kListInsetRight, barTop - kPanelBottomHeight};
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
    o.rightBorder = Box{panelRight, captionBottom, R, barTop};
    o.bottomRight = Box{R - kBottomRightWidth, barTop, R, B};
}

// Step 13 and the seven off-screen strips.
void PlaceBandsAndStrips(Layout& o) {
    using namespace SkinMetrics;
    const int L = o.L, T = o.T, R = o.R, B = o.B, V = o.V, P = o.P;
    const int captionBottom = T + SkinMetrics::kCaptionHeight;
    const int barTop = B - kBottomHeight;
    const int panelRight = R - kBorderWidth;
    // 13. Resize bands, in the order they are tested.
    const int band = kResizeBand;
    o.hitAreas[static_cast<size_t>(HitArea::Right)] = Box{R - band, T + band, R, B - band};
    o.hitAreas[static_cast<size_t>(HitArea::Left)] = Box{L, T + band, L + band, B - band};
    o.hitAreas[static_cast<size_t>(HitArea::Top)] = Box{L + band, T, R - band, T + band};
    o.hitAreas[static_cast<size_t>(HitArea::TopLeft)] = Box{L, T, L + band, T + band};
    o.hitAreas[static_cast<size_t>(HitArea::TopRight)] = Box{R - band, T, R, T + band};
    o.hitAreas[static_cast<size_t>(HitArea::Bottom)] =
        Box{L + kBottomBandLeft, B - band, R - band, B};
    o.hitAreas[static_cast<size_t>(HitArea::BottomLeft)] = Box{L, B - band, L + band, B};
    o.hitAreas[static_cast<size_t>(HitArea::BottomRight)] = Box{R - band, B - band, R, B};

    // The seven off-screen strips.
    const int videoHeight = o.videoArea.Height();
    o.captionStrip = {QPoint(L, T), QSize(R - L, SkinMetrics::kCaptionHeight)};
    o.leftBorderStrip = {QPoint(L, captionBottom), QSize(kBorderWidth, videoHeight)};
    o.videoStrip = {o.videoArea.TopLeft(), QSize(o.videoArea.Width(), videoHeight)};
    o.dividerStrip = {QPoint(V, captionBottom), QSize(kDividerWidth, videoHeight)};
    o.listPanelStrip = {QPoint(P, captionBottom), QSize(panelRight - P, B - T)};
    o.rightBorderStrip = {QPoint(panelRight, captionBottom), QSize(kBorderWidth, videoHeight)};
    o.bottomBarStrip = {QPoint(L, barTop), QSize(R - L, kBottomHeight)};
}

} // namespace

Layout ComputeLayout(const LayoutInput& in) {
    using namespace SkinMetrics;
    Layout o;
    const int T = 0, R = in.clientWidth, B = in.clientHeight;
    o.L = 0;
    o.T = T;
    o.R = R;
    o.B = B;
    // Closing the panel takes its width off the right, so the video area's
    // right edge keeps its distance from the left edge either way.
    const int rightSide = kBorderWidth + kDividerWidth;
    o.V = in.listPanelOpen ? R - kPanelWidth - rightSide : R - rightSide;
    o.P = o.V + kDividerWidth;
    o.Mid = (B - T) / 2 - kListToggleSize.height() / 2;

    // 1. The rectangle to come back to from full screen.
    o.savedWindow = in.savedWindow;
    PlaceCaptionControls(o);
    PlaceTabs(in, o);
    PlaceBottomBar(o);
    PlaceAreas(in, o);
    PlaceBandsAndStrips(o);
    return o;
}
