#include "web/CWebBrowser2.h"

#include "web/WebBrowserEntry.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QSGRendererInterface>
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

void CWebBrowser2::ShowPage(const QString& html) {
    setHtml(html);
}

extern "C" Q_DECL_EXPORT QWidget* waveorbit_create_web_browser(QWidget* parent) {
    // Without OpenGL contexts shared from the start (a machine without a GPU)
    // the engine composits in software, which must be chosen before its first
    // window. Its start-up report of the GL set-up (a logging category that
    // is on by default) reads the share context without checking that there
    // is one, and crashes: it is switched off.
    static const bool prepared = [] {
        if (!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts)) {
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
            QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        }
        return true;
    }();
    Q_UNUSED(prepared);
    auto* browser = new CWebBrowser2(parent);
    browser->hide();
    return browser;
}
