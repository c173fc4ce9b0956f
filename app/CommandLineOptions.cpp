#include "app/CommandLineOptions.h"

#include <cstring>

bool CommandLineOptions::parse(int argc, char** argv)
{
    auto value = [&](int& i, const char* option, std::string& into) {
        if (i + 1 >= argc) {
            error_ = std::string("option ") + option + " needs a value";
            return false;
        }
        into = argv[++i];
        // An empty file or folder name would quietly mean "none" ('' from an unset shell variable).
        if (into.empty() && std::strcmp(option, "--command") != 0 && std::strcmp(option, "--host-product") != 0) {
            error_ = std::string("option ") + option + " needs a non-empty value";
            return false;
        }
        return true;
    };
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsEnded && std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && std::strcmp(arg, "--help") == 0) {
            showHelp = true;
        } else if (!optionsEnded && (std::strcmp(arg, "-h") == 0)) {
            showHelp = true;
        } else if (!optionsEnded && std::strcmp(arg, "--version") == 0) {
            showVersion = true;
        } else if (!optionsEnded && std::strcmp(arg, "--command") == 0) {
            Input input;
            if (!value(i, arg, input.value)) return false;
            inputs.push_back(std::move(input));
        } else if (!optionsEnded && std::strcmp(arg, "--script") == 0) {
            Input input;
            input.isScript = true;
            if (!value(i, arg, input.value)) return false;
            inputs.push_back(std::move(input));
        } else if (!optionsEnded && std::strcmp(arg, "--save") == 0) {
            save = true;
        } else if (!optionsEnded && std::strcmp(arg, "--save-as") == 0) {
            if (!value(i, arg, saveAs)) return false;
        } else if (!optionsEnded && std::strcmp(arg, "--appdata") == 0) {
            if (!value(i, arg, appData)) return false;
        } else if (!optionsEnded && std::strcmp(arg, "--host-product") == 0) {
            if (!value(i, arg, hostProduct)) return false;
            hostProductGiven = true;
        } else if (!optionsEnded && std::strcmp(arg, "--module") == 0) {
            if (!value(i, arg, modulePath)) return false;
        } else if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
            error_ = std::string("unknown option '") + arg + "'";
            return false;
        } else if (drawing.empty()) {
            drawing = arg;
        } else {
            error_ = std::string("only one drawing can be given ('") + drawing + "' and '" + arg + "')";
            return false;
        }
    }
    if (save && !saveAs.empty()) {
        error_ = "--save and --save-as cannot be used together";
        return false;
    }
    if (save && drawing.empty()) {
        error_ = "--save needs a drawing (a new drawing is saved with --save-as FILE)";
        return false;
    }
    return true;
}

std::string CommandLineOptions::usage()
{
    return "Usage: zelka [OPTIONS] [DRAWING]\n"
           "\n"
           "Zelka records the spaces of buildings in CAD floor plans. zelka is its\n"
           "console CAD host: it opens a DXF drawing (or starts a new one), loads the\n"
           "Zelka module and runs commands typed at the Command: prompt or read from\n"
           "scripts.\n"
           "\n"
           "Options:\n"
           "  --command TEXT       feed TEXT as if typed; a line break separates answers\n"
           "  --script FILE        feed the lines of FILE (one command or answer a line)\n"
           "                       --command and --script may repeat; they are read in\n"
           "                       the order given, and zelka ends when they run out\n"
           "  --save               save the drawing back to its file at the end\n"
           "  --save-as FILE       save the drawing to FILE at the end\n"
           "  --appdata DIR        use DIR as the application-data folder (preferences\n"
           "                       and temporary files; sets ZELKA_APPDATA)\n"
           "  --host-product NAME  the product name the host reports (default BricsCAD)\n"
           "  --module FILE        load this module file instead of ../lib/libzelka.so\n"
           "  --version            print the version and exit\n"
           "  --help               print this help and exit\n"
           "\n"
           "Without --command or --script, zelka reads the keyboard (a line editor with\n"
           "history; Escape or Ctrl-C cancels a prompt, Ctrl-D ends) or, when standard\n"
           "input is not a terminal, its lines as a script.\n"
           "\n"
           "Script lines: a command name, or the answer to the prompt that is waiting\n"
           "(an empty line is Enter). A line \"^C\" cancels the prompt. Dialogs are\n"
           "driven with lines starting with \"dlg:\":\n"
           "  dlg:set ID TEXT   dlg:check ID   dlg:uncheck ID   dlg:click ID\n"
           "  dlg:choose ID N   dlg:dblclick ID N   dlg:menu ID   dlg:close   dlg:show\n"
           "Message boxes with Yes/No buttons read the answer (Yes, No, Enter = first).\n"
           "\n"
           "Standard output is the command-line transcript. The exit status is 0 when\n"
           "every command succeeded, 1 when a command was unknown or failed, a dialog\n"
           "action failed or the input ended inside a prompt, 2 for bad options, 3\n"
           "when the module, a script or the drawing cannot be loaded, and 4 when all\n"
           "went well but the transcript could not be written.\n";
}
