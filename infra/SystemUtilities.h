#pragma once
// Keeping the host responsive during long operations. Stateless: create one
// on the stack where needed.
//
// Both operations re-enter the host's event loop: commands and dialogs may
// run while they do, so callers must not hold a half-made state across them.

class CSystemUtilities {
public:
    // Lets the host handle every event that is waiting; returns when none is
    // left or the host is quitting. Does nothing in the console.
    void doEvents() const;
    // Waits the given number of seconds in quarter-second steps, handling
    // events before each step; returns at once for zero or less.
    void wait(int seconds) const;
};
