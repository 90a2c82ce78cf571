// Entry point of the suites that run the real engines as the program does:
// the graphics are set up before the application object, from this machine
// or WAVEORBIT_VIDEO (GL with shared contexts, or none at all).
#include "playback/GraphicsChoice.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    GraphicsChoice::Apply(GraphicsChoice::DecideForThisMachine());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
