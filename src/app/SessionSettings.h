#pragma once

#include <QString>

class PlayerSession;

// The session's options and tabs as the store keeps them.
namespace SessionSettings {

// Reads the options the window acts on into the session.
void ReadOptions(PlayerSession& session);
// The main tab and category ("Menu", "SubMenu") as the window shuts down.
void WriteTabs(const PlayerSession& session);
// Starting with the desktop session: on stores the program to start, off
// removes the entry.
void ToggleStartWithSession(PlayerSession& session, const QString& programPath);

} // namespace SessionSettings
