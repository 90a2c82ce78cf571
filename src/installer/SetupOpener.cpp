#include "installer/SetupOpener.h"

#include <QProcess>

const char* const SetupOpener::kDesktopOpener = "xdg-open";

SetupOpener::SetupOpener(QString program, QObject* parent)
    : QObject(parent), program_(std::move(program)), process_(new QProcess(this)) {
    // The opener's messages ("no method available for opening ...") are
    // worth seeing on the terminal; it is never asked anything.
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardInputFile(QProcess::nullDevice());
    connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        emit finished(status == QProcess::NormalExit && exitCode == 0);
    });
    // A program that never started sends no finished of its own. Queued:
    // an opener missing from PATH is reported from inside start(), and the
    // caller hears the outcome only after Open has returned.
    connect(
        process_, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                emit finished(false);
        },
        Qt::QueuedConnection);
}

SetupOpener::~SetupOpener() {
    // Leaving while the opener still runs (the wizard is killed): no
    // finished from inside the destructor.
    process_->disconnect(this);
}

bool SetupOpener::Open(const QString& path) {
    if (Running())
        return false;
    // The path is one argument; nothing goes through a shell.
    process_->start(program_, {path});
    return true;
}

bool SetupOpener::Running() const {
    return process_->state() != QProcess::NotRunning;
}
