#pragma once

#include "app/SettingsStore.h"
#include "installer/SetupOpener.h"

#include <QObject>
#include <QString>

class CountRequest;

// What the wizard's Next button does, without any widget: with the user's
// agreement it opens the partner setup beside the installer, reports the
// installation to the count server, then records the installed version.
// The record and the count happen only when the desktop's opener says it
// opened the setup: an installation that never began is neither counted nor
// recorded.
class InstallerFlow : public QObject {
    Q_OBJECT
public:
    // The version of the partner product this installer puts in place,
    // recorded as "vernimbuskit".
    static const char* const kInstalledVersion; // "20100804"

    // The texts the wizard shows.
    static const char* const kMessageCaption;   // "NimbusKit"
    static const char* const kCompletedText;    // the installation is complete
    static const char* const kSetupMissingText; // the partner setup is not there
    static const char* const kSetupFailedText;  // the desktop could not open it

    enum class Step {
        Declined,     // the box was not checked: end, nothing done
        SetupMissing, // no partner setup beside the installer: nothing done
        Opening,      // the opener runs; setupFailed() or installed() follows
    };

    // folder: where the partner setup lies (the installer's own folder).
    // countBaseAddress: "http://host[:port]" of the count server.
    // opener: the program that opens the setup (the desktop's, or a stand-in).
    InstallerFlow(QString folder, QString countBaseAddress,
                  QString opener = QString::fromLatin1(SetupOpener::kDesktopOpener),
                  SettingsLocations store = SettingsLocations::FromEnvironment(),
                  QObject* parent = nullptr);
    ~InstallerFlow() override;

    void SetCountTimeout(int milliseconds);

    // Next was pressed. While the opener or the count runs, further presses
    // are ignored (they return Opening and do nothing).
    Step Next(bool agreed);
    bool Busy() const { return busy_; }

    QString SetupPath() const;

signals:
    // The opener could not open the setup: nothing was sent or written.
    void setupFailed();
    // The setup opened, the count has ended (answered, failed or timed
    // out) and the version is recorded.
    void installed();

private:
    void OnSetupOpened(bool opened);
    void OnCountFinished();

    QString folder_;
    QString countBaseAddress_;
    SetupOpener* opener_;
    SettingsLocations store_;
    CountRequest* count_;
    bool busy_ = false;
};
