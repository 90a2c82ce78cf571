#include "playback/TimerHost.h"

#include <QTimer>

QtTimerHost::QtTimerHost(std::function<void(PlaybackTimer)> onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)) {}

QtTimerHost::~QtTimerHost() = default;

void QtTimerHost::StartTimer(PlaybackTimer id, int milliseconds) {
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        // Ticks are delivered through the event loop, never from inside a
        // call that started or stopped a timer.
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (onTick_)
                onTick_(id);
        });
    }
    // A programme's boundary is hours away: a coarse timer could be a
    // minute off there.
    timer->setTimerType(id == PlaybackTimer::Programme ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer->start(milliseconds);
}

void QtTimerHost::StopTimer(PlaybackTimer id) {
    auto it = timers_.find(id);
    if (it != timers_.end())
        it->second->stop();
}

bool QtTimerHost::IsTimerRunning(PlaybackTimer id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}
