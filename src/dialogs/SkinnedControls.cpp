#include "dialogs/SkinnedControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>

namespace SkinnedControls {

void StyleCaption(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kCaption);
    label->setPalette(palette);
}

void StyleLineEdit(QLineEdit* edit) {
    edit->setStyleSheet(QStringLiteral(
        "QLineEdit { color: rgb(255, 205, 51); background: rgb(13, 13, 13); "
        "border: 1px solid rgb(72, 72, 72); padding: 0px 3px; "
        "selection-color: rgb(13, 13, 13); selection-background-color: rgb(255, 205, 51); }"
        "QLineEdit:focus { border: 1px solid rgb(138, 106, 30); }"));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::PlaceholderText, QColor(120, 112, 92));
    edit->setPalette(palette);
}

void StylePushButton(QPushButton* button) {
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: rgb(236, 194, 84); border: 1px solid rgb(110, 88, 34); "
        "border-radius: 4px; padding: 0px 8px; background: qlineargradient(x1: 0, y1: 0, "
        "x2: 0, y2: 1, stop: 0 rgb(60, 60, 67), stop: 1 rgb(30, 30, 34)); }"
        "QPushButton:hover, QPushButton:focus { color: rgb(255, 242, 190); "
        "border-color: rgb(255, 205, 51); background: qlineargradient(x1: 0, y1: 0, x2: 0, "
        "y2: 1, stop: 0 rgb(112, 84, 24), stop: 1 rgb(52, 39, 10)); }"
        "QPushButton:pressed { color: rgb(220, 170, 60); border-color: rgb(160, 125, 34); "
        "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(22, 20, 16), "
        "stop: 1 rgb(58, 44, 12)); }"));
}

} // namespace SkinnedControls

CSkinComboBox::CSkinComboBox(QWidget* parent) : QComboBox(parent) {
    setStyleSheet(QStringLiteral(
        "QComboBox { color: rgb(255, 205, 51); background: rgb(13, 13, 13); "
        "border: 1px solid rgb(72, 72, 72); padding: 0px 4px; }"
        "QComboBox:focus { border: 1px solid rgb(138, 106, 30); }"
        "QComboBox::drop-down { border: none; width: 14px; }"
        "QComboBox::down-arrow { image: none; }"
        "QComboBox QAbstractItemView { color: rgb(255, 205, 51); "
        "background: rgb(13, 13, 13); selection-background-color: rgb(72, 58, 16); }"));
}

void CSkinComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(SkinnedControls::kCaption);
    const qreal cx = width() - 8.5;
    const qreal cy = height() / 2.0;
    const QPointF arrow[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2.5}};
    painter.drawPolygon(arrow, 3);
}
