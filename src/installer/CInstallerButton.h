#pragma once

#include "installer/InstallerLayout.h"

#include <QAbstractButton>
#include <QPixmap>

// The wizard's push button: it shows one of three pictures (normal, pressed,
// hovered), like the player's buttons, but the pictures are drawn here from
// the button's caption, so the wizard needs no button pictures of its own.
// The default button (Next) is drawn in gold.
class CInstallerButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Picture { Normal, Pressed, Hovered };

    CInstallerButton(InstallerLayout::Control id, const QString& caption, bool gold,
                     QWidget* parent = nullptr);

    InstallerLayout::Control ControlId() const { return controlId_; }
    Picture CurrentPicture() const;

    // One picture of a button of the given size and caption.
    static QPixmap DrawPicture(QSize size, const QString& caption, bool gold, Picture look,
                               qreal devicePixelRatio = 1.0);

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RedrawPictures();

    InstallerLayout::Control controlId_;
    bool gold_;
    bool hovered_ = false;
    QPixmap pictures_[3];
    qreal picturesRatio_ = 0;
};
