#include "installer/CInstallerApp.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Without a display Qt would abort while creating the application;
    // say plainly what is needed instead.
    if (!CInstallerApp::HasGraphicalSession()) {
        std::fputs("NIMBUSKIT needs a graphical session (X11 or Wayland); none was found.\n",
                   stderr);
        return 2;
    }
    CInstallerApp app(argc, argv);
    return app.Run();
}
