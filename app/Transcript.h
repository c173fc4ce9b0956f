#pragma once
// The command-line transcript on standard output. A write that fails (a
// reader that went away, a full disk) must not stop the commands or the save:
// the first error is kept, the rest of the transcript is dropped, and the
// error is reported once the session has ended.

#include <string>

class Transcript {
public:
    // Makes a closed standard input, output or error stand on /dev/null, so
    // a file opened later (the drawing, its temporary copy) never takes
    // their place and receives text meant for the terminal; a closed
    // standard output counts as a transcript that cannot be written. Lets a
    // write to a pipe without reader fail with EPIPE instead of ending the
    // process. Call once, before any file is opened.
    static void prepareStandardStreams();

    // Writes text to standard output; after a failure, writes nothing more.
    static void write(const std::string& text);
    // True when the last character written was a line break (or nothing
    // was written yet).
    static bool atLineStart();

    // The reason the transcript could not be written, or empty when it was
    // written completely.
    static const std::string& error();
};
