#include "app/CPlayerApp.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Without a display Qt would abort while creating the application;
    // say plainly what is needed instead.
    if (!CPlayerApp::HasGraphicalSession()) {
        std::fputs(CPlayerApp::NoSessionMessage(), stderr);
        return 2;
    }
    CPlayerApp app(argc, argv);
    return app.Run();
}
