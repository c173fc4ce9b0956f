#pragma once
// Where the editor's answers come from: a script, the --command texts, or the
// terminal. Commands and prompt answers come from the same stream.

#include <string>

class InputSource {
public:
    enum class Kind {
        Line,     // a complete answer (possibly empty: Enter)
        Cancel,   // Escape or Ctrl-C at the terminal, "^C" in a script
        End       // nothing more to read
    };
    struct Result {
        Kind kind = Kind::End;
        std::string text;
    };

    virtual ~InputSource() = default;

    // Reads one answer after the prompt has been shown. Never throws for end
    // of input: returns Kind::End instead.
    virtual Result readLine() = 0;
    // True when the source echoes nothing itself (a script): the editor then
    // writes each answer into the transcript after its prompt.
    virtual bool needsEcho() const = 0;
    // True when a person is typing (the terminal).
    virtual bool isInteractive() const = 0;
};
