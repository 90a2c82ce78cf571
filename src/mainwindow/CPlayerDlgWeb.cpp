// The channel panel's main tabs and the embedded browser (MainTabs).

#include "mainwindow/CPlayerDlg.h"

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
