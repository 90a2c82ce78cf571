#pragma once

#include <QColor>
#include <QComboBox>

class QLabel;
class QLineEdit;
class QPushButton;

// The look the settings dialog's own controls share, so that every page is
// drawn in the dialog's skin: yellow text on the dark picture, boxes and
// fields dark with a thin grey frame, buttons like the pictured ones.
namespace SkinnedControls {

// The captions' yellow, drawn straight on the background picture.
inline const QColor kCaption(255, 205, 51);

// A caption on the background picture.
void StyleCaption(QLabel* label);
// A text field: dark, yellow text, dimmed example text.
void StyleLineEdit(QLineEdit* edit);
// A button with a caption of its own, in the pictured buttons' colours.
void StylePushButton(QPushButton* button);

} // namespace SkinnedControls

// A drop-down list in the skin's colours, its arrow drawn in the captions'
// yellow (the style's own arrow would be dark on dark).
class CSkinComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CSkinComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
