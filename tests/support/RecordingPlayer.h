#pragma once

// A stand-in player that records what it is told and reports the status a
// test sets. Base is the player interface (MediaPlayer) or the player
// widget (PlayerWidget).

#include "playback/MediaPlayer.h"

#include <QString>
#include <QStringList>

#include <vector>

template <typename Base> class RecordingPlayer : public Base {
public:
    void closeMedia() override {
        ++closes;
        calls.push_back(QStringLiteral("close"));
    }
    void setURL(const QString& address) override {
        urls.push_back(address);
        calls.push_back(QStringLiteral("URL ") + address);
        end = PlayerEnd::None;
    }
    void setListURL(const QString& address, const StreamOptions& options) override {
        urls.push_back(address);
        calls.push_back(QStringLiteral("LIST ") + address);
        listOptions.push_back(options);
        end = PlayerEnd::None;
    }
    PlayerStatus status() const override { return current; }
    PlayerEnd lastEnd() const override { return end; }
    void setVolume(int volume) override { volumes.push_back(volume); }
    bool soundMissing() const override { return noSound; }

    PlayerStatus current = PlayerStatus::Idle();
    PlayerEnd end = PlayerEnd::None;
    bool noSound = false;
    int closes = 0;
    QStringList urls;
    QList<StreamOptions> listOptions; // what each list address was opened with
    QStringList calls;                // "close", "URL <address>" and "LIST <address>" in order
    std::vector<int> volumes;
};
