// The channel panel's main tabs and the embedded browser (MainTabs).

#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
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
    const SourceSettings& settings = Sources()->Settings();
    const QString service = settings.ServiceAddress();
    // The build's own service keeps the pages as they were built.
    for (const ChannelSource& tab : settings.Defaults().tabs) {
        if (!service.isEmpty() && tab.kind == ChannelSource::Kind::Service &&
            tab.address == service)
            return buildTimeAddress;
    }
    return ServicePages::PageAddress(settings, buildTimeAddress, Endpoints::ServiceBaseAddress());
}

void CPlayerDlg::OpenHomePage() {
    if (!Sources()->Settings().AnyTabUsesService()) {
        ShowMessage(ServicePages::NoServiceMessage());
        return;
    }
    launcher_->OpenInBrowser(ServicePage(Endpoints::HomePageAddress()));
}
