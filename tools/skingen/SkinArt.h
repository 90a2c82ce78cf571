#pragma once

#include <QImage>
#include <QString>

// Drawing of every skin picture. Everything is drawn in the picture's own
// pixel coordinates; the painter may be scaled (the @2x set) and the shapes
// and texts scale with it.
namespace SkinArt {

enum class Look { Normal, Hover, Pressed };

// Registers the Nanum faces from their files, so the output does not depend
// on what the font configuration of the machine happens to prefer. Returns
// false when a face is missing.
bool LoadFonts(QString* error);

// The picture `id` at `scale` times its size. `look` only matters for the
// hover pictures of buttons, whose Pressed look is the darker, shifted one.
QImage RenderPicture(int id, int scale, Look look = Look::Hover);

// The application icon (id 128) at size x size, with alpha.
QImage RenderAppIcon(int size);

} // namespace SkinArt
