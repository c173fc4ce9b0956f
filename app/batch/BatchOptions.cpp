#include "app/batch/BatchOptions.h"

#include <cstdlib>
#include <cstring>

namespace {

bool wholeNumber(const char* text, int low, int& out)
{
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > 1000000) return false;
    out = static_cast<int>(value);
    return true;
}

bool seconds(const char* text, double& out)
{
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (!*text || *end || !(value > 0) || value > 86400) return false;
    out = value;
    return true;
}

}  // namespace

bool BatchOptions::parse(int argc, char** argv)
{
    int i = 1;
    if (i < argc && argv[i][0] != '-') {
        action = argv[i++];
        if (action != "run" && action != "queue" && action != "status") {
            error_ = "unknown action \"" + action + "\": give run, queue or status";
            return false;
        }
    }
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            action = "help";
            return true;
        }
        if (arg == "--follow") {
            follow = true;
            continue;
        }
        if (arg == "--verbose") {
            verbose = true;
            continue;
        }
        if (arg[0] != '-') {
            if (action != "queue") {
                error_ = "unexpected argument \"" + arg + "\"";
                return false;
            }
            paths.push_back(arg);
            continue;
        }
        if (i + 1 >= argc) {
            error_ = arg + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (arg == "--settings") settingsFile = value;
        else if (arg == "--server") ok = wholeNumber(value, 0, server);
        else if (arg == "--status") ok = wholeNumber(value, 0, waitingStatus) && waitingStatus <= 255;
        else if (arg == "--workers") ok = wholeNumber(value, 1, workers) && workers <= 256;
        else if (arg == "--lease") ok = wholeNumber(value, 1, leaseSeconds);
        else if (arg == "--max-attempts") ok = wholeNumber(value, 1, maxAttempts);
        else if (arg == "--poll") ok = seconds(value, pollSeconds);
        else if (arg == "--progress") ok = seconds(value, progressSeconds);
        else if (arg == "--host-product") hostProduct = value;
        else if (arg == "--output-path") outputPath = value;
        else {
            error_ = "unknown option " + arg;
            return false;
        }
        if (!ok) {
            error_ = "bad value \"" + std::string(value) + "\" for " + arg;
            return false;
        }
    }
    if (action == "queue" && paths.empty()) {
        error_ = "queue needs a folder of report XML files, a report XML file or a CSV list";
        return false;
    }
    return true;
}

std::string BatchOptions::usage()
{
    return "usage: zelka-batch [run] [options]       prepare the reports waiting in the property database\n"
           "       zelka-batch queue PATH... [options] queue report XML files (a folder of them, or a CSV list)\n"
           "       zelka-batch status [options]      print how many reports are in each status\n"
           "options:\n"
           "  --settings FILE      the document-monitor settings (default: docmon.xml in the preferences folder)\n"
           "  --server N           the settings entry to use (default 0, the first)\n"
           "  --status S           the status reports wait in (default 1)\n"
           "  --workers N          worker processes preparing reports side by side (default 1)\n"
           "  --lease SECONDS      how long a claim holds before another worker may take the report (default 300)\n"
           "  --max-attempts N     claims of one report before it is given up with status 20 (default 3)\n"
           "  --poll SECONDS       the wait between looks at an empty queue (default 2)\n"
           "  --progress SECONDS   the time between progress lines (default 10)\n"
           "  --follow             keep waiting for new reports instead of stopping when none is left\n"
           "  --host-product NAME  the host the plots are made as: AutoCAD (plot engine, default) or BricsCAD\n"
           "  --output-path DIR    queue: the output folder of the queued reports (default: the settings')\n"
           "  --verbose            show what preparing each report prints\n";
}
