#include "playback/GraphicsChoice.h"
#include "program/CPlayerApp.h"
#include "skin/FontConfiguration.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Without a display Qt would abort while creating the application;
    // say plainly what is needed instead.
    if (!CPlayerApp::HasGraphicalSession()) {
        std::fputs(CPlayerApp::NoSessionMessage(), stderr);
        return 2;
    }
    StartReadingFontConfiguration();
    // GL (shared contexts for the web tabs' engine) only on a machine with a
    // GPU; decided before the application object, which reads it.
    GraphicsChoice::Apply(GraphicsChoice::DecideForThisMachine());
    CPlayerApp app(argc, argv);
    return app.Run();
}
