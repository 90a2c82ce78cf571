// Mouse, wheel and keys of the main window.
#include "mainwindow/CPlayerDlg.h"

#include <QMouseEvent>

void CPlayerDlg::InstallInput() {}
void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
}
void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
}
void CPlayerDlg::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
}
void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
}
void CPlayerDlg::wheelEvent(QWheelEvent* event) {
    QWidget::wheelEvent(event);
}
void CPlayerDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
}
bool CPlayerDlg::eventFilter(QObject* watched, QEvent* event) {
    return QWidget::eventFilter(watched, event);
}
