#pragma once
// While a command works, Escape typed at the terminal breaks it off, as
// Ctrl-C does. For the life of the object the terminal reads keys one by one
// without echo (Ctrl-C still raises SIGINT), and acedUsrBrk() looks at the
// keys typed so far: Escape asks for the break, other keys typed while the
// command works are dropped. Does nothing when fd is not a terminal.
// Prompts of the command set their own mode and put this one back.

#include <termios.h>

class AcEdEscapeWatch {
public:
    explicit AcEdEscapeWatch(int fd);
    ~AcEdEscapeWatch();
    AcEdEscapeWatch(const AcEdEscapeWatch&) = delete;
    AcEdEscapeWatch& operator=(const AcEdEscapeWatch&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};
