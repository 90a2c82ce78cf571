#include "mainwindow/WindowMagnet.h"
#include "skin/PendingMove.h"

#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1280, 800);
const QSize kWindow(836, 354);

TEST(WindowMagnet, NearEdgesSnapWithinTenPixels) {
    // Dropped 7 pixels from the left edge: on the edge.
    EXPECT_EQ(MagnetPosition(QPoint(7, 200), kWindow, kScreen), QPoint(0, 200));
    EXPECT_EQ(MagnetPosition(QPoint(10, 200), kWindow, kScreen), QPoint(0, 200));
    EXPECT_EQ(MagnetPosition(QPoint(1, 1), kWindow, kScreen), QPoint(0, 0));
    // 11 pixels away: left where it is.
    EXPECT_EQ(MagnetPosition(QPoint(11, 200), kWindow, kScreen), QPoint(11, 200));
    EXPECT_EQ(MagnetPosition(QPoint(300, 11), kWindow, kScreen), QPoint(300, 11));
    EXPECT_EQ(MagnetPosition(QPoint(300, 4), kWindow, kScreen), QPoint(300, 0));
}

TEST(WindowMagnet, FarEdgesSnapAgainstTheWholeScreen) {
    // Right edge 6 pixels short of the screen's: moved onto it.
    EXPECT_EQ(MagnetPosition(QPoint(1280 - 836 - 6, 200), kWindow, kScreen),
              QPoint(1280 - 836, 200));
    EXPECT_EQ(MagnetPosition(QPoint(1280 - 836 - 10, 200), kWindow, kScreen),
              QPoint(1280 - 836, 200));
    EXPECT_EQ(MagnetPosition(QPoint(1280 - 836 - 11, 200), kWindow, kScreen),
              QPoint(1280 - 836 - 11, 200));
    // Bottom: the whole screen counts, not the work area above a panel.
    EXPECT_EQ(MagnetPosition(QPoint(300, 800 - 354 - 3), kWindow, kScreen), QPoint(300, 800 - 354));
}

TEST(WindowMagnet, WindowsOnOrPastAnEdgeAreNotPulledBack) {
    EXPECT_EQ(MagnetPosition(QPoint(0, 200), kWindow, kScreen), QPoint(0, 200));
    EXPECT_EQ(MagnetPosition(QPoint(-5, -3), kWindow, kScreen), QPoint(-5, -3));
    EXPECT_EQ(MagnetPosition(QPoint(1280 - 836 + 4, 800 - 354 + 9), kWindow, kScreen),
              QPoint(1280 - 836 + 4, 800 - 354 + 9));
    EXPECT_EQ(MagnetPosition(QPoint(1280 - 836, 800 - 354), kWindow, kScreen),
              QPoint(1280 - 836, 800 - 354));
}

TEST(WindowMagnet, NearAndFarRulesApplyInTurn) {
    // A window nearly as wide as the screen: the left rule puts it at 0, and
    // from there its right edge is within reach of the screen's.
    const QSize wide(1275, 300);
    EXPECT_EQ(MagnetPosition(QPoint(3, 100), wide, kScreen), QPoint(5, 100));
    // A screen that does not start at the origin snaps to its own edges.
    const QRect second(1280, 0, 1024, 768);
    EXPECT_EQ(MagnetPosition(QPoint(1288, 5), kWindow, second), QPoint(1280, 0));
    EXPECT_EQ(MagnetPosition(QPoint(1280 + 1024 - 836 - 2, 300), kWindow, second),
              QPoint(1280 + 1024 - 836, 300));
}

} // namespace

// A press becomes a window move only after the pointer travelled the drag
// distance with the button held, and only once; a release or a lost button
// disarms it, so two clicks in place stay a double click.
TEST(PendingMoveTest, StartsOnceBeyondTheDragDistanceWithTheButtonHeld) {
    PendingMove move;
    EXPECT_FALSE(move.Moved(QPoint(500, 500), true, 10)); // nothing pressed
    move.Press(QPoint(100, 100));
    EXPECT_FALSE(move.Moved(QPoint(104, 105), true, 10)); // 9: a jitter of a click
    EXPECT_TRUE(move.Armed());
    EXPECT_TRUE(move.Moved(QPoint(94, 104), true, 10)); // 10, either way
    EXPECT_EQ(move.Origin(), QPoint(100, 100));
    EXPECT_FALSE(move.Armed());
    EXPECT_FALSE(move.Moved(QPoint(150, 150), true, 10)); // started already

    move.Press(QPoint(100, 100));
    move.Cancel(); // released in place
    EXPECT_FALSE(move.Moved(QPoint(150, 150), true, 10));

    move.Press(QPoint(100, 100));
    EXPECT_FALSE(move.Moved(QPoint(150, 150), false, 10)); // the button went up elsewhere
    EXPECT_FALSE(move.Armed());
}
