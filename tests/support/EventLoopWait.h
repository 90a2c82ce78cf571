#pragma once

// The one way the suites wait: by turning the event loop, never by sleeping.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

// One short turn of a real event loop: posted events, timers, sockets, and
// the deferred deletes a bare processEvents() call would leave pending.
inline void TurnEventLoop(int ms = 10) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Turns the event loop until the condition holds. The limit is generous by
// default: only a hang reaches it, so it never decides a test on timing.
// Callers that expect the condition not to come pass a short limit.
template <typename Condition> bool WaitFor(Condition condition, int limitMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs)
            return false;
        TurnEventLoop();
    }
    return true;
}

// Turns the event loop for a while, whatever happens meanwhile.
inline void RunEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        TurnEventLoop(qBound(1, ms - static_cast<int>(timer.elapsed()), 10));
    } while (timer.elapsed() < ms);
}
