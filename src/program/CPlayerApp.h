#pragma once

#include <QApplication>

// The application object: one per process. It creates the main window, runs
// the event loop until that window closes, and then lets the process end.
// Arguments are not read; a second copy simply runs a second window.
class CPlayerApp : public QApplication {
    Q_OBJECT
public:
    CPlayerApp(int& argc, char** argv);

    // Runs the program; returns the process exit code.
    int Run();

    // False where Qt would find no screen to open a window on: no X11 or
    // Wayland display and no platform chosen by hand.
    static bool HasGraphicalSession();
    // The plain explanation printed where there is none.
    static const char* NoSessionMessage();
};
