#include "skin/SkinStrips.h"

#include "skin/SkinInventory.h"

#include <QFont>
#include <QPainter>
#include <QStringList>

namespace {

const QImage& NullImage() {
    static const QImage none;
    return none;
}

QImage NewStrip(QSize size) {
    if (size.width() <= 0 || size.height() <= 0)
        return QImage();
    QImage strip(size, QImage::Format_RGB32);
    strip.fill(Qt::black);
    return strip;
}

void Put(QPainter& p, int x, int y, const QImage& piece) {
    if (!piece.isNull())
        p.drawImage(QPoint(x, y), piece);
}

// A one-pixel-high tile on every row of the strip.
QImage RowTiled(QSize size, const QImage& tile) {
    QImage strip = NewStrip(size);
    if (strip.isNull() || tile.isNull())
        return strip;
    QPainter p(&strip);
    for (int y = 0; y < size.height(); ++y)
        p.drawImage(QPoint(0, y), tile);
    return strip;
}

QFont SkinFont(int pixelHeight) {
    QFont font;
    // The face the skin was designed for, and the Korean face every
    // installation of this program has.
    font.setFamilies(QStringList{QStringLiteral("돋움"), QStringLiteral("Dotum"),
                                 QStringLiteral("NanumGothic")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

// One line, left and top aligned, cut at the box's right edge, never wrapped.
void DrawBoxText(QPainter& p, const Box& box, const QString& text, int pixelHeight,
                 const QColor& colour) {
    if (text.isEmpty() || box.IsEmpty())
        return;
    p.save();
    p.setFont(SkinFont(pixelHeight));
    p.setPen(colour);
    p.setClipRect(box.ToRect());
    p.drawText(box.ToRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

} // namespace

const QImage& SkinPictureSet::Get(int id) const {
    const auto it = images_.find(id);
    return it == images_.end() ? NullImage() : it->second;
}

SkinPictureSet SkinPictureSet::LoadFrame() {
    SkinPictureSet pictures;
    for (int id = SkinPiece::CaptionLeft; id <= SkinPiece::BottomRight; ++id)
        pictures.Set(id, QImage(SkinPath(id)));
    for (int id : {SkinPiece::LampLit, SkinPiece::LampUnlit, SkinPiece::VolumeBar})
        pictures.Set(id, QImage(SkinPath(id)));
    return pictures;
}

QImage ComposeCaptionStrip(const Layout& layout, const SkinPictureSet& pictures,
                           const QString& captionText) {
    QImage strip = NewStrip(layout.captionStrip.size);
    if (strip.isNull())
        return strip;
    QPainter p(&strip);
    Put(p, 0, 0, pictures.Get(SkinPiece::CaptionLeft));
    const QImage& tile = pictures.Get(SkinPiece::CaptionTile);
    if (!tile.isNull())
        for (int x = layout.L + 113; x <= layout.R - 85; ++x)
            p.drawImage(QPoint(x, 0), tile);
    Put(p, layout.R - 85, 0, pictures.Get(SkinPiece::CaptionRight));
    DrawBoxText(p, layout.captionText, captionText, 11, QColor(255, 255, 255));
    return strip;
}

QImage ComposeLeftBorderStrip(const Layout& layout, const SkinPictureSet& pictures) {
    return RowTiled(layout.leftBorderStrip.size, pictures.Get(SkinPiece::LeftTile));
}

QImage ComposeVideoStrip(const Layout& layout, const SkinPictureSet& pictures) {
    QImage strip = NewStrip(layout.videoStrip.size);
    if (strip.isNull())
        return strip;
    QPainter p(&strip);
    Put(p, layout.logo.left, layout.logo.top, pictures.Get(SkinPiece::Logo));
    return strip;
}

QImage ComposeDividerStrip(const Layout& layout, const SkinPictureSet& pictures) {
    return RowTiled(layout.dividerStrip.size, pictures.Get(SkinPiece::DividerTile));
}

QImage ComposeListPanelStrip(const Layout& layout, const SkinPictureSet& pictures, int lampId,
                             const QString& statusText) {
    QImage strip = NewStrip(layout.listPanelStrip.size);
    if (strip.isNull())
        return strip;
    QPainter p(&strip);
    Put(p, 0, 0, pictures.Get(SkinPiece::PanelTop));
    const int bottomRow = layout.B - layout.T - 77;
    const QImage& tile = pictures.Get(SkinPiece::PanelTile);
    if (!tile.isNull())
        for (int y = 89; y < bottomRow; ++y)
            p.drawImage(QPoint(0, y), tile);
    Put(p, 0, bottomRow, pictures.Get(SkinPiece::PanelBottom));
    Put(p, 0, 7, pictures.Get(lampId));
    DrawBoxText(p, layout.statusTextInStrip, statusText, 12, QColor(255, 204, 51));
    return strip;
}

QImage ComposeRightBorderStrip(const Layout& layout, const SkinPictureSet& pictures) {
    return RowTiled(layout.rightBorderStrip.size, pictures.Get(SkinPiece::RightTile));
}

QImage ComposeBottomBarStrip(const Layout& layout, const SkinPictureSet& pictures,
                             int indicatorOffset) {
    QImage strip = NewStrip(layout.bottomBarStrip.size);
    if (strip.isNull())
        return strip;
    QPainter p(&strip);
    Put(p, 0, 0, pictures.Get(SkinPiece::BottomLeft));
    const QImage& tile = pictures.Get(SkinPiece::BottomTile);
    if (!tile.isNull())
        for (int x = layout.L + 140; x <= layout.R - 12; ++x)
            p.drawImage(QPoint(x, 0), tile);
    Put(p, layout.R - 12, 0, pictures.Get(SkinPiece::BottomRight));

    // The level bar: a 50-pixel window onto the 100-pixel picture. Only the
    // part of the window that lies on the picture is copied, so an offset
    // from an out-of-range stored volume cannot read outside it.
    const QImage& bar = pictures.Get(SkinPiece::VolumeBar);
    const Box& area = layout.volumeArea;
    if (!bar.isNull()) {
        const QRect window(indicatorOffset, 0, area.Width(), area.Height());
        const QRect source = window.intersected(bar.rect());
        if (!source.isEmpty())
            p.drawImage(QPoint(area.left + (source.left() - window.left()), 11), bar, source);
    }
    return strip;
}

bool DrawsVideoStrip(bool playing, int category) {
    return !playing || category == 4 || category == 5;
}
