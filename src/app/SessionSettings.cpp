#include "app/SessionSettings.h"

#include "app/PlayerSession.h"
#include "app/SettingsTable.h"

namespace SessionSettings {

namespace {

// Every option that is stored, with the value that keeps it.
struct StoredOption {
    SessionOption option;
    const Settings::Value& value;
};
const StoredOption kStoredOptions[] = {
    {SessionOption::StartWithSession, Settings::StartWithSession},
    {SessionOption::AutoPlay, Settings::AutoPlay},
    {SessionOption::AutoClose, Settings::AutoClose},
    {SessionOption::AutoHide, Settings::AutoHide},
    {SessionOption::OnTop, Settings::OnTop},
    {SessionOption::TrayStyle, Settings::Tray},
    {SessionOption::Magnet, Settings::Magnet},
    {SessionOption::HideFailed, Settings::HideFailed},
    {SessionOption::HideGeoBlocked, Settings::HideGeoBlocked},
};

} // namespace

void ReadOptions(PlayerSession& session) {
    for (const StoredOption& o : kStoredOptions)
        session.SetOn(o.option, Settings::ReadFlag(o.value));
}

void StoreOptionChanges(PlayerSession& session, const QString& programPath) {
    QObject::connect(&session, &PlayerSession::optionChanged, &session,
                     [programPath](SessionOption option, bool on) {
                         if (option == SessionOption::StartWithSession) {
                             if (on)
                                 Settings::WriteText(Settings::StartWithSession, programPath);
                             else
                                 Settings::Delete(Settings::StartWithSession);
                             return;
                         }
                         for (const StoredOption& o : kStoredOptions)
                             if (o.option == option)
                                 Settings::WriteFlag(o.value, on);
                     });
}

int StoredVolume() {
    return Settings::ReadNumber(Settings::Sound);
}

void WriteAtShutdown(const PlayerSession& session) {
    Settings::WriteNumber(Settings::Sound, session.Volume());
    Settings::WriteNumber(Settings::Menu, StoredNumberOf(session.MainTab()));
    Settings::WriteNumber(Settings::SubMenu, StoredNumberOf(session.Category()));
}

} // namespace SessionSettings
