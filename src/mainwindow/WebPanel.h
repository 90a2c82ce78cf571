#pragma once

#include "app/ControlIds.h"

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// The embedded browser of the music and movie tabs. The engine is big and
// slow to start, so the browser is made the first time a page is to be
// shown, never just because the window opened; what makes it is handed in
// (the web module's factory, or a stand-in in tests).
class WebPanel {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;

    explicit WebPanel(QWidget& window) : window_(window) {}

    void SetFactory(Factory factory) { factory_ = std::move(factory); }
    // Where a page of the build's service is really shown: the window sends
    // the pages to the service the tabs use; an empty address means there is
    // none, and the browser shows a local notice instead.
    void SetPageAddress(std::function<QString(const QString& address)> pageAddress) {
        pageAddress_ = std::move(pageAddress);
    }
    // The browser; null until a page is first shown or without a factory.
    QWidget* Browser() const { return browser_; }

    // Puts the browser in the list's rectangle and shows it only where a
    // web tab is current with the panel open.
    void Place(const QRect& box, bool shown);
    // Sends the browser to a page, making it first when needed; without a
    // service, shows the notice that says what is missing.
    void Navigate(const QString& address);

    // The page of a web sub-tab button (1023..1029); empty for any other id.
    static QString SubTabPage(ControlId id);

private:
    void Create();

    QWidget& window_;
    Factory factory_;
    std::function<QString(const QString&)> pageAddress_;
    QWidget* browser_ = nullptr;
    QRect box_;
    bool shown_ = false;
};
