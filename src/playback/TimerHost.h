#pragma once

#include <QObject>

#include <functional>
#include <map>

class QTimer;

// The window timers the playback logic runs on, named by their numbers.
// Starting a running timer starts it again from zero; a timer ticks until it
// is stopped (one-shot timers stop themselves on their first tick).
// The timer numbers in use.
enum class PlaybackTimer {
    Watch = 1,     // connection watch, 1 s
    Clock = 2,     // elapsed clock, 1 s
    Reconnect = 3, // pause before the next try after a broken stream
    Caption = 4,   // clears the volume line, 3 s, once
    Programme = 5, // the guide's next boundary (a programme ends), once
};

class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void StartTimer(PlaybackTimer id, int milliseconds) = 0;
    virtual void StopTimer(PlaybackTimer id) = 0;
    virtual bool IsTimerRunning(PlaybackTimer id) const = 0;
};

// TimerHost on Qt timers; every tick is handed to one function, like the
// window's single timer handler.
class QtTimerHost : public QObject, public TimerHost {
    Q_OBJECT
public:
    explicit QtTimerHost(std::function<void(PlaybackTimer)> onTick, QObject* parent = nullptr);
    ~QtTimerHost() override;

    void StartTimer(PlaybackTimer id, int milliseconds) override;
    void StopTimer(PlaybackTimer id) override;
    bool IsTimerRunning(PlaybackTimer id) const override;

private:
    std::function<void(PlaybackTimer)> onTick_;
    std::map<PlaybackTimer, QTimer*> timers_;
};
