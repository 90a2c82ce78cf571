#include "mainwindow/MainTabs.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/PlayerSession.h"
#include "catalogue/CChannelListView.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/MainButtons.h"
#include "mainwindow/ServiceHome.h"
#include "mainwindow/WindowControls.h"
#include "mainwindow/WindowLayout.h"
#include "skin/CMinsButton.h"

MainTabs::MainTabs(QWidget& window, PlayerSession& session, const WindowControls& controls,
                   const WindowLayout& layout, const ServiceHome& service, ChannelPanel& channels)
    : window_(window), controls_(controls), layout_(layout), service_(service), channels_(channels),
      session_(session), web_(window) {
    // The music and movie pages follow the service the tabs use.
    web_.SetPageAddress([this](const QString& address) { return service_.Page(address); });
}

void MainTabs::ShowGroups(bool categories, bool music, bool movie) {
    for (ControlId id : kCategoryTabButtons)
        controls_.Button(id)->setVisible(categories);
    for (ControlId id : kMusicSubTabButtons)
        controls_.Button(id)->setVisible(music);
    for (ControlId id : kMovieSubTabButtons)
        controls_.Button(id)->setVisible(movie);
}

void MainTabs::Select(MainTab tab) {
    homeHighlighted_ = false;
    Show(tab);
}

void MainTabs::ShowCurrent() {
    Show(session_.MainTab());
}

void MainTabs::ShowPictures() {
    const ControlId highlighted =
        homeHighlighted_ ? ControlId::TabHome : TabControlOf(session_.MainTab());
    for (const TabPictures& t : kMainTabPictures) {
        const PictureId picture = t.id == highlighted ? t.selected : t.plain;
        controls_.Button(t.id)->SetImages(picture, picture, picture);
        controls_.Button(t.id)->update();
    }
}

void MainTabs::Show(MainTab tab) {
    session_.SetMainTab(tab);
    // What the panel then shows (a list or a page) is the tab's own work.
    ShowPictures();
    const bool panel = session_.IsListPanelOpen();
    ShowGroups(panel && tab == MainTab::Channels, panel && tab == MainTab::Music,
               panel && tab == MainTab::Movie);
    if (CChannelListView* list = controls_.listView)
        list->setVisible(panel && tab == MainTab::Channels);
    PlaceBrowser();
}

void MainTabs::PlaceBrowser() {
    web_.Place(layout_.Current().browser.box.ToRect(),
               session_.IsListPanelOpen() && session_.MainTab() != MainTab::Channels);
}

void MainTabs::OnTabButton(MainTab tab) {
    Select(tab);
    if (tab == MainTab::Channels) {
        // The channel lists always come back on the TV tab.
        channels_.OpenCategoryTab(Category::Tv);
    } else {
        // Choosing the tab again starts it over at its first page.
        web_.Navigate(Endpoints::PageAddress(tab == MainTab::Music
                                                 ? Endpoints::MusicPagePaths().value(0)
                                                 : Endpoints::MoviePagePaths().value(0)));
        PlaceBrowser();
    }
    window_.update(layout_.Current().browser.box.ToRect());
}

void MainTabs::OnHomePageButton() {
    // Only the pictures say the button was pressed; the panel, the main tab
    // and the browser's page stay as they are.
    homeHighlighted_ = true;
    ShowPictures();
    window_.update(layout_.Current().browser.box.ToRect());
    service_.Open();
}

void MainTabs::OnSubTab(ControlId id) {
    const QString path = WebPanel::SubTabPage(id);
    if (!path.isEmpty())
        web_.Navigate(Endpoints::PageAddress(path));
}
