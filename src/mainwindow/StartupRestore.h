#pragma once

#include <QObject>

class CPlayerDlg;

// What the window comes back to at start-up: the remembered main tab and
// category, the options, and automatic play. Automatic play needs the
// remembered tab's list: while its catalogue is still downloading, it plays
// once the list has arrived, unless the window has shut down meanwhile.
class StartupRestore : public QObject {
public:
    explicit StartupRestore(CPlayerDlg& window);

    // Once, at start-up.
    void Restore();
    // At shutdown: a list that arrives later plays nothing.
    void Cancel() { autoPlayPending_ = false; }

private:
    // False while the remembered category's catalogue is on its way.
    bool RestoreTabs();
    void OnListArrived();

    CPlayerDlg& window_;
    bool listArrived_ = false;
    bool autoPlayPending_ = false;
};
