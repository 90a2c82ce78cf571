#pragma once

// Stand-ins for the player, the window and the window timers, shared by the
// playback suites. Time only moves when a test advances it.

#include "app/PlayerSession.h"
#include "playback/ConnectionWatch.h"
#include "playback/MediaPlayer.h"
#include "playback/TimerHost.h"
#include "playback/VolumeControl.h"

#include "RecordingPlayer.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

using FakePlayer = RecordingPlayer<MediaPlayer>;

// Window timers on a simulated clock, in milliseconds.
class FakeTimers : public TimerHost {
public:
    std::function<void(PlaybackTimer)> onTick;

    void StartTimer(PlaybackTimer id, int milliseconds) override {
        timers_[id] = Entry{milliseconds, now_ + milliseconds, ++serial_};
    }
    void StopTimer(PlaybackTimer id) override { timers_.erase(id); }
    bool IsTimerRunning(PlaybackTimer id) const override { return timers_.count(id) != 0; }
    int Period(PlaybackTimer id) const {
        auto it = timers_.find(id);
        return it == timers_.end() ? 0 : it->second.period;
    }
    long long Now() const { return now_; }

    // Moves the clock on, firing every tick that falls due, in time order.
    void Advance(long long milliseconds) {
        const long long end = now_ + milliseconds;
        for (;;) {
            PlaybackTimer nextId = PlaybackTimer::Watch;
            long long nextDue = end + 1;
            for (const auto& [id, entry] : timers_) {
                if (entry.due < nextDue) {
                    nextDue = entry.due;
                    nextId = id;
                }
            }
            if (nextDue > end)
                break;
            now_ = nextDue;
            const long long serial = timers_[nextId].serial;
            if (onTick)
                onTick(nextId);
            // A periodic timer that was neither stopped nor restarted by its
            // handler comes round again.
            auto it = timers_.find(nextId);
            if (it != timers_.end() && it->second.serial == serial)
                it->second.due += it->second.period;
        }
        now_ = end;
    }

private:
    struct Entry {
        int period;
        long long due;
        long long serial;
    };
    std::map<PlaybackTimer, Entry> timers_;
    long long now_ = 0;
    long long serial_ = 0;
};

class FakeView : public PlaybackView {
public:
    struct Row {
        QString cells[7];
    };
    std::vector<Row> rows;

    void AddRow(const QString& name, const QString& url, const QString& website = QString(),
                const QString& webUrl = QString()) {
        Row row;
        row.cells[0] = QString::number(rows.size() + 1);
        row.cells[1] = name;
        row.cells[4] = url;
        row.cells[5] = website;
        row.cells[6] = webUrl;
        rows.push_back(row);
    }
    QString ConnectCell(int row) const { return rows.at(row).cells[3]; }

    int RowCount() const override { return static_cast<int>(rows.size()); }
    QString Cell(int row, int column) const override { return rows.at(row).cells[column]; }
    void SetConnectCell(int row, const QString& text) override {
        ++cellWrites;
        if (row >= 0 && row < RowCount())
            rows[row].cells[3] = text;
    }
    int CurrentRow() const override { return currentRow; }
    void SetCurrentRow(int row) override { currentRow = row; }
    Category CurrentCategory() const override { return category; }
    RowAddresses Addresses(int row) const override {
        const auto found = listed.find(row);
        return found != listed.end() ? found->second : PlaybackView::Addresses(row);
    }

    bool IsFullScreen() const override { return fullScreen; }
    void LeaveFullScreen() override {
        fullScreen = false;
        ++fullScreenLeft;
    }
    bool IsMaximised() const override { return maximised; }
    bool AutoHideOn() const override { return autoHide; }
    void ToggleListPanel() override { ++listToggles; }
    void HideMainWindow() override { ++windowHides; }

    void ShowMessage(const QString& text) override {
        messages.push_back(text);
        if (duringMessage)
            duringMessage();
    }
    bool AskYesNo(const QString& caption, const QString& text) override {
        questions.push_back(caption + QStringLiteral("|") + text);
        return answerYes;
    }
    bool HasHomePage() const override { return hasHomePage; }
    void OpenHomePage() override { ++homePagesOpened; }

    // Rows from somebody else's list, with their spare addresses.
    std::map<int, RowAddresses> listed;
    int currentRow = -1;
    Category category = Category::Tv;
    bool fullScreen = false;
    bool maximised = false;
    bool autoHide = false;
    bool answerYes = false;
    bool hasHomePage = true;
    int homePagesOpened = 0;
    std::function<void()> duringMessage;

    // What the window would show: the session's status line, lamp and
    // picture, as it changes (see Follow).
    QString statusText;
    bool lampLit = false;
    bool videoShown = false;
    int cellWrites = 0, fullScreenLeft = 0, listToggles = 0, windowHides = 0;
    int videoShows = 0, videoHides = 0;

    void Follow(PlayerSession& session) {
        statusText = session.StatusText();
        lampLit = session.IsLampLit();
        QObject::connect(&session, &PlayerSession::statusChanged, [this, &session] {
            statusText = session.StatusText();
            lampLit = session.IsLampLit();
        });
        QObject::connect(&session, &PlayerSession::videoShownChanged, [this](bool shown) {
            videoShown = shown;
            ++(shown ? videoShows : videoHides);
        });
    }
    QStringList messages;
    QStringList questions;
};

// What the window would show of the volume: the caption line as it
// changes and the mute button's pictures, from the session.
class VolumeShown {
public:
    void Follow(PlayerSession& session) {
        QObject::connect(&session, &PlayerSession::captionTextChanged, [this](const QString& text) {
            caption = text;
            captions.push_back(text);
        });
        QObject::connect(&session, &PlayerSession::mutedChanged,
                         [this](bool muted) { muteImages = muted; });
    }

    QString caption;
    QStringList captions;
    bool muteImages = false;
};
