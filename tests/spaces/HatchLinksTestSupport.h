#pragma once
// Helpers for the hatching, hyperlink and asset tests: a host drawing
// adopted by a CAcadDrawing (as the commands adopt the active document), and
// what ezdxf reads of the saved file (tests/spaces/hatch_links_oracle.py).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "module/AcadDrawing.h"
#include "tests/common/Shell.h"
#include "tests/spaces/SpacesTestSupport.h"

namespace hatchtest {

// What ezdxf reads of a file, as the oracle's key=value lines.
class Oracle {
public:
    explicit Oracle(const std::filesystem::path& file)
    {
        const zelkatest::CommandOutput run = zelkatest::runCommand(
            zelkatest::pythonCommand(std::string(ZELKA_SOURCE_DIR) + "/tests/spaces/hatch_links_oracle.py", {file.string()}));
        std::istringstream lines(run.out);
        std::string line;
        while (std::getline(lines, line)) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos) values_[line.substr(0, equals)] = line.substr(equals + 1);
        }
        status_ = run.status;
    }

    bool ran() const { return status_ == 0 && !values_.empty(); }
    bool has(const std::string& key) const { return values_.count(key) != 0; }
    // The value of a key; "<missing key>" when ezdxf reported nothing under it.
    std::string operator[](const std::string& key) const
    {
        auto found = values_.find(key);
        return found == values_.end() ? "<missing " + key + ">" : found->second;
    }
    double number(const std::string& key) const { return std::stod((*this)[key]); }
    // The blank-separated numbers of a value.
    std::vector<double> numbers(const std::string& key) const
    {
        std::vector<double> out;
        std::istringstream in((*this)[key]);
        double v;
        while (in >> v)
            out.push_back(v);
        return out;
    }
    // The comma-separated parts of a value.
    std::vector<std::string> list(const std::string& key) const
    {
        std::vector<std::string> parts;
        std::string value = (*this)[key];
        if (value.empty())
            return parts;
        return spacetest::splitBar(value, ',');
    }

private:
    std::map<std::string, std::string> values_;
    int status_ = -1;
};

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
