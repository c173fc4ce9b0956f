#pragma once
// The host's command-line editor: one per process. It owns the input source
// every prompt reads from, writes answers into the transcript when the
// source does not echo them, and keeps the outcome of the running command
// (failed, cancelled, input ended inside a prompt) for the front end.

#include <memory>
#include <string>

#include "host/ed/InputSource.h"

class Editor {
public:
    static Editor& instance();

    // Installs the input source and starts its outcome afresh (nothing ended,
    // nothing pushed back); returns the one installed before (may be null).
    std::unique_ptr<InputSource> setInput(std::unique_ptr<InputSource> input);
    // The current source, or null when none is installed.
    InputSource* input() const { return input_.get(); }

    // Prints the prompt on the command line and reads one answer. Without an
    // input source, or at the end of input, returns Kind::End; at the end of
    // input inside a prompt (not the Command: prompt) that is recorded. Once
    // the input has ended, every later prompt returns Kind::End at once and
    // prints nothing.
    InputSource::Result prompt(const std::string& promptText, bool commandPrompt = false);
    // Puts text in front of the input: the next prompt reads it first, with
    // the same echo as a line of the source (used when a blank ends a word).
    void pushBack(std::string text) { pushedBack_ = std::move(text); hasPushedBack_ = true; }

    // The command that runs now reports a failure (shown to the user already).
    void markCommandFailed() { commandFailed_ = true; }
    bool commandFailed() const { return commandFailed_; }
    void clearCommandFailed() { commandFailed_ = false; }

    // True once the input ran out while a prompt of a command waited.
    bool inputEndedInPrompt() const { return endedInPrompt_; }
    // True once the input ran out.
    bool inputEnded() const { return ended_; }

private:
    Editor() = default;

    std::unique_ptr<InputSource> input_;
    bool commandFailed_ = false;
    bool endedInPrompt_ = false;
    bool ended_ = false;
    std::string pushedBack_;
    bool hasPushedBack_ = false;
};
