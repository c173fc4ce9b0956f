#pragma once
// Helpers of the table tests: what ezdxf sees of the table in a saved drawing
// (tests/tools/dxf_oracle.py audit, table and dump).
#include <string>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "tests/common/OracleJson.h"

namespace tabletest {

using nlohmann::json;

struct Seen {
    json errors;   // ezdxf's audit errors
    json info;     // dxf_oracle.py table: "tables", "styles", "style_reactors", "classes"
    json blocks;   // the dump's blocks by name
    // The drawing's first table, read from its raw tags.
    const json& table() const { return info.at("tables").at(0); }
    const json& cell(size_t row, size_t column) const
    {
        return table().at("cells").at(row * table().at("columns").get<size_t>() + column);
    }
    // The entities of one type in the table's *T block.
    std::vector<json> tblock(const std::string& type) const
    {
        std::vector<json> found;
        for (const json& e : blocks.at(table().at("block_name").get<std::string>()).at("entities"))
            if (e.at("type") == type) found.push_back(e);
        return found;
    }
};

inline Seen query(const std::filesystem::path& file)
{
    const auto oracle = zelkatest::testScript("tools/dxf_oracle.py");
    return {zelkatest::oracleJson(oracle, {"audit", file.string()}).at("errors"),
            zelkatest::oracleJson(oracle, {"table", file.string()}), zelkatest::dxfDump(file).at("blocks")};
}

// A TEXT of the *T block as the table test compares it: alignment point, height, alignment.
inline std::vector<double> placement(const json& text)
{
    const json& at = text.at("align_point").is_null() ? text.at("insert") : text.at("align_point");
    return {at.at(0), at.at(1), text.at("height"), text.at("halign"), text.at("valign")};
}

inline std::string hex(AcDbObjectId id)
{
    char buf[20];
    id.handle().getIntoAsciiBuffer(buf, sizeof buf);
    return buf;
}

}  // namespace tabletest
