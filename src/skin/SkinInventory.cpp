#include "skin/SkinInventory.h"

#include <QImageReader>
#include <QPixmapCache>

const SkinPicture* SkinPictures() {
    return kSkinPictures;
}

std::size_t SkinPictureCount() {
    return std::size(kSkinPictures);
}

bool UsesSharpPictures(double devicePixelRatio) {
    return devicePixelRatio >= kSharpPictureRatio;
}

QString SkinPath(PictureId id) {
    return QStringLiteral(":/skin/%1.png").arg(PictureNumber(id));
}

QString SkinPath2x(PictureId id) {
    return QStringLiteral(":/skin/%1@2x.png").arg(PictureNumber(id));
}

QString SkinPathForRatio(PictureId id, double devicePixelRatio) {
    return UsesSharpPictures(devicePixelRatio) ? SkinPath2x(id) : SkinPath(id);
}

QString SkinPressedPath(PictureId id) {
    const SkinPicture* p = FindSkinPicture(id);
    if (p != nullptr && p->hasPressedLook)
        return QStringLiteral(":/skin/%1-pressed.png").arg(PictureNumber(id));
    return SkinPath(id);
}

namespace {

// Every picture of the skin is a PNG file: read as one, the format is not
// asked of every image plugin Qt has, which would load them all (the GIF,
// ICO and JPEG readers and libjpeg) to find it.
QImage ReadPng(const QString& path) {
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// As QPixmap(path) does, each picture is decoded once and then shared from
// the pixmap cache.
QPixmap PngPixmap(const QString& path) {
    const QString key = QStringLiteral("waveorbit-png:") + path;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(ReadPng(path));
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

QImage LoadSkinImage(PictureId id, double devicePixelRatio) {
    if (UsesSharpPictures(devicePixelRatio)) {
        QImage sharp = ReadPng(SkinPath2x(id));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return ReadPng(SkinPath(id));
}

QPixmap LoadSkinPixmap(PictureId id, double devicePixelRatio) {
    if (UsesSharpPictures(devicePixelRatio)) {
        QPixmap sharp = PngPixmap(SkinPath2x(id));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return PngPixmap(SkinPath(id));
}

QIcon AppIcon() {
    // The sizes window managers, task bars and trays draw, each decoded once
    // (the pixmap cache) for the window and the tray icon. Not the 256-pixel
    // picture: the window's icon property carries every size the icon has,
    // and that one alone made the start half a megabyte larger (decoded, and
    // copied for the window system). Launchers show the installed icon files.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(PngPixmap(AppIconPath(size)));
    return icon;
}

QString AppIconPath() {
    return QStringLiteral(":/icons/128.png");
}

QString AppIconPath(int size) {
    return QStringLiteral(":/icons/hicolor/%1x%1/waveorbit.png").arg(size);
}
