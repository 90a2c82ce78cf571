#pragma once

#include <QObject>
#include <QString>

class QProcess;

// Opens a file with the desktop's opener program (xdg-open) and tells, once
// the opener has ended, whether the file was opened. Merely starting the
// opener proves nothing: on a desktop with no handler for the file it starts
// fine and then exits with an error. The wait runs in the event loop, so the
// window that asked keeps painting and answering.
class SetupOpener : public QObject {
    Q_OBJECT
public:
    // The desktop's opener, looked up on PATH.
    static const char* const kDesktopOpener; // "xdg-open"

    explicit SetupOpener(QString program = QString::fromLatin1(kDesktopOpener),
                         QObject* parent = nullptr);
    ~SetupOpener() override;

    // Runs the opener on the file. False (and no finished) while one is
    // already running.
    bool Open(const QString& path);
    bool Running() const;

signals:
    // Exactly once per Open: opened is true only when the opener exited
    // normally with status 0. An opener that cannot be started, crashes or
    // exits with any other status did not open the file.
    void finished(bool opened);

private:
    QString program_;
    QProcess* process_;
};
