#pragma once
// Answers read from --command texts and script files, in the order they were
// given: each line is one command or one answer, a line "^C" cancels the
// prompt that reads it. Lines keep their blanks. Scripts written on other
// systems read the same: a UTF-8 byte-order mark at the start is dropped and
// a line ends at LF, CR LF or a lone CR.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "host/ed/InputSource.h"

class ScriptInput : public InputSource {
public:
    // Splits script bytes into lines: a leading UTF-8 byte-order mark is
    // dropped, LF, CR LF and CR each end a line, and a final line end adds no
    // empty line. Never fails; any bytes give some list of lines.
    static std::vector<std::string> splitLines(std::string_view bytes);

    // Appends the lines of a text (as splitLines cuts them).
    void addText(std::string_view text);
    // Appends the lines of a file. Returns false, adding nothing and with
    // error set to the reason ("it is a folder", "No such file or
    // directory"), when the file cannot be read.
    bool addFile(const std::string& path, std::string& error);

    Result readLine() override;
    bool needsEcho() const override { return true; }
    bool isInteractive() const override { return false; }

    // Lines not yet read.
    size_t pending() const { return lines_.size(); }

private:
    std::deque<std::string> lines_;
};
