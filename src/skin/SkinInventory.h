#pragma once

#include <QString>
#include <cstddef>

// Every picture of the skin, by its resource id, with the exact size the
// layout and the composition rules rely on. The pictures are PNG files
// compiled in with Qt's resource system (resources/skin/<id>.png, drawn by
// tools/skingen); other code loads them with QPixmap(SkinPath(id)).

struct SkinPicture {
    int id;
    int width;
    int height;
    const char* purpose;
    // Buttons show one picture when hovered and when pressed. For those
    // "hover" pictures the generator also draws a darker, shifted pressed
    // look, so a button can show three distinct states when it wants to.
    bool hasPressedLook;
};

// The application icon (resource 128).
constexpr int kSkinAppIconId = 128;

// The whole table, sorted by id.
const SkinPicture* SkinPictures();
std::size_t SkinPictureCount();

// The entry for an id, or nullptr when the skin has no such picture.
const SkinPicture* FindSkinPicture(int id);

// ":/skin/<id>.png".
QString SkinPath(int id);

// ":/skin/<id>@2x.png": the same picture drawn at twice the resolution.
QString SkinPath2x(int id);

// The path to load on a screen with the given device pixel ratio: the @2x
// picture above 1, else the plain one. QPixmap does not look for "@2x" files
// by itself (only QIcon does); a pixmap loaded from an "@2x" path gets the
// device pixel ratio 2, so it draws at the picture's logical size.
QString SkinPathForRatio(int id, double devicePixelRatio);

// ":/skin/<id>-pressed.png" for a hover picture that has a pressed look, else
// SkinPath(id): callers can ask for it unconditionally.
QString SkinPressedPath(int id);

// Where the installer background (129) paints the frames and button faces
// that the wizard's own controls sit on, in client pixels (left, top, right,
// bottom; right and bottom exclusive). They match the wizard's layout
// (src/installer/InstallerLayout.h): the template's places at 1.75 pixels
// per dialog unit across and 1.5 down, the buttons on the painted faces.
struct SkinRect {
    int left, top, right, bottom;
};
constexpr SkinRect kInstallerTermsBox{33, 120, 549, 270}; // edit 1001
constexpr SkinRect kInstallerAgreeBox{33, 275, 210, 290}; // check box 1000
constexpr SkinRect kInstallerBack{292, 319, 382, 341};    // button 1002
constexpr SkinRect kInstallerNext{386, 319, 472, 341};    // button 1003
constexpr SkinRect kInstallerCancel{486, 319, 572, 341};  // button 1004
constexpr SkinRect kInstallerCloseSpot{564, 5, 580, 19};
constexpr SkinRect kInstallerMinimiseSpot{530, 5, 546, 19};

// ":/icons/128.png" (256 x 256, with alpha).
QString AppIconPath();

// ":/icons/hicolor/<n>x<n>/waveorbit.png" for n in 16, 22, 24, 32, 48, 64, 128, 256.
QString AppIconPath(int size);
