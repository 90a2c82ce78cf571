#pragma once

#include <QString>

class PlayerSession;

// The session's options and tabs as the store keeps them.
namespace SessionSettings {

// The one place options go between the store and the session: read once at
// start, each option written the moment it changes, and what the session
// holds at the end written at shutdown. The settings dialog, which edits
// the store itself, is the only other writer.

// Reads the options the window acts on into the session.
void ReadOptions(PlayerSession& session);
// From now on every change of an option is stored at once; starting with the
// desktop session stores the program to start (programPath) when on and
// removes the entry when off.
void StoreOptionChanges(PlayerSession& session, const QString& programPath);
// The saved volume ("Sound") as stored; the volume control holds it to range.
int StoredVolume();
// As the window shuts down: the volume ("Sound"; mute is not kept) and the
// main tab and category ("Menu", "SubMenu").
void WriteAtShutdown(const PlayerSession& session);

} // namespace SessionSettings
