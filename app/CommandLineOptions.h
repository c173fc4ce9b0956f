#pragma once
// The options of the zelka program:
//   zelka [--command TEXT]... [--script FILE]... [--save | --save-as FILE]
//         [--appdata DIR] [--host-product NAME] [--module FILE] [DRAWING]

#include <string>
#include <vector>

struct CommandLineOptions {
    // The --command texts and --script files in the order given.
    struct Input {
        bool isScript = false;
        std::string value;
    };
    std::vector<Input> inputs;
    bool save = false;
    std::string saveAs;
    std::string appData;
    std::string hostProduct;
    bool hostProductGiven = false;
    std::string modulePath;
    std::string drawing;
    bool showHelp = false;
    bool showVersion = false;

    // Reads the arguments. Returns false, with error() set, for an unknown
    // option, a missing value, an empty file or folder name (--script,
    // --save-as, --appdata, --module), --save with --save-as, or two drawings.
    bool parse(int argc, char** argv);
    const std::string& error() const { return error_; }

    // The text --help prints.
    static std::string usage();

private:
    std::string error_;
};
