#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Turns the event loop until the condition holds. The limit is generous: only
// a hang reaches it, so it never decides a test on timing.
template <typename Condition> bool WaitFor(Condition condition, int limitMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
