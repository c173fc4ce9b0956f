#pragma once
// Answers typed at a terminal, with a small line editor: left and right
// arrows, Home/End (also Ctrl-A/Ctrl-E), Backspace and Delete, Ctrl-U and
// Ctrl-K to cut, up and down arrows for the history of earlier answers.
// Enter gives the answer (possibly empty); Escape or Ctrl-C cancels the
// prompt; Ctrl-D on an empty line ends the input. The terminal is in raw
// mode only while a line is read. When the input is not a terminal, lines
// are read as they come (ending at LF, CR LF or CR, a leading UTF-8
// byte-order mark dropped) and echoed into the transcript.

#include <string>
#include <vector>

#include "host/ed/InputSource.h"

class TerminalInput : public InputSource {
public:
    // Reads from inFd and draws the line being edited on outFd.
    TerminalInput(int inFd, int outFd);

    Result readLine() override;
    bool needsEcho() const override { return !terminal_; }
    bool isInteractive() const override { return terminal_; }

    // The answers given so far, oldest first (empty answers are not kept).
    const std::vector<std::string>& history() const { return history_; }
    // Treats the input as a terminal even when it is not one (for tests
    // that type keys through a pipe); raw mode is still only set on a tty.
    void forceTerminal() { terminal_ = true; }

private:
    Result readPlainLine();
    Result readEditedLine();
    // Reads one byte; false at the end of input. waitMs < 0 waits for ever;
    // otherwise false also when nothing arrives in time.
    bool readByte(unsigned char& byte, int waitMs = -1);
    void redraw(const std::string& line, size_t cursor);
    void write(const std::string& text);

    int in_;
    int out_;
    bool terminal_;
    // The plain reader's look-ahead after a carriage return.
    unsigned char pendingByte_ = 0;
    bool hasPendingByte_ = false;
    bool firstLine_ = true;
    std::vector<std::string> history_;
};
