#include "mainwindow/ServiceHome.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/ChannelSource.h"
#include "mainwindow/Prompter.h"
#include "web/ServicePages.h"

QString ServiceHome::Address() const {
    return ServicePages::HomePage(sources_.Settings());
}

void ServiceHome::Open() const {
    const QString address = Address();
    if (address.isEmpty()) {
        prompter_.ShowMessage(ServicePages::NoServiceMessage());
        return;
    }
    launcher_.OpenInBrowser(address);
}

QString ServiceHome::Page(const QString& buildTimeAddress) const {
    return ServicePages::PageAddress(sources_.Settings(), buildTimeAddress,
                                     Endpoints::ServiceBaseAddress());
}
