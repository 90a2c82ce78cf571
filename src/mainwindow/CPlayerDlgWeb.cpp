// The channel panel's main tabs and the embedded browser (MainTabs).

#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/ChannelSources.h"
#include "mainwindow/MainTabs.h"

void CPlayerDlg::OnMainTabButton(MainTab tab) {
    tabs_->OnTabButton(tab);
}

QWidget* CPlayerDlg::WebBrowser() const {
    return tabs_->Web().Browser();
}

void CPlayerDlg::SetWebBrowserFactory(std::function<QWidget*(QWidget* parent)> factory) {
    tabs_->Web().SetFactory(std::move(factory));
}

QString CPlayerDlg::ServicePage(const QString& buildTimeAddress) const {
    return ServicePages::PageAddress(Sources()->Settings(), buildTimeAddress,
                                     Endpoints::ServiceBaseAddress());
}

QString CPlayerDlg::HomePageAddress() const {
    return ServicePages::HomePage(Sources()->Settings());
}

void CPlayerDlg::OpenHomePage() {
    const QString address = HomePageAddress();
    if (address.isEmpty()) {
        ShowMessage(ServicePages::NoServiceMessage());
        return;
    }
    launcher_->OpenInBrowser(address);
}
