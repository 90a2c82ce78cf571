#pragma once

#include "app/Launcher.h"
#include "app/SettingsStore.h"

#include <QObject>
#include <QString>

class CountRequest;

// What the wizard's Next button does, without any widget: with the user's
// agreement it opens the partner setup beside the installer, reports the
// installation to the count server, then records the installed version.
// The record and the count happen only when the setup really started: an
// installation that never began is neither counted nor recorded.
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
        Declined,        // the box was not checked: end, nothing done
        SetupMissing,    // no partner setup beside the installer: nothing done
        SetupNotStarted, // the desktop could not open it: nothing done
        Counting,        // the setup started; Installed() follows
    };

    // folder: where the partner setup lies (the installer's own folder).
    // countBaseAddress: "http://host[:port]" of the count server.
    InstallerFlow(QString folder, QString countBaseAddress, Launcher launcher = Launcher(),
                  SettingsLocations store = SettingsLocations::FromEnvironment(),
                  QObject* parent = nullptr);
    ~InstallerFlow() override;

    void SetCountTimeout(int milliseconds);

    // Next was pressed. While a count is running, further presses are
    // ignored (they return Counting and do nothing).
    Step Next(bool agreed);
    bool Busy() const { return busy_; }

    QString SetupPath() const;

signals:
    // The count has ended (answered, failed or timed out) and the version
    // is recorded.
    void installed();

private:
    void OnCountFinished();

    QString folder_;
    QString countBaseAddress_;
    Launcher launcher_;
    SettingsLocations store_;
    CountRequest* count_;
    bool busy_ = false;
};
