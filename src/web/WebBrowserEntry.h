#pragma once

// The one symbol the web module exports. The window resolves it by name after
// loading the module, so nothing of Qt WebEngine is linked into the program.
//
// Makes the browser as a hidden child of `parent`. The widget has the
// invokable slots Navigate(QString address) and ShowPage(QString html), which
// the window calls through Qt's meta-object system; nothing else of it is used.
#define WAVEORBIT_WEB_ENTRY_NAME "waveorbit_create_web_browser"

class QWidget;
extern "C" {
using WaveorbitCreateWebBrowser = QWidget* (*)(QWidget* parent);
}
