#pragma once
// The layout test drawing, written by tests/host/layout_fixture.py with ezdxf.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dxfTestSupport.h"

namespace layouttest {

using dxftest::ezdxf;
using dxftest::ezdxf1;
using dxftest::quoted;

// Writes the fixture drawing into dir; the path, or "" when ezdxf failed.
inline std::filesystem::path fixture(const std::filesystem::path& dir)
{
    auto path = dir / "layouts.dxf";
    std::string cmd = std::string(ZELKA_PYTHON) + " " +
                      quoted((dxftest::sourceDir() / "tests/host/layout_fixture.py").string()) + " " +
                      quoted(path.string()) + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0 ? path : std::filesystem::path();
}

}  // namespace layouttest
