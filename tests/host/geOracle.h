#pragma once
// Runs a Python script under Debian's /usr/bin/python3 (which has ezdxf) and
// returns its standard output as numbers, so geometry tests compare against
// an implementation that shares no code with the host.

#include <gtest/gtest.h>

#include "tests/common/Shell.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef ZELKA_PYTHON
#define ZELKA_PYTHON "/usr/bin/python3"
#endif

namespace georacle {

// Writes script to a temporary file, runs it, and parses every whitespace-separated
// token of its output as a double. Adds a test failure when python exits non-zero.
inline std::vector<double> runPython(const std::string& script)
{
    std::filesystem::path file = std::filesystem::temp_directory_path()
                               / ("zelka_ge_oracle_" + std::to_string(::getpid()) + ".py");
    {
        std::ofstream out(file);
        out << script;
    }
    const zelkatest::CommandOutput run = zelkatest::runCommand(zelkatest::pythonCommand(file) + " 2>&1");
    const std::string& text = run.out;
    EXPECT_EQ(run.status, 0) << "python oracle failed:\n" << text;
    std::vector<double> values;
    std::filesystem::remove(file);
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        try {
            values.push_back(std::stod(token));
        } catch (const std::exception&) {
            ADD_FAILURE() << "python oracle printed a non-number: " << token << "\n" << text;
        }
    }
    return values;
}

// A double written with all 17 significant digits, for embedding in a script.
inline std::string num(double v)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

}  // namespace georacle
