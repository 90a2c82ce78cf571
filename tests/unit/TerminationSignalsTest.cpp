#include "app/TerminationSignals.h"

#include "EventLoopWait.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

bool HandlerIsDefault(int number) {
    struct sigaction current {};
    sigaction(number, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

// A signal becomes a call on the event loop; after it the default action is
// back, so a second signal can end a shutdown that hangs.
TEST(TerminationSignals, FirstSignalArrivesOnTheEventLoopThenTheDefaultIsBack) {
    std::vector<int> received;
    {
        TerminationSignals termination;
        ASSERT_TRUE(termination.IsActive());
        QObject::connect(&termination, &TerminationSignals::received,
                         [&](int number) { received.push_back(number); });
        EXPECT_FALSE(HandlerIsDefault(SIGTERM));
        EXPECT_FALSE(HandlerIsDefault(SIGHUP));
        ASSERT_EQ(raise(SIGHUP), 0);   // would end the test program if not caught
        EXPECT_TRUE(received.empty()); // nothing runs inside the handler
        ASSERT_TRUE(WaitFor([&] { return !received.empty(); }, 2000));
        EXPECT_EQ(received, std::vector<int>{SIGHUP});
        EXPECT_TRUE(HandlerIsDefault(SIGHUP));
        EXPECT_TRUE(HandlerIsDefault(SIGTERM));
    }
    // A second instance takes the signals again once the first has gone.
    TerminationSignals again;
    EXPECT_TRUE(again.IsActive());
    EXPECT_FALSE(HandlerIsDefault(SIGINT));
}

} // namespace
