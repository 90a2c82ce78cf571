#pragma once

#include <QObject>

class QDBusPendingCallWatcher;

// Keeps the screen saver and power saving from interrupting a broadcast
// while the main window exists, through the desktop's
// org.freedesktop.ScreenSaver service. Where there is no session bus or no
// such service it does nothing, quietly, and never holds up start-up.
class ScreenSaverInhibitor : public QObject {
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(QObject* parent = nullptr);
    ~ScreenSaverInhibitor() override;

    // Asks for the inhibition without waiting for the answer.
    void Inhibit(const QString& applicationName, const QString& reason);
    // Gives it back (at exit). The desktop also drops it if the process dies.
    void UnInhibit();

    bool IsInhibited() const { return cookie_ != 0; }

private:
    void OnInhibitReply(QDBusPendingCallWatcher* watcher);

    unsigned cookie_ = 0;
    bool wanted_ = false;
};
