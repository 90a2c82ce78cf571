#pragma once

// Input for widget tests, sent straight to the widget (no window system).

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Lets posted events (repaints, queued calls, deferred deletes) run.
inline void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A key press alone: the release would reach a widget the press may have closed.
inline void PressKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(to, &press);
}

// A key pressed and released.
inline void TypeKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    PressKey(to, key, modifiers);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(to, &release);
}
