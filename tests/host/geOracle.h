#pragma once
// Runs a Python script under Debian's /usr/bin/python3 (which has ezdxf) for
// the numbers it computes, so geometry tests compare against an
// implementation that shares no code with the host.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/common/OracleJson.h"

namespace georacle {

// Writes script to a temporary file and runs it; the numbers it appended to
// its list `values`. An oracle that fails gives no list: the test fails with
// what it printed.
inline std::vector<double> runPython(const std::string& script)
{
    std::filesystem::path file = std::filesystem::temp_directory_path()
                               / ("zelka_ge_oracle_" + std::to_string(::getpid()) + ".py");
    std::ofstream(file) << "import json\nvalues = []\n" << script << "\nprint(json.dumps(values))\n";
    const nlohmann::json values = zelkatest::oracleJson(file, {});
    std::filesystem::remove(file);
    if (!values.is_array()) ADD_FAILURE() << "python oracle failed: " << values;
    return values.is_array() ? values.get<std::vector<double>>() : std::vector<double>();
}

// A double written with all 17 significant digits, for embedding in a script.
inline std::string num(double v)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

}  // namespace georacle
