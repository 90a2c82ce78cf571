#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in a terminal,
// the terminal closing) into a Qt signal on the GUI thread, so that the
// program shuts down as when the user closes it: the volume and the open tab
// saved, the player closed. After the first such signal the default action
// is back, so a second one ends a shutdown that hangs.
//
// One instance at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the signals could not be caught (they then act as before).
    bool IsActive() const { return notifier_ != nullptr; }

signals:
    void received(int signalNumber);

private:
    static void OnSignal(int signalNumber);
    void Read();
    static void RestoreDefaults();

    QSocketNotifier* notifier_ = nullptr;
};
