// Test entry point for the suites that run the real program's pieces on a
// real display (xvfb-run): the application is set up as the program sets it
// up, with GL contexts shared application-wide, which the OpenGL video path
// and the browser engine both rely on from the start.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
