#pragma once
// The command line of zelka-batch.

#include <cstdint>
#include <string>
#include <vector>

struct BatchOptions {
    std::string action = "run";        // run, queue, status
    std::string settingsFile;          // docmon.xml; "" = the preferences folder's
    int server = 0;                    // the document-monitor entry
    int32_t waitingStatus = 1;         // the status reports wait in
    int workers = 1;
    int leaseSeconds = 300;            // a claim runs out after this long
    int maxAttempts = 3;               // claims of one report before it is given up
    double pollSeconds = 2.0;          // the wait between looks at an empty queue
    double progressSeconds = 10.0;     // the time between progress lines
    bool follow = false;               // keep waiting for new reports
    bool verbose = false;              // show the module's command-line text
    std::string hostProduct = "AutoCAD";
    std::string outputPath;            // queue: the output folder of every queued report
    std::vector<std::string> paths;    // queue: folders, report XML files, CSV lists

    // False (and error() says why) for a bad command line.
    bool parse(int argc, char** argv);
    const std::string& error() const { return error_; }
    static std::string usage();

private:
    std::string error_;
};
