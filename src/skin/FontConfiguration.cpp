#include "skin/FontConfiguration.h"

#include <fontconfig/fontconfig.h>

#include <thread>

void StartReadingFontConfiguration() {
    // Detached: the program may close before it ends, and fontconfig's
    // start finishes or is never looked at again.
    std::thread([] { FcInit(); }).detach();
}
