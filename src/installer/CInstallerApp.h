#pragma once

#include <QApplication>

// The installer's application object: it runs the one wizard window modally
// and ends the program when the wizard ends.
class CInstallerApp : public QApplication {
    Q_OBJECT
public:
    CInstallerApp(int& argc, char** argv);

    // Runs the wizard; returns the process exit code.
    int Run();

    // False where Qt would find no screen to open a window on.
    static bool HasGraphicalSession();
};
