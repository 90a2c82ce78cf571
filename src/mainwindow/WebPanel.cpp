#include "mainwindow/WebPanel.h"

#include "app/ControlIds.h"
#include "app/Endpoints.h"
#include "catalogue/ChannelSource.h"
#include "web/ServicePages.h"

#include <QMetaObject>
#include <QWidget>

#include <iterator>

QString WebPanel::SubTabPage(ControlId id) {
    for (int i = 0; i < static_cast<int>(std::size(kMusicSubTabButtons)); ++i)
        if (kMusicSubTabButtons[i] == id)
            return Endpoints::MusicPagePaths().value(i);
    for (int i = 0; i < static_cast<int>(std::size(kMovieSubTabButtons)); ++i)
        if (kMovieSubTabButtons[i] == id)
            return Endpoints::MoviePagePaths().value(i);
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
    const QString page = pageAddress_ ? pageAddress_(address) : address;
    Create();
    if (!browser_)
        return;
    // The browser opens only web addresses; the notice is handed over as the
    // page itself.
    if (page.isEmpty())
        QMetaObject::invokeMethod(browser_, "ShowPage",
                                  Q_ARG(QString, ServicePages::NoServiceHtml()));
    else
        QMetaObject::invokeMethod(browser_, "Navigate", Q_ARG(QString, page));
}
