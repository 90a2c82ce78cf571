#include "program/CPlayerApp.h"

#include "app/QtTranslations.h"
#include "app/TerminationSignals.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/DesktopLink.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/WebPanel.h"
#include "program/DialogScreenshot.h"
#include "skin/FontHinting.h"
#include "web/WebBrowserModule.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <clocale>
#include <cstdio>

namespace {

// Start-up measurements and screenshots, asked for through the environment
// by the tools in bench/ and scripts/ (the program itself takes no options):
//   WAVEORBIT_BENCH_FIRST_PAINT=1  print "first-paint-ms <n>" (time from the
//                                  application object to the window's first
//                                  paint) to stderr, then close.
//   WAVEORBIT_SCREENSHOT=<path>    save a picture of the window shortly
//                                  after its first paint as PNG, then close.
//   WAVEORBIT_SCREENSHOT_DIALOG=settings[:2|:3|:4]|openurl|about|menu
//                                  with the above: picture that dialog or
//                                  the main menu instead of the window.
void HookFirstPaint(CPlayerDlg& window, const QElapsedTimer& sinceStart) {
    const bool bench = qEnvironmentVariableIntValue("WAVEORBIT_BENCH_FIRST_PAINT") != 0;
    const QString shot = qEnvironmentVariable("WAVEORBIT_SCREENSHOT");
    if (!bench && shot.isEmpty())
        return;
    QObject::connect(
        &window, &CPlayerDlg::firstPainted, &window, [&window, &sinceStart, bench, shot] {
            if (bench) {
                std::fprintf(stderr, "first-paint-ms %lld\n",
                             static_cast<long long>(sinceStart.elapsed()));
                std::fflush(stderr);
                window.close();
                return;
            }
            // Give late layout and the window system a moment before the picture.
            QTimer::singleShot(500, &window, [&window, shot] {
                const QString dialog = qEnvironmentVariable("WAVEORBIT_SCREENSHOT_DIALOG");
                const bool saved = dialog.isEmpty() ? window.grab().save(shot, "PNG")
                                                    : SaveDialogScreenshot(window, dialog, shot);
                if (!saved)
                    std::fprintf(stderr, "WAVEORBIT: could not write %s\n", qPrintable(shot));
                window.close();
            });
        });
}

QElapsedTimer& StartClock() {
    static QElapsedTimer clock;
    return clock;
}

} // namespace

CPlayerApp::CPlayerApp(int& argc, char** argv) : QApplication(argc, argv) {
    StartClock().start();
    setApplicationName(QStringLiteral("WAVEORBIT"));
    setOrganizationName(QStringLiteral("WAVEORBIT"));
    // Qt sets the locale from the environment; the media engine parses
    // numbers with the C conventions and refuses to start otherwise.
    std::setlocale(LC_NUMERIC, "C");
    QtTranslations::InstallKorean();
    UseFontsOwnHinting();
    UseSkinFaceForAllText();
}

int CPlayerApp::Run() {
    // The window, not the last visible window, decides when the program ends
    // (a tool window without taskbar button would not count otherwise).
    setQuitOnLastWindowClosed(false);
    CPlayerDlg window;
    QObject::connect(&window, &CPlayerDlg::closed, this, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // The web tabs' browser comes from its own module, loaded on first use.
    window.Tabs().Web().SetFactory(&WebBrowserModule::Create);
    HookFirstPaint(window, StartClock());
    // Ended by the session or by `kill`: close as when the user closes, so
    // that nothing the window keeps until exit is lost.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &window, &QWidget::close);
    QObject::connect(this, &QCoreApplication::aboutToQuit, &window, &QWidget::close);
    window.OnInitDialog();
    // The tray's tooltip follows what plays; media keys and controllers
    // reach the player through the session bus when there is one.
    window.Desktop().Start(true);
    window.show();
    exec();
    return 0;
}

bool CPlayerApp::HasGraphicalSession() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

const char* CPlayerApp::NoSessionMessage() {
    return "WAVEORBIT needs a graphical session (X11 or Wayland), and none was found:\n"
           "neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
           "Start it from a desktop session, or on a machine without a screen run it\n"
           "under a virtual X server:\n"
           "    xvfb-run -a -s \"-screen 0 1280x800x24\" build/bin/waveorbit\n";
}
