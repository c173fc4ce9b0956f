#pragma once
// The console CAD host: sets up the editor's input, message boxes and the
// dialog front end, loads the module, runs the command loop and reports the
// outcome as the exit status.

#include <string>

#include "app/CommandLineOptions.h"

class ConsoleHost {
public:
    explicit ConsoleHost(CommandLineOptions options) : options_(std::move(options)) {}

    // Runs the session. Returns the exit status: 0 success; 1 an unknown or
    // failed command, a failed dialog action, a refused or failed save, or
    // input ending inside a prompt; 3 when the module, a script or the
    // drawing cannot be loaded; 4 when all went well but the transcript
    // could not be written.
    int run();

private:
    bool setUpInput();
    std::string modulePath() const;
    // Opens the drawing given (or starts a new one); false, after saying
    // why, when it cannot be read.
    bool openDrawing();
    // Saves as --save or --save-as asked; false, after saying why, on
    // failure (a drawing changed on disk is not replaced: the input has
    // ended, so nobody can be asked).
    bool saveDrawing();
    // Closes the documents (their file locks go) as the process ends,
    // leaving their databases' memory to the system.
    void closeDocumentsAtExit();
    // Runs one line typed at the Command: prompt; false when it failed.
    bool runCommandLine(const std::string& line);

    CommandLineOptions options_;
};
