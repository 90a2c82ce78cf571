#pragma once

#include <QObject>

#include <functional>
#include <map>

class QTimer;

// The window timers the playback logic runs on, named by their numbers.
// Starting a running timer starts it again from zero; a timer ticks until it
// is stopped (one-shot timers stop themselves on their first tick).
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
    virtual bool IsTimerRunning(int id) const = 0;
};

// The timer numbers in use.
namespace PlaybackTimer {
constexpr int Watch = 1;     // connection watch, 1 s
constexpr int Clock = 2;     // elapsed clock, 1 s
constexpr int Reconnect = 3; // pause before the next try after a broken stream
constexpr int Caption = 4;   // clears the volume line, 3 s, once
} // namespace PlaybackTimer

// TimerHost on Qt timers; every tick is handed to one function, like the
// window's single timer handler.
class QtTimerHost : public QObject, public TimerHost {
    Q_OBJECT
public:
    explicit QtTimerHost(std::function<void(int)> onTick, QObject* parent = nullptr);
    ~QtTimerHost() override;

    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;
    bool IsTimerRunning(int id) const override;

private:
    std::function<void(int)> onTick_;
    std::map<int, QTimer*> timers_;
};
