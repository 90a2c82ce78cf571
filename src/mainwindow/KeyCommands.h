#pragma once

#include "mainwindow/CommandId.h"

// The main window's keys and the menu command each runs. Held keys repeat
// only the volume; what opens a modal window runs after the key.
struct KeyCommand {
    int key; // a Qt::Key
    CommandId command;
    bool later;
    bool repeats;
    bool needsControl; // only with Ctrl held
};

// The key's command; null for a key the window leaves alone.
const KeyCommand* KeyCommandFor(int key);
