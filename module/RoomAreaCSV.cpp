#include "module/RoomAreaCSV.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "infra/Utilities.h"
#include "spaces/SpaceUnits.h"

namespace {

constexpr const char* kGrossAreaBlock = "ROOM-GROSS_AREA";

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

bool CRoomAreaCSV::addBlock(const std::string& blockName, const std::string& name, double area, double perimeter,
                            int32_t units)
{
    if (blockName.rfind("ROOM-", 0) != 0) return true;
    if (!std::isfinite(area) || !std::isfinite(perimeter)) return false;
    // The totals carry the units of the last "ROOM-" block met, gross area included.
    haveLastUnits_ = true;
    lastUnits_ = units;
    if (blockName == kGrossAreaBlock)
        grossAreas_.push_back({name, area, perimeter, units});
    else
        rooms_.push_back({name, area, perimeter, units});
    return true;
}

bool CRoomAreaCSV::totalsFinite() const
{
    double totalArea = 0.0;
    double totalPerimeter = 0.0;
    for (const Row& row : rooms_) {
        totalArea += row.area;
        totalPerimeter += row.perimeter;
    }
    return std::isfinite(totalArea) && std::isfinite(totalPerimeter);
}

std::string CRoomAreaCSV::quoteField(const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string CRoomAreaCSV::rowText(const Row& row) const
{
    CUtilities util;
    return quoteField(row.name) + "," + util.DoubleToCString(row.area, precision_) + "," +
           std::string(csvAreaUnit(row.units)) + "," + util.DoubleToCString(row.perimeter, precision_) + "," +
           std::string(csvLengthUnit(row.units)) + "\n";
}

std::string CRoomAreaCSV::getText() const
{
    CUtilities util;
    std::string text = "Code,Area,Units,Perimeter,Units\n";
    double totalArea = 0.0;
    double totalPerimeter = 0.0;
    for (const Row& row : rooms_) {
        text += rowText(row);
        totalArea += row.area;
        totalPerimeter += row.perimeter;
    }
    const std::string totalAreaUnit = haveLastUnits_ ? std::string(csvAreaUnit(lastUnits_)) : "";
    const std::string totalLengthUnit = haveLastUnits_ ? std::string(csvLengthUnit(lastUnits_)) : "";
    text += "Total," + util.DoubleToCString(totalArea, precision_) + "," + totalAreaUnit + "," +
            util.DoubleToCString(totalPerimeter, precision_) + "," + totalLengthUnit + "\n";
    text += "\n\n";
    for (const Row& row : grossAreas_) text += rowText(row);
    return text;
}

bool CRoomAreaCSV::writeFile(const std::string& path) const
{
    if (path.empty()) return false;
    const std::string text = "\xEF\xBB\xBF" + getText();
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) return false;
    return std::fclose(file.release()) == 0;
}

std::string CRoomAreaCSV::csvPathFor(const std::string& drawingPath)
{
    if (drawingPath.size() < 4) return {};
    return drawingPath.substr(0, drawingPath.size() - 4) + ".csv";
}
