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

// ":/skin/<id>-pressed.png" for a hover picture that has a pressed look, else
// SkinPath(id): callers can ask for it unconditionally.
QString SkinPressedPath(int id);

// ":/icons/128.png" (256 x 256, with alpha).
QString AppIconPath();

// ":/icons/hicolor/<n>x<n>/waveorbit.png" for n in 16, 22, 24, 32, 48, 64, 128, 256.
QString AppIconPath(int size);
