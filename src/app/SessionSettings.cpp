#include "app/SessionSettings.h"

#include "app/PlayerSession.h"
#include "app/SettingsTable.h"

namespace SessionSettings {

void ReadOptions(PlayerSession& session) {
    const struct {
        SessionOption option;
        const Settings::Value& value;
    } options[] = {
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
    for (const auto& o : options)
        session.SetOn(o.option, Settings::ReadFlag(o.value));
}

void WriteTabs(const PlayerSession& session) {
    Settings::WriteNumber(Settings::Menu, StoredNumberOf(session.MainTab()));
    Settings::WriteNumber(Settings::SubMenu, StoredNumberOf(session.Category()));
}

void ToggleStartWithSession(PlayerSession& session, const QString& programPath) {
    if (session.Toggle(SessionOption::StartWithSession))
        Settings::WriteText(Settings::StartWithSession, programPath);
    else
        Settings::Delete(Settings::StartWithSession);
}

} // namespace SessionSettings
