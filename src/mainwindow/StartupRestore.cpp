#include "mainwindow/StartupRestore.h"

#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/MainTabs.h"

#include <QPointer>

StartupRestore::StartupRestore(CPlayerDlg& window) : QObject(&window), window_(window) {}

void StartupRestore::Restore() {
    const bool listed = RestoreTabs();
    // What the options start (auto-play) acts only after this, whatever
    // the order they are read in.
    PlayerSession& session = window_.Session();
    SessionSettings::ReadOptions(session);
    if (!session.IsOn(SessionOption::AutoPlay))
        return;
    if (listed)
        window_.PlaySelected();
    else
        autoPlayPending_ = true;
}

bool StartupRestore::RestoreTabs() {
    const QString menu = Settings::ReadText(Settings::Menu);
    if (menu == QStringLiteral("2")) {
        window_.OnMainTabButton(MainTab::Music);
    } else if (menu == QStringLiteral("3")) {
        window_.OnMainTabButton(MainTab::Movie);
    } else if (menu == QStringLiteral("1")) {
        window_.Tabs().Select(MainTab::Channels);
        // A category that is missing or out of range opens the first tab
        // rather than an empty list under no tab at all.
        Category category = CategoryFromStored(Settings::ReadNumber(Settings::SubMenu));
        if (category == Category::None)
            category = Category::Tv;
        listArrived_ = false;
        // The list may arrive while the window is torn down.
        window_.OpenCategoryTab(category, [self = QPointer<StartupRestore>(this)] {
            if (self)
                self->OnListArrived();
        });
        return listArrived_;
    }
    return true;
}

void StartupRestore::OnListArrived() {
    listArrived_ = true;
    if (!autoPlayPending_)
        return;
    autoPlayPending_ = false;
    if (window_.Session().IsOn(SessionOption::AutoPlay))
        window_.PlaySelected();
}
