#include "mainwindow/StartupRestore.h"

#include "app/PlayerSession.h"
#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/MainTabs.h"

#include <QCoreApplication>
#include <QPointer>

StartupRestore::StartupRestore(QObject* parent, PlayerSession& session, MainTabs& tabs,
                               ChannelPanel& channels, std::function<void()> playSaved)
    : QObject(parent), session_(session), tabs_(tabs), channels_(channels),
      playSaved_(std::move(playSaved)) {}

void StartupRestore::Restore() {
    const bool listed = RestoreTabs();
    // What the options start (auto-play) acts only after this, whatever
    // the order they are read in.
    SessionSettings::ReadOptions(session_);
    // From here on a changed option is stored at once.
    SessionSettings::StoreOptionChanges(session_, QCoreApplication::applicationFilePath());
    if (!session_.IsOn(SessionOption::AutoPlay))
        return;
    if (listed)
        playSaved_();
    else
        autoPlayPending_ = true;
}

bool StartupRestore::RestoreTabs() {
    const QString menu = Settings::ReadText(Settings::Menu);
    if (menu == QStringLiteral("2")) {
        tabs_.OnTabButton(MainTab::Music);
    } else if (menu == QStringLiteral("3")) {
        tabs_.OnTabButton(MainTab::Movie);
    } else if (menu == QStringLiteral("1")) {
        tabs_.Select(MainTab::Channels);
        // A category that is missing or out of range opens the first tab
        // rather than an empty list under no tab at all.
        Category category = CategoryFromStored(Settings::ReadNumber(Settings::SubMenu));
        if (category == Category::None)
            category = Category::Tv;
        listArrived_ = false;
        // The list may arrive while the window is torn down.
        channels_.OpenCategoryTab(category, [self = QPointer<StartupRestore>(this)] {
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
    if (session_.IsOn(SessionOption::AutoPlay))
        playSaved_();
}
