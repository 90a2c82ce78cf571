#pragma once

#include <QApplication>

// The application object: one per process. It creates the main window, runs
// the event loop until that window closes, and then lets the process end.
class CPlayerApp : public QApplication {
    Q_OBJECT
public:
    CPlayerApp(int& argc, char** argv);

    // Runs the program; returns the process exit code.
    int Run();
};
