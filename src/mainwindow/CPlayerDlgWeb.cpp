// The channel panel's web side: the music and movie tabs with their sub-tabs,
// the embedded browser they drive, and the home-page button.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ChannelSources.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "skin/CMinsButton.h"

#include <QMetaObject>

namespace {

// The page of a sub-tab button (1023..1029); empty for any other id.
QString SubTabPage(int id) {
    if (id >= ControlId::MusicSubTabFirst && id <= ControlId::MusicSubTabLast)
        return Endpoints::MusicPagePaths().value(id - ControlId::MusicSubTabFirst);
    if (id >= ControlId::MovieSubTabFirst && id <= ControlId::MovieSubTabLast)
        return Endpoints::MoviePagePaths().value(id - ControlId::MovieSubTabFirst);
    return QString();
}

} // namespace

void CPlayerDlg::CreateWebBrowser() {
    // The engine is big and slow to start, so the browser is made the first
    // time a page is to be shown, never just because the window opened.
    if (webBrowser_ || !webBrowserFactory_)
        return;
    webBrowser_ = webBrowserFactory_(this);
    if (!webBrowser_)
        return;
    webBrowser_->setObjectName(QStringLiteral("WebBrowser"));
    PlaceWebBrowser();
}

void CPlayerDlg::PlaceWebBrowser() {
    if (!webBrowser_)
        return;
    // The browser shares the list's rectangle (empty while the panel is
    // closed); the list covers it on the channel tab, so it is only shown
    // on a web tab with the panel open.
    const Box& box = layout_.browser.box;
    webBrowser_->setGeometry(box.ToRect());
    webBrowser_->setVisible(!box.IsEmpty() && session_->IsListPanelOpen() &&
                            session_->MainTab() != MainTab::Channels);
}

QString CPlayerDlg::ServicePage(const QString& buildTimeAddress) const {
    const SourceSettings& settings = sources_->Settings();
    const QString service = settings.ServiceAddress();
    // The build's own service keeps the pages as they were built.
    for (const ChannelSource& tab : settings.Defaults().tabs) {
        if (!service.isEmpty() && tab.kind == ChannelSource::Kind::Service &&
            tab.address == service)
            return buildTimeAddress;
    }
    return ServicePages::PageAddress(settings, buildTimeAddress, Endpoints::ServiceBaseAddress());
}

void CPlayerDlg::NavigateWebBrowser(const QString& buildTimeAddress) {
    // The pages follow the service the tabs use; without one, a local page
    // says what is missing instead of an error page.
    const QString address = ServicePage(buildTimeAddress);
    webPageAddress_ = address;
    CreateWebBrowser();
    if (webBrowser_)
        QMetaObject::invokeMethod(webBrowser_, "Navigate", Q_ARG(QString, address));
}

void CPlayerDlg::OnMainTabButton(int tab) {
    switch (tab) {
    case MainTab::Channels:
        SelectMainTab(MainTab::Channels);
        // The channel lists always come back on the TV tab.
        OpenCategoryTab(Category::Tv);
        break;
    case MainTab::Music:
    case MainTab::Movie:
        SelectMainTab(tab);
        // Choosing the tab again starts it over at its first page.
        NavigateWebBrowser(Endpoints::PageAddress(tab == MainTab::Music
                                                      ? Endpoints::MusicPagePaths().value(0)
                                                      : Endpoints::MoviePagePaths().value(0)));
        PlaceWebBrowser();
        break;
    default:
        return;
    }
    update(layout_.browser.box.ToRect());
}

void CPlayerDlg::OnHomePageButton() {
    // Only the pictures say the button was pressed; the panel, the main tab
    // and the browser's page stay as they are.
    const struct {
        int id;
        PictureId picture;
    } pictures[] = {{ControlId::TabChannels, PictureId::TabChannels},
                    {ControlId::TabMusic, PictureId::TabMusic},
                    {ControlId::TabMovie, PictureId::TabMovie},
                    {ControlId::TabHome, PictureId::TabHomeCurrent}};
    for (const auto& p : pictures) {
        Button(p.id)->SetImages(p.picture, p.picture, p.picture);
        Button(p.id)->update();
    }
    update(layout_.browser.box.ToRect());
    OpenHomePage();
}

void CPlayerDlg::OnWebSubTab(int id) {
    const QString path = SubTabPage(id);
    if (path.isEmpty())
        return;
    NavigateWebBrowser(Endpoints::PageAddress(path));
}

void CPlayerDlg::OpenHomePage() {
    if (!sources_->Settings().AnyTabUsesService()) {
        ShowMessage(ServicePages::NoServiceMessage());
        return;
    }
    launcher_->OpenInBrowser(ServicePage(Endpoints::HomePageAddress()));
}
