// Test entry point for the live player suites: the application is set up as
// the program sets it up (GL contexts shared application-wide, which the
// OpenGL video path relies on), on the display the run gives it.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
