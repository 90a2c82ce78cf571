#include "web/CWebBrowser2.h"

#include "web/WebBrowserEntry.h"

#include <QUrl>
#include <QWebEnginePage>

CWebBrowser2::CWebBrowser2(QWidget* parent) : QWebEngineView(parent) {
    setObjectName(QStringLiteral("WebBrowser"));
    setAccessibleName(QStringLiteral("WebBrowser"));
    // The panel is black; an empty or loading page must not flash white there.
    page()->setBackgroundColor(Qt::black);
}

void CWebBrowser2::Navigate(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return;
    load(url);
}

extern "C" Q_DECL_EXPORT QWidget* waveorbit_create_web_browser(QWidget* parent) {
    auto* browser = new CWebBrowser2(parent);
    browser->hide();
    return browser;
}
