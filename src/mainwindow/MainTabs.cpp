#include "mainwindow/MainTabs.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "catalogue/CChannelListView.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/MainButtons.h"
#include "skin/CMinsButton.h"

MainTabs::MainTabs(CPlayerDlg& window, PlayerSession& session)
    : window_(window), session_(session), web_(window) {}

void MainTabs::ShowGroups(bool categories, bool music, bool movie) {
    for (ControlId id : kCategoryTabButtons)
        window_.Button(id)->setVisible(categories);
    for (ControlId id : kMusicSubTabButtons)
        window_.Button(id)->setVisible(music);
    for (ControlId id : kMovieSubTabButtons)
        window_.Button(id)->setVisible(movie);
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
        window_.Button(t.id)->SetImages(picture, picture, picture);
        window_.Button(t.id)->update();
    }
}

void MainTabs::Show(MainTab tab) {
    session_.SetMainTab(tab);
    // What the panel then shows (a list or a page) is the tab's own work.
    ShowPictures();
    const bool panel = session_.IsListPanelOpen();
    ShowGroups(panel && tab == MainTab::Channels, panel && tab == MainTab::Music,
               panel && tab == MainTab::Movie);
    if (CChannelListView* list = window_.ListView())
        list->setVisible(panel && tab == MainTab::Channels);
    PlaceBrowser();
}

void MainTabs::PlaceBrowser() {
    web_.Place(window_.CurrentLayout().browser.box.ToRect(),
               session_.IsListPanelOpen() && session_.MainTab() != MainTab::Channels);
}

void MainTabs::OnTabButton(MainTab tab) {
    Select(tab);
    if (tab == MainTab::Channels) {
        // The channel lists always come back on the TV tab.
        window_.OpenCategoryTab(Category::Tv);
    } else {
        // Choosing the tab again starts it over at its first page.
        web_.Navigate(Endpoints::PageAddress(tab == MainTab::Music
                                                 ? Endpoints::MusicPagePaths().value(0)
                                                 : Endpoints::MoviePagePaths().value(0)));
        PlaceBrowser();
    }
    window_.update(window_.CurrentLayout().browser.box.ToRect());
}

void MainTabs::OnHomePageButton() {
    // Only the pictures say the button was pressed; the panel, the main tab
    // and the browser's page stay as they are.
    homeHighlighted_ = true;
    ShowPictures();
    window_.update(window_.CurrentLayout().browser.box.ToRect());
    window_.OpenHomePage();
}

void MainTabs::OnSubTab(ControlId id) {
    const QString path = WebPanel::SubTabPage(id);
    if (!path.isEmpty())
        web_.Navigate(Endpoints::PageAddress(path));
}
