#pragma once
// Breaking off a working command. The front end asks for a break when the
// user presses Ctrl-C (from its signal handler) while a command works; long
// loops ask acedUsrBrk() and stop, and the host's progress meter throws
// AcEdUserBreak. The command runner catches that, puts back what the command
// changed and prints *Cancel*.

// True once when the user asked for a break since the last call (or since
// acedClearUserBreak); the request is then used up.
bool acedUsrBrk();
// Asks for a break. Safe to call from a signal handler.
void acedRequestUserBreak() noexcept;
// Makes SIGINT (Ctrl-C) ask for a break instead of ending the process; at a
// prompt of the terminal Ctrl-C is a key that cancels the prompt instead.
void acedInstallInterruptHandler();
// Forgets a request made before now (a new command starts).
void acedClearUserBreak();
// Makes acedUsrBrk also read the keys typed at the terminal fd (in a mode
// that passes keys at once, see AcEdEscapeWatch): Escape asks for a break,
// other keys are dropped. -1 stops.
void acedWatchKeys(int fd);

// Thrown by the host when a command is broken off; not a std::exception, so
// handlers of failures let it pass to the command runner.
struct AcEdUserBreak {};
