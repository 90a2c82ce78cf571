#include "app/CPlayerApp.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Without a display Qt would abort while creating the application;
    // say plainly what is needed instead.
    if (!CPlayerApp::HasGraphicalSession()) {
        std::fputs(CPlayerApp::NoSessionMessage(), stderr);
        return 2;
    }
    // The web tabs' engine, loaded later from its module, draws with OpenGL
    // contexts that must be shared from the application's start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    CPlayerApp app(argc, argv);
    return app.Run();
}
