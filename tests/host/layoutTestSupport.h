#pragma once
// The layout test drawing, written by tests/tools/ezdxf_fixtures.py with ezdxf.
#include <filesystem>
#include <string>
#include <vector>

#include "dxfTestSupport.h"

namespace layouttest {

using dxftest::ezdxf;
using dxftest::ezdxf1;

// Writes the fixture drawing into dir; its path.
inline std::filesystem::path fixture(const std::filesystem::path& dir)
{
    auto path = dir / "layouts.dxf";
    dxftest::ezdxfFixture("layouts", path);
    return path;
}

}  // namespace layouttest
