#include "skin/SkinInventory.h"

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

QImage LoadSkinImage(PictureId id, double devicePixelRatio) {
    if (UsesSharpPictures(devicePixelRatio)) {
        QImage sharp(SkinPath2x(id));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QImage(SkinPath(id));
}

QPixmap LoadSkinPixmap(PictureId id, double devicePixelRatio) {
    if (UsesSharpPictures(devicePixelRatio)) {
        QPixmap sharp(SkinPath2x(id));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QPixmap(SkinPath(id));
}

QString AppIconPath() {
    return QStringLiteral(":/icons/128.png");
}

QString AppIconPath(int size) {
    return QStringLiteral(":/icons/hicolor/%1x%1/waveorbit.png").arg(size);
}
