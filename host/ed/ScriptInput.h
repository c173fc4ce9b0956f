#pragma once
// Answers read from --command texts and script files, in the order they were
// given: each line is one command or one answer, a line "^C" cancels the
// prompt that reads it. Lines of a script file keep their blanks, except a
// final carriage return, so scripts written on other systems read the same.

#include <deque>
#include <string>

#include "host/ed/InputSource.h"

class ScriptInput : public InputSource {
public:
    // Appends the lines of a text (split at line breaks; a final line break
    // adds no empty line).
    void addText(const std::string& text);
    // Appends the lines of a file. Returns false, adding nothing, when the
    // file cannot be read.
    bool addFile(const std::string& path);

    Result readLine() override;
    bool needsEcho() const override { return true; }
    bool isInteractive() const override { return false; }

    // Lines not yet read.
    size_t pending() const { return lines_.size(); }

private:
    std::deque<std::string> lines_;
};
