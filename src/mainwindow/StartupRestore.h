#pragma once

#include <QObject>

#include <functional>

class ChannelPanel;
class MainTabs;
class PlayerSession;

// What the window comes back to at start-up: the remembered main tab and
// category, the options, and automatic play. Automatic play needs the
// remembered tab's list: while its catalogue is still downloading, it plays
// once the list has arrived, unless the window has shut down meanwhile.
class StartupRestore : public QObject {
public:
    // playSaved plays the saved channel (the play button's command).
    StartupRestore(QObject* parent, PlayerSession& session, MainTabs& tabs, ChannelPanel& channels,
                   std::function<void()> playSaved);

    // Once, at start-up.
    void Restore();
    // At shutdown: a list that arrives later plays nothing.
    void Cancel() { autoPlayPending_ = false; }

private:
    // False while the remembered category's catalogue is on its way.
    bool RestoreTabs();
    void OnListArrived();

    PlayerSession& session_;
    MainTabs& tabs_;
    ChannelPanel& channels_;
    std::function<void()> playSaved_;
    bool listArrived_ = false;
    bool autoPlayPending_ = false;
};
