#pragma once
// Helpers of the table tests: running tests/host/dbTableQuery.py (what ezdxf
// sees of a saved table) and reading its key=value lines.
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "tests/host/dxfTestSupport.h"

namespace tabletest {

using Facts = std::multimap<std::string, std::string>;

// Runs tests/host/dbTableQuery.py on a file; its key=value lines.
inline Facts query(const std::filesystem::path& file)
{
    std::string cmd = std::string(ZELKA_PYTHON) + " '" + (dxftest::sourceDir() / "tests/host/dbTableQuery.py").string() +
                      "' '" + file.string() + "' 2>&1";
    std::string out = dxftest::capture(cmd);
    Facts facts;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        size_t eq = line.find('=');
        facts.emplace(eq == std::string::npos ? "_raw" : line.substr(0, eq), eq == std::string::npos ? line : line.substr(eq + 1));
    }
    return facts;
}

inline std::string one(const Facts& f, const std::string& key)
{
    auto it = f.find(key);
    return it == f.end() ? "<missing " + key + ">" : it->second;
}

inline std::vector<std::string> all(const Facts& f, const std::string& key)
{
    std::vector<std::string> v;
    for (auto [it, end] = f.equal_range(key); it != end; ++it)
        v.push_back(it->second);
    return v;
}

inline std::vector<std::string> split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

inline std::vector<double> numbers(const std::string& text)
{
    std::istringstream in(text);
    std::vector<double> v;
    for (double x; in >> x;)
        v.push_back(x);
    return v;
}

inline std::string hex(AcDbObjectId id)
{
    char buf[20];
    id.handle().getIntoAsciiBuffer(buf, sizeof buf);
    return buf;
}


}  // namespace tabletest
