#include "installer/CInstallerApp.h"

#include "app/QtTranslations.h"
#include "installer/CInstallerDlg.h"
#include "skin/FontHinting.h"

#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

namespace {

// A picture of the wizard for the documentation, asked for through the
// environment (the program itself takes no options):
//   NIMBUSKIT_SCREENSHOT=<path>  save the window as PNG shortly after its
//                                first paint, then close.
void HookScreenshot(CInstallerDlg& wizard) {
    const QString shot = qEnvironmentVariable("NIMBUSKIT_SCREENSHOT");
    if (shot.isEmpty())
        return;
    QObject::connect(&wizard, &CInstallerDlg::firstPainted, &wizard, [&wizard, shot] {
        QTimer::singleShot(500, &wizard, [&wizard, shot] {
            if (!wizard.grab().save(shot, "PNG"))
                std::fprintf(stderr, "NIMBUSKIT: could not write %s\n", qPrintable(shot));
            wizard.OnCancel();
        });
    });
}

} // namespace

CInstallerApp::CInstallerApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("NIMBUSKIT"));
    setApplicationVersion(QStringLiteral("1.0.0.1"));
    setOrganizationName(QStringLiteral("WAVEORBIT"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.png")));
    QtTranslations::InstallKorean(); // its completion message box, for one
    UseFontsOwnHinting();
    // The same look on every desktop: the wizard paints its own dark page.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
}

int CInstallerApp::Run() {
    // The wizard decides when the program ends: its completion message
    // still shows after the wizard's window has gone.
    setQuitOnLastWindowClosed(false);
    CInstallerDlg wizard;
    HookScreenshot(wizard);
    wizard.exec();
    return 0;
}

bool CInstallerApp::HasGraphicalSession() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
