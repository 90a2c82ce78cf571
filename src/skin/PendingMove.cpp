#include "skin/PendingMove.h"

void PendingMove::Press(QPoint global) {
    armed_ = true;
    origin_ = global;
}

bool PendingMove::Moved(QPoint global, bool buttonHeld, int distance) {
    if (!armed_)
        return false;
    if (!buttonHeld) {
        // The release went somewhere else (a popup, another window).
        armed_ = false;
        return false;
    }
    if ((global - origin_).manhattanLength() < distance)
        return false;
    armed_ = false;
    return true;
}
