#include "app/WorkerTask.h"

#include "EventLoopWait.h"

#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Held by the work: the worker's side is torn down slowly, after the owner
// has its result.
struct SlowGoodbye {
    ~SlowGoodbye() { QThread::msleep(30); }
};

} // namespace

// The result comes back once, also when what it calls runs an event loop of
// its own (a message box) while the worker's side is still being torn down,
// and not at all once the owner is gone.
TEST(RunOnWorker, DeliversEachResultOnceEvenIntoANestedLoop) {
    QObject owner;
    std::vector<int> delivered;
    for (int i = 0; i < 20; ++i) {
        RunOnWorker<std::unique_ptr<int>>(
            &owner,
            [i, slow = std::make_shared<SlowGoodbye>()] { return std::make_unique<int>(i); },
            [&delivered](std::unique_ptr<int> value) {
                ASSERT_TRUE(value);
                delivered.push_back(*value);
                RunEventsFor(60); // as a dialog's loop would
            });
    }
    EXPECT_TRUE(WaitFor([&] { return delivered.size() == 20; }));
    RunEventsFor(200);
    EXPECT_EQ(delivered.size(), 20u);

    auto gone = std::make_unique<QObject>();
    bool called = false;
    RunOnWorker<int>(
        gone.get(), [] { return 1; }, [&called](int) { called = true; });
    gone.reset();
    RunEventsFor(200);
    EXPECT_FALSE(called);
}
