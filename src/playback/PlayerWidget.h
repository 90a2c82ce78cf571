#pragma once

#include "playback/MediaPlayer.h"

#include <QPoint>
#include <QWidget>

// The player as the main window sees it: a child widget that shows the
// picture, takes the player operations, and reports the mouse over the
// picture and the end of what it played. CWMPPlayer4 is the real one; tests
// put a stand-in in its place.
class PlayerWidget : public QWidget, public MediaPlayer {
    Q_OBJECT
public:
    explicit PlayerWidget(QWidget* parent = nullptr) : QWidget(parent) {}

signals:
    void doubleClicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMoved(QPoint position);
    // The status the player reports has changed.
    void statusChanged();
    // The media that was open came to its end (see lastEnd()).
    void mediaEnded();
    // The stream's own title of what it plays now (a radio's ICY title),
    // empty when there is none or the media was closed.
    void streamTitleChanged(const QString& title);
    void frameRendered();
};
