#pragma once
// Helpers for the hatching, hyperlink and asset tests: a host drawing
// adopted by a CAcadDrawing (as the commands adopt the active document), and
// what ezdxf reads of the saved file (tests/spaces/hatch_links_oracle.py).

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <utility>

#include "module/AcadDrawing.h"
#include "tests/common/OracleJson.h"
#include "tests/spaces/SpacesTestSupport.h"

namespace hatchtest {

// What ezdxf reads of a file (the JSON document of the oracle).
inline nlohmann::json readBack(const std::filesystem::path& file)
{
    return zelkatest::oracleJson(zelkatest::testScript("spaces/hatch_links_oracle.py"), {file.string()});
}

// A new drawing as the current host document and its drawing object, with
// a full path for the messages that name the drawing.
class AdoptedDrawing {
public:
    explicit AdoptedDrawing(const std::string& fullPath = "/tmp/zelka-hatching-test.dxf")
    {
        drawing.setFullPath(fullPath);
    }

    spacetest::Drawing host;
    CAcadDrawing& drawing = host.drawing;
};

inline std::string handleOf(AcDbObjectId id)
{
    return id.handle().toString();
}

// A point (x, y) turned by angle about the origin, scaled, then moved by (dx, dy).
inline std::pair<double, double> place(double x, double y, double angle, double scale, double dx, double dy)
{
    return {dx + scale * (x * std::cos(angle) - y * std::sin(angle)),
            dy + scale * (x * std::sin(angle) + y * std::cos(angle))};
}

}  // namespace hatchtest
