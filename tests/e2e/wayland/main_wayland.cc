// Entry point of the Wayland tests: a Weston desktop (weston-run.sh) and the
// graphics set up as the program does before its application object.
#include "app/GraphicsChoice.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    GraphicsChoice::Apply(GraphicsChoice::DecideForThisMachine());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
