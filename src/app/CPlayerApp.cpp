#include "app/CPlayerApp.h"

#include <QTextStream>

CPlayerApp::CPlayerApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("WAVEORBIT"));
    setOrganizationName(QStringLiteral("WAVEORBIT"));
}

int CPlayerApp::Run() {
    QTextStream(stdout) << "WAVEORBIT: the main window is not built yet.\n";
    return 0;
}
