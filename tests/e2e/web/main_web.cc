// Entry point of the web tab tests: a real X server (xvfb-run) and the real
// browser engine, which wants shared OpenGL contexts from the start.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
