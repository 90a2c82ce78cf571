#pragma once

#include <QPoint>

// A press of the left button on a spot that moves the window. The move is
// handed to the window system only once the pointer has travelled the
// platform's drag distance with the button held: a window manager that runs
// the move takes the pointer, and a press handed over at once would never
// become the first half of a double click.
class PendingMove {
public:
    // Arms at the press, in global coordinates.
    void Press(QPoint global);
    // A pointer move. True exactly once, when the move should start now: the
    // button is still held and the pointer is `distance` or more (Manhattan
    // length, as Qt measures drags) away from the press.
    bool Moved(QPoint global, bool buttonHeld, int distance);
    // The button went up or the press was taken over by something else.
    void Cancel() { armed_ = false; }

    bool Armed() const { return armed_; }
    QPoint Origin() const { return origin_; }

private:
    bool armed_ = false;
    QPoint origin_;
};
