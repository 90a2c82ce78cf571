#pragma once

#include "skin/SkinInventory.h"
#include "skin/SkinMetrics.h"

#include <QAbstractButton>
#include <QPixmap>

#include <optional>

// The one button of the program: shows its normal, pressed or hovered
// picture and nothing else (no text, no focus frame, no border). It never
// takes the keyboard focus, so keys always reach the window.
class CMinsButton : public QAbstractButton {
    Q_OBJECT
public:
    // accessibleRole: the button's Korean role for screen readers ("재생",
    // "닫기", ...). It is never shown.
    CMinsButton(int controlId, const QString& accessibleRole, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }

    // Makes the three skin pictures with these ids the button's pictures,
    // replacing the ones it held. The pictures are the ones for the button's
    // screen, loaded again when its device pixel ratio changes; each is read
    // when first needed (a button hidden at start, or never pressed, reads
    // none or one). Does not repaint by itself.
    void SetImages(PictureId normalId, PictureId pressedId, PictureId hoveredId);
    void SetImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hovered);

    // The rectangle the layout gave the button; its size is what is drawn.
    void SetButtonRect(const Box& box);
    const Box& ButtonRect() const { return rect_; }

    bool IsHovered() const { return hovered_; }

    // Which picture a repaint shows now.
    enum class Picture { Normal, Pressed, Hovered };
    Picture CurrentPicture() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void LoadPictures(double devicePixelRatio);
    // The picture to draw, read from the skin on first use.
    const QPixmap& PictureOf(Picture which) const;

    struct PictureIds {
        PictureId normal, pressed, hovered;
    };
    int controlId_;
    // The skin pictures the button shows, when it shows skin pictures.
    std::optional<PictureIds> ids_;
    double picturesRatio_ = 1.0;
    bool hovered_ = false;
    // Read on first use (PictureOf) when the button shows skin pictures.
    mutable QPixmap normal_;
    mutable QPixmap pressed_;
    mutable QPixmap hovered_picture_;
    mutable bool normalRead_ = true;
    mutable bool pressedRead_ = true;
    mutable bool hoveredRead_ = true;
    Box rect_;
};
