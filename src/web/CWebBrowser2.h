#pragma once

#include <QWebEngineView>

// The browser of the music and movie tabs: it shows the page of an address,
// loading it in the background, or a page of the program's own. Nothing is
// read back from it and none of its events are handled.
class CWebBrowser2 : public QWebEngineView {
    Q_OBJECT
public:
    explicit CWebBrowser2(QWidget* parent = nullptr);

    // Starts loading the page; returns at once. Only http and https
    // addresses are opened: the browser never shows local files.
    Q_INVOKABLE void Navigate(const QString& address);
    // Shows a page the program made itself (the notice that no service is
    // set), without fetching anything.
    Q_INVOKABLE void ShowPage(const QString& html);
};
