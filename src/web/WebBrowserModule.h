#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Loads the web module (waveorbit_web.so) on first use and makes browsers
// from it. The program does not link Qt WebEngine: the engine's libraries
// come into the process only here, the first time a web tab is chosen.
namespace WebBrowserModule {

// Where the module is looked for, in order: beside the program (the build
// tree, a program unpacked in one folder), then the installed library folder.
QStringList CandidatePaths();

// Makes a hidden browser in `parent`; null when the module cannot be found
// or loaded (the web tabs then stay empty, the rest of the program works).
QWidget* Create(QWidget* parent);

// True once the module is in the process.
bool IsLoaded();

// The engine's sandbox cannot run for root: it must be switched off before
// the engine starts, and only then. Leaves a setting made by hand alone.
void PrepareEnvironment(bool runningAsRoot);

// The message of the last failed load, for diagnostics.
QString LastError();

} // namespace WebBrowserModule
