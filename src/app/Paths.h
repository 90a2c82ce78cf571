#pragma once

#include <QString>

// Where the program keeps its files. Each function answers from the
// environment at the moment of the call, so tests can point them elsewhere.
namespace Paths {

// $XDG_CONFIG_HOME/waveorbit (default ~/.config/waveorbit): the settings files.
QString ConfigFolder();

// $XDG_CONFIG_HOME/autostart: the desktop's start-with-the-session entries.
QString AutostartFolder();

// $XDG_DATA_HOME/waveorbit/ (default ~/.local/share/waveorbit/), with its
// trailing slash: the catalogues, the version list and user.dat. Created on
// first use.
QString DataFolder();

// The folder of the running executable, with a trailing slash: where the
// updater and the partner setup are looked up.
QString ProgramFolder();

// Makes sure the folder exists; false when it cannot be created.
bool EnsureFolder(const QString& folder);

} // namespace Paths
