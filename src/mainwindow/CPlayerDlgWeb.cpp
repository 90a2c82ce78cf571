// The channel panel's web side: the music and movie tabs with their sub-tabs,
// the embedded browser they drive, and the home-page button.

#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "skin/CMinsButton.h"

#include "mainwindow/WebPanel.h"

void CPlayerDlg::PlaceWebBrowser() {
    web_->Place(layout_.browser.box.ToRect(),
                session_->IsListPanelOpen() && session_->MainTab() != MainTab::Channels);
}

void CPlayerDlg::OnMainTabButton(MainTab tab) {
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
        web_->Navigate(Endpoints::PageAddress(tab == MainTab::Music
                                                  ? Endpoints::MusicPagePaths().value(0)
                                                  : Endpoints::MoviePagePaths().value(0)));
        PlaceWebBrowser();
        break;
    }
    update(layout_.browser.box.ToRect());
}

void CPlayerDlg::OnHomePageButton() {
    // Only the pictures say the button was pressed; the panel, the main tab
    // and the browser's page stay as they are.
    const struct {
        ControlId id;
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
    launcher_->OpenInBrowser(Endpoints::HomePageAddress());
}

void CPlayerDlg::OnWebSubTab(ControlId id) {
    const QString path = WebPanel::SubTabPage(id);
    if (!path.isEmpty())
        web_->Navigate(Endpoints::PageAddress(path));
}

QWidget* CPlayerDlg::WebBrowser() const {
    return web_->Browser();
}

const QString& CPlayerDlg::WebPageAddress() const {
    return web_->Address();
}

void CPlayerDlg::SetWebBrowserFactory(std::function<QWidget*(QWidget* parent)> factory) {
    web_->SetFactory(std::move(factory));
}
