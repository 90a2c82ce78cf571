#include "mainwindow/SkinStrips.h"

#include "skin/SkinMetrics.h"

#include <QFont>
#include <QPainter>
#include <QStringList>

namespace {

const QImage& NullImage() {
    static const QImage none;
    return none;
}

// A strip starts black: the pictures leave parts of it uncovered.
void Clear(QPainter& p, QSize size) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::black);
}

void Put(QPainter& p, int x, int y, const QImage& piece) {
    if (!piece.isNull())
        p.drawImage(QPoint(x, y), piece);
}

// A one-pixel-high tile on every row of the strip.
void PaintRowTiled(QPainter& p, QSize size, const QImage& tile) {
    Clear(p, size);
    if (tile.isNull())
        return;
    for (int y = 0; y < size.height(); ++y)
        p.drawImage(QPoint(0, y), tile);
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
void DrawBoxText(QPainter& p, const Box& box, const QString& text,
                 const SkinMetrics::TextStyle& style) {
    if (text.isEmpty() || box.IsEmpty())
        return;
    p.save();
    p.setFont(SkinFont(style.pixelHeight));
    p.setPen(QColor::fromRgb(style.colour));
    p.setClipRect(box.ToRect());
    p.drawText(box.ToRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

} // namespace

const QImage& SkinPictureSet::Get(PictureId id) const {
    const auto it = images_.find(id);
    return it == images_.end() ? NullImage() : it->second;
}

SkinPictureSet SkinPictureSet::LoadFrame(double devicePixelRatio) {
    SkinPictureSet pictures(devicePixelRatio);
    for (PictureId id :
         {PictureId::CaptionLeft, PictureId::CaptionTile, PictureId::CaptionRight,
          PictureId::LeftTile, PictureId::Logo, PictureId::DividerTile, PictureId::PanelTop,
          PictureId::PanelTile, PictureId::PanelBottom, PictureId::RightTile, PictureId::BottomLeft,
          PictureId::BottomTile, PictureId::BottomRight, PictureId::LampLit, PictureId::LampUnlit,
          PictureId::VolumeBar})
        pictures.Set(id, LoadSkinImage(id, devicePixelRatio));
    return pictures;
}

void PaintCaptionStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures,
                       const QString& captionText) {
    using namespace SkinMetrics;
    Clear(p, layout.captionStrip.size);
    Put(p, 0, 0, pictures.Get(PictureId::CaptionLeft));
    const QImage& tile = pictures.Get(PictureId::CaptionTile);
    if (!tile.isNull())
        for (int x = layout.L + kCaptionLeftWidth; x <= layout.R - kCaptionRightWidth; ++x)
            p.drawImage(QPoint(x, 0), tile);
    Put(p, layout.R - kCaptionRightWidth, 0, pictures.Get(PictureId::CaptionRight));
    DrawBoxText(p, layout.captionText, captionText, kCaptionTextStyle);
}

void PaintLeftBorderStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures) {
    PaintRowTiled(p, layout.leftBorderStrip.size, pictures.Get(PictureId::LeftTile));
}

void PaintVideoStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures) {
    Clear(p, layout.videoStrip.size);
    Put(p, layout.logo.left, layout.logo.top, pictures.Get(PictureId::Logo));
}

void PaintDividerStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures) {
    PaintRowTiled(p, layout.dividerStrip.size, pictures.Get(PictureId::DividerTile));
}

void PaintListPanelStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures,
                         PictureId lamp, const QString& statusText) {
    using namespace SkinMetrics;
    Clear(p, layout.listPanelStrip.size);
    Put(p, 0, 0, pictures.Get(PictureId::PanelTop));
    const int bottomRow = layout.panelBottom.top;
    const QImage& tile = pictures.Get(PictureId::PanelTile);
    if (!tile.isNull())
        for (int y = kPanelTopHeight; y < bottomRow; ++y)
            p.drawImage(QPoint(0, y), tile);
    Put(p, 0, bottomRow, pictures.Get(PictureId::PanelBottom));
    Put(p, kLampOrigin.x(), kLampOrigin.y(), pictures.Get(lamp));
    DrawBoxText(p, layout.statusTextInStrip, statusText, kStatusTextStyle);
}

void PaintRightBorderStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures) {
    PaintRowTiled(p, layout.rightBorderStrip.size, pictures.Get(PictureId::RightTile));
}

void PaintBottomBarStrip(QPainter& p, const Layout& layout, const SkinPictureSet& pictures,
                         int indicatorOffset) {
    using namespace SkinMetrics;
    Clear(p, layout.bottomBarStrip.size);
    Put(p, 0, 0, pictures.Get(PictureId::BottomLeft));
    const QImage& tile = pictures.Get(PictureId::BottomTile);
    if (!tile.isNull())
        for (int x = layout.L + kBottomLeftWidth; x <= layout.R - kBottomRightWidth; ++x)
            p.drawImage(QPoint(x, 0), tile);
    Put(p, layout.R - kBottomRightWidth, 0, pictures.Get(PictureId::BottomRight));

    // The level bar: a window onto the bar picture, half its width. Only the
    // part of the window that lies on the picture is copied, so an offset
    // from an out-of-range stored volume cannot read outside it. The window
    // is counted in logical pixels; the copy reads the picture's own pixels.
    const QImage& bar = pictures.Get(PictureId::VolumeBar);
    const Box& area = layout.volumeArea;
    if (!bar.isNull()) {
        const double barRatio = bar.devicePixelRatio();
        const QRect barRect(QPoint(0, 0), (QSizeF(bar.size()) / barRatio).toSize());
        const QRect window(indicatorOffset, 0, area.Width(), area.Height());
        const QRect source = window.intersected(barRect);
        if (!source.isEmpty())
            p.drawImage(
                QPointF(area.left + (source.left() - window.left()), kLevelBarTop), bar,
                QRectF(QPointF(source.topLeft()) * barRatio, QSizeF(source.size()) * barRatio));
    }
}

bool ShowsLogoOnly(bool fullScreen, bool playing, bool pictureShown) {
    return fullScreen && playing && !pictureShown;
}

QPoint LogoOnlyOrigin(QSize window, QSize logo) {
    return QPoint((window.width() - logo.width()) / 2, (window.height() - logo.height()) / 2);
}
