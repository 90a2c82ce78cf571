#pragma once

#include "skin/SkinInventory.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Where everything of the wizard's window sits, in window pixels. The window
// is the size of its background picture; the text box and the check box keep
// their places from the dialog's template (dialog units of the 9-point
// Korean dialog font: 1.75 pixels across, 1.5 down); the buttons cover the
// buttons painted on the background.
namespace InstallerLayout {

constexpr PictureId kBackgroundId = PictureId::InstallerBackground;
constexpr QSize kWindowSize(585, 358);

// The wizard's controls; the values are the dialog's resource numbers.
enum class Control { Agree = 1000, Terms = 1001, Back = 1002, Next = 1003, Cancel = 1004 };

constexpr QRect kTermsRect(33, 120, 516, 150); // 19, 80, 295, 100 dialog units
constexpr QRect kAgreeRect(33, 275, 177, 15);  // 19, 183, 101, 10
constexpr QRect kBackRect(292, 319, 90, 22);
constexpr QRect kNextRect(386, 319, 86, 22);
constexpr QRect kCancelRect(486, 319, 86, 22);

// The painted title-bar boxes that work, as left, top, right, bottom with
// the right and bottom edges outside (a press on x = 580 misses the close box).
constexpr QRect kCloseHotSpot(QPoint(564, 5), QPoint(579, 18));
constexpr QRect kMinimiseHotSpot(QPoint(530, 5), QPoint(545, 18));

// What a left press on the window's own surface (not on a control) does.
enum class Press { Close, Minimise, Move };

inline Press HitTest(QPoint point) {
    if (kCloseHotSpot.contains(point))
        return Press::Close;
    if (kMinimiseHotSpot.contains(point))
        return Press::Minimise;
    return Press::Move; // the painted maximise box too: it only moves
}

} // namespace InstallerLayout
