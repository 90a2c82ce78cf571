#include "mainwindow/LayoutPass.h"

#include <gtest/gtest.h>

namespace {

Layout LayOut(int width, int height, bool open, MainTab mainTab = MainTab::Channels) {
    LayoutInput in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.listPanelOpen = open;
    in.mainTab = mainTab;
    return ComputeLayout(in);
}

TEST(LayoutPass, VideoAreaFollowsTheListPanel) {
    const Layout open = LayOut(736, 279, true);
    EXPECT_EQ(open.V, 295);
    EXPECT_EQ(open.P, 305);
    EXPECT_EQ(open.videoArea, (Box{7, 29, 295, 245}));
    EXPECT_EQ(open.videoArea.Width(), 288);

    // Closing the panel on a window 860 wide leaves 436, and the video area
    // keeps its place and size.
    const Layout wide = LayOut(860, 354, true);
    const Layout closed = LayOut(860 - kListPanelWidth, 354, false);
    EXPECT_EQ(860 - kListPanelWidth, 436);
    EXPECT_EQ(closed.V, wide.V);
    EXPECT_EQ(closed.videoArea, wide.videoArea);
    EXPECT_EQ(closed.Control(ControlId::Player).box, wide.Control(ControlId::Player).box);
    // The panel strip has no width left when closed.
    EXPECT_EQ(closed.listPanelStrip.size.width(), 0);
    EXPECT_EQ(wide.listPanelStrip.size.width(), 424);
}

TEST(LayoutPass, MinimumSizes) {
    EXPECT_EQ(MinimumClientSize(true), QSize(736, 279));
    EXPECT_EQ(MinimumClientSize(false), QSize(312, 279));
}

TEST(LayoutPass, CaptionAndBottomBarControls) {
    const Layout l = LayOut(836, 354, true);
    EXPECT_EQ(l.Control(ControlId::Hide).box, (Box{743, 9, 758, 24}));
    EXPECT_EQ(l.Control(ControlId::Minimise).box, (Box{760, 9, 775, 24}));
    EXPECT_EQ(l.Control(ControlId::MaximiseToggle).box, (Box{777, 9, 792, 24}));
    EXPECT_EQ(l.Control(ControlId::FullScreen).box, (Box{794, 9, 809, 24}));
    EXPECT_EQ(l.Control(ControlId::Close).box, (Box{811, 9, 826, 24}));

    EXPECT_EQ(l.Control(ControlId::Play).box, (Box{7, 320, 32, 347}));
    EXPECT_EQ(l.Control(ControlId::Stop).box, (Box{32, 320, 59, 347}));
    EXPECT_EQ(l.Control(ControlId::ListToggleBottom).box, (Box{59, 320, 85, 347}));
    EXPECT_EQ(l.Control(ControlId::Settings).box, (Box{85, 320, 111, 347}));
    EXPECT_EQ(l.Control(ControlId::Mute).box, (Box{742, 327, 758, 341}));
    EXPECT_EQ(l.volumeArea, (Box{762, 326, 812, 343}));
    EXPECT_EQ(l.volumeArea.Width(), 50);

    // The toggle on the divider, vertically centred-ish: Mid = 354/2 - 35.
    EXPECT_EQ(l.Mid, 142);
    EXPECT_EQ(l.Control(ControlId::ListToggle).box, (Box{395, 142, 404, 212}));
    EXPECT_EQ(l.divider, (Box{395, 29, 405, 320}));
}

TEST(LayoutPass, TabsWithPanelOpenAndClosed) {
    const Layout l = LayOut(836, 354, true, MainTab::Channels);
    const int V = l.V;
    EXPECT_EQ(l.Control(ControlId::TabChannels).box, (Box{V + 10, 58, V + 110, 88}));
    EXPECT_EQ(l.Control(ControlId::TabHome).box, (Box{V + 329, 58, V + 414, 88}));
    EXPECT_EQ(l.Control(ControlId::TabHome).visibility, Visibility::Show);
    // Category tabs sit edge to edge and show on the channel tab.
    EXPECT_EQ(l.Control(ControlId::CategoryTv).box, (Box{V + 22, 94, V + 56, 112}));
    EXPECT_EQ(l.Control(ControlId::CategoryUser).box, (Box{V + 230, 94, V + 286, 112}));
    EXPECT_EQ(l.Control(ControlId::CategoryRadio).visibility, Visibility::Show);
    // Groups of other main tabs are placed but left as they are.
    EXPECT_TRUE(l.Control(ControlFromNumber(1024)).moved);
    EXPECT_EQ(l.Control(ControlFromNumber(1024)).box, (Box{V + 78, 94, V + 136, 112}));
    EXPECT_EQ(l.Control(ControlFromNumber(1024)).visibility, Visibility::Keep);
    EXPECT_EQ(l.Control(ControlFromNumber(1029)).visibility, Visibility::Keep);
    // The list area and the list view shown only for the channel lists.
    EXPECT_EQ(l.Control(ControlId::ChannelList).box, (Box{V + 16, 118, 814, 306}));
    EXPECT_EQ(l.Control(ControlId::ChannelList).visibility, Visibility::Show);
    EXPECT_EQ(l.browser.box, l.Control(ControlId::ChannelList).box);

    const Layout music = LayOut(836, 354, true, MainTab::Music);
    EXPECT_EQ(music.Control(ControlFromNumber(1023)).visibility, Visibility::Show);
    EXPECT_EQ(music.Control(ControlId::CategoryTv).visibility, Visibility::Keep);
    EXPECT_EQ(music.Control(ControlId::ChannelList).visibility, Visibility::Hide);

    const Layout closed = LayOut(412, 354, false, MainTab::Movie);
    for (int id = ControlNumber(ControlId::CategoryTv); id <= ControlNumber(ControlId::TabHome);
         ++id) {
        EXPECT_TRUE(closed.Control(ControlFromNumber(id)).moved) << id;
        EXPECT_TRUE(closed.Control(ControlFromNumber(id)).box.IsEmpty()) << id;
        EXPECT_EQ(closed.Control(ControlFromNumber(id)).visibility, Visibility::Hide) << id;
    }
    // Web sub-tabs keep their last position.
    EXPECT_FALSE(closed.Control(ControlFromNumber(1027)).moved);
    EXPECT_EQ(closed.Control(ControlFromNumber(1027)).visibility, Visibility::Keep);
    EXPECT_TRUE(closed.Control(ControlId::ChannelList).box.IsEmpty());
    EXPECT_EQ(closed.Control(ControlId::ChannelList).visibility, Visibility::Hide);
    EXPECT_TRUE(closed.browser.box.IsEmpty());
}

TEST(LayoutPass, SkinPiecesStatusAreasAndStrips) {
    const Layout l = LayOut(836, 354, true);
    EXPECT_EQ(l.captionRight, (Box{751, 0, 836, 29}));
    EXPECT_EQ(l.captionText, (Box{95, 12, 742, 25}));
    // The logo sits 3 left of and 8 above the exact centre of the video area.
    EXPECT_EQ(l.videoArea, (Box{7, 29, 395, 320}));
    EXPECT_EQ(l.logo, (Box{104, 108, 278, 166}));
    EXPECT_EQ(l.listPanel, (Box{405, 29, 829, 118}));
    EXPECT_EQ(l.statusLamp, (Box{405, 36, 466, 51}));
    EXPECT_EQ(l.statusText, (Box{470, 38, 820, 53}));
    EXPECT_EQ(l.statusTextInStrip, (Box{65, 9, 415, 24}));
    EXPECT_EQ(l.panelBottom, (Box{405, 277, 829, 291}));
    EXPECT_EQ(l.rightBorder, (Box{829, 29, 836, 320}));
    EXPECT_EQ(l.bottomRight, (Box{824, 320, 836, 354}));

    EXPECT_EQ(l.captionStrip.origin, QPoint(0, 0));
    EXPECT_EQ(l.captionStrip.size, QSize(836, 29));
    EXPECT_EQ(l.leftBorderStrip.size, QSize(7, 291));
    EXPECT_EQ(l.videoStrip.origin, QPoint(7, 29));
    EXPECT_EQ(l.videoStrip.size, QSize(388, 291));
    EXPECT_EQ(l.dividerStrip.origin, QPoint(395, 29));
    EXPECT_EQ(l.listPanelStrip.origin, QPoint(405, 29));
    EXPECT_EQ(l.rightBorderStrip.origin, QPoint(829, 29));
    EXPECT_EQ(l.bottomBarStrip.origin, QPoint(0, 320));
    EXPECT_EQ(l.bottomBarStrip.size, QSize(836, 34));
}

TEST(LayoutPass, ResizeBands) {
    const Layout l = LayOut(836, 354, true);
    EXPECT_EQ(l.Hit(HitArea::Right), (Box{829, 7, 836, 347}));
    EXPECT_EQ(l.Hit(HitArea::Left), (Box{0, 7, 7, 347}));
    EXPECT_EQ(l.Hit(HitArea::Top), (Box{7, 0, 829, 7}));
    EXPECT_EQ(l.Hit(HitArea::TopLeft), (Box{0, 0, 7, 7}));
    EXPECT_EQ(l.Hit(HitArea::TopRight), (Box{829, 0, 836, 7}));
    // The bottom band starts 10 pixels in, leaving the corner band 7 wide.
    EXPECT_EQ(l.Hit(HitArea::Bottom), (Box{10, 347, 829, 354}));
    EXPECT_EQ(l.Hit(HitArea::BottomLeft), (Box{0, 347, 7, 354}));
    EXPECT_EQ(l.Hit(HitArea::BottomRight), (Box{829, 347, 836, 354}));
    EXPECT_FALSE(l.Hit(HitArea::Bottom).Contains(QPoint(8, 350)));
    EXPECT_TRUE(l.Hit(HitArea::BottomRight).Contains(QPoint(835, 353)));
}

TEST(LayoutPass, CarriesTheSavedWindowThrough) {
    LayoutInput in;
    in.clientWidth = 836;
    in.clientHeight = 354;
    in.savedWindow = QRect(12, 34, 900, 400);
    EXPECT_EQ(ComputeLayout(in).savedWindow, QRect(12, 34, 900, 400));
}

} // namespace
