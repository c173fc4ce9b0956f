#pragma once
// A progress meter for long work, drawn on the status line of a terminal. It
// draws nothing when standard output is not a terminal, so transcripts of
// script runs stay free of it.

// Starts a meter with a label and a range; returns 0.
int acedSetStatusBarProgressMeter(const char* label, int minPos, int maxPos);
// Moves the meter to a position within its range (clamped); returns 0, or -1
// when no meter was started. When the user asked for a break (acedUsrBrk),
// ends the meter and throws AcEdUserBreak: every loop that shows progress can
// be broken off. ZELKA_TEST_PROGRESS_DELAY_MS=N (tests only) waits N ms first.
int acedSetStatusBarProgressMeterPos(int pos);
// Ends the meter and clears its line.
void acedRestoreStatusBar();

// Where the meter draws: a file descriptor, and whether it is a terminal
// (set by the front end; tests set it to a pipe marked as a terminal).
void setProgressOutput(int fd, bool isTerminal);
