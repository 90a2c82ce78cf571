#pragma once

#include "skin/PendingMove.h"
#include "skin/SkinInventory.h"

#include <QDialog>
#include <QPixmap>
#include <QPoint>

class CMinsButton;

// The frame the program's small dialogs share: no caption or border, one
// background picture drawn 1:1 that sets the dialog's size, dragging by any
// spot of the background, Enter and Esc that do nothing, and an end that is
// always the cancel result. Each dialog adds its own controls and steps.
class CSkinnedDialog : public QDialog {
    Q_OBJECT
public:
    // backgroundId: the skin picture of the background. fallbackSize: the
    // dialog's size should the picture be missing.
    CSkinnedDialog(PictureId backgroundId, QSize fallbackSize, QWidget* parent = nullptr);

    // Places a hover button (its stored rectangle and its window) in client pixels.
    static void PlaceButton(CMinsButton* button, int left, int top, int width, int height);

    // Makes the close box, control 1004, with its pictures at (left, top).
    CMinsButton* AddCloseBox(int left, int top);

    // Every way of ending gives the cancel result.
    void done(int result) override;

    const QPixmap& Background() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CentreOverOwner();

    PictureId backgroundId_;
    QPixmap background_;
    bool filtering_ = false;
    PendingMove pendingMove_;
    bool movingByHand_ = false;
    QPoint grabOffset_;
};
