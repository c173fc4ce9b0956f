#pragma once
// The layout test drawing (written by tests/host/layout_fixture.py with
// ezdxf) and reading files back with ezdxf (tests/host/layout_check.py).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dxfTestSupport.h"

namespace layouttest {

inline std::string quoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Writes the fixture drawing into dir; the path, or "" when ezdxf failed.
inline std::filesystem::path fixture(const std::filesystem::path& dir)
{
    auto path = dir / "layouts.dxf";
    std::string cmd = std::string(ZELKA_PYTHON) + " " +
                      quoted((dxftest::sourceDir() / "tests/host/layout_fixture.py").string()) + " " +
                      quoted(path.string()) + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0 ? path : std::filesystem::path();
}

// One JSON text per expression, as ezdxf sees the file (see layout_check.py).
inline std::vector<std::string> ezdxf(const std::filesystem::path& file, const std::vector<std::string>& exprs)
{
    std::string cmd = std::string(ZELKA_PYTHON) + " " +
                      quoted((dxftest::sourceDir() / "tests/host/layout_check.py").string()) + " " +
                      quoted(file.string());
    for (const std::string& e : exprs)
        cmd += " " + quoted(e);
    cmd += " 2>&1";
    std::string out = dxftest::capture(cmd);
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < out.size()) {
        size_t nl = out.find('\n', pos);
        lines.push_back(out.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    return lines;
}

// The single answer of one expression ("" when ezdxf gave none).
inline std::string ezdxf1(const std::filesystem::path& file, const std::string& expr)
{
    auto lines = ezdxf(file, {expr});
    return lines.empty() ? std::string() : lines.front();
}

}  // namespace layouttest
