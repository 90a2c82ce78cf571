// Test entry point for the widget-free suites: a QCoreApplication exists for
// the code that needs an event loop (downloads, timers).
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
