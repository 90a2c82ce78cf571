#pragma once

// Reads the system's font configuration on a thread of its own, to be called
// first thing in main. Every window draws Korean text, and the first text
// measured (the channel list's row height, before the window is shown) waits
// for fontconfig to parse its dozens of XML files, some 8 ms of one core.
// Started at once, that parse runs beside the dynamic loading, the
// application object and the skin's pictures; the font database then finds
// the configuration made (fontconfig's own start is safe from any thread).
void StartReadingFontConfiguration();
