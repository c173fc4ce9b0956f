#pragma once
#include <functional>
#include <string>

// Prints formatted text to the command line. Returns the number of bytes printed.
int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where command-line text goes: standard output unless a front end or a test
// installs a sink. Returns the sink that was installed before.
using CommandLineSink = std::function<void(const std::string& text)>;
CommandLineSink setCommandLineSink(CommandLineSink sink);
