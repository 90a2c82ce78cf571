#pragma once

class QKeyEvent;
class QWidget;

// Whether a key is for the widget that has the focus rather than for the
// main window: one typed into a text field, or any key while the web page
// (the browser or a widget inside it) has the focus.
bool KeyBelongsToFocus(const QWidget* target, const QKeyEvent& event, const QWidget* window,
                       const QWidget* webBrowser);
