#include "mainwindow/WebPanel.h"

#include "app/Endpoints.h"
#include "mainwindow/ControlIds.h"

#include <QMetaObject>
#include <QWidget>

QString WebPanel::SubTabPage(int id) {
    if (id >= ControlId::MusicSubTabFirst && id <= ControlId::MusicSubTabLast)
        return Endpoints::MusicPagePaths().value(id - ControlId::MusicSubTabFirst);
    if (id >= ControlId::MovieSubTabFirst && id <= ControlId::MovieSubTabLast)
        return Endpoints::MoviePagePaths().value(id - ControlId::MovieSubTabFirst);
    return QString();
}

void WebPanel::Create() {
    if (browser_ || !factory_)
        return;
    browser_ = factory_(&window_);
    if (!browser_)
        return;
    browser_->setObjectName(QStringLiteral("WebBrowser"));
    Place(box_, shown_);
}

void WebPanel::Place(const QRect& box, bool shown) {
    box_ = box;
    shown_ = shown;
    if (!browser_)
        return;
    // The browser shares the list's rectangle (empty while the panel is
    // closed); the list covers it on the channel tab.
    browser_->setGeometry(box);
    browser_->setVisible(!box.isEmpty() && shown);
}

void WebPanel::Navigate(const QString& address) {
    address_ = address;
    Create();
    if (browser_)
        QMetaObject::invokeMethod(browser_, "Navigate", Q_ARG(QString, address));
}
