#pragma once
// Helpers for the graphic report tests: report documents written as text,
// and what ezdxf finds in a drawing after a report was applied (model space:
// tests/spaces/plan_facts.py report; the report blocks: tests/tools/dxf_oracle.py).

#include <map>
#include <string>
#include <vector>

#include "tests/commands/CommandTestSupport.h"
#include "tests/common/OracleJson.h"

namespace reporttest {

// The placed outline of a block reference, measured by ezdxf.
struct InsertFact {
    std::string handle, name, layer, nameText;
    double cx = 0, cy = 0, area = 0;
    std::map<std::string, std::string> record;  // ADE items by key
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(InsertFact, handle, name, layer, nameText, cx, cy, area, record)

struct HatchFact {
    std::string handle, pattern, layer;
    int r = 0, g = 0, b = 0;
    double cx = 0, cy = 0, area = 0;
    int rank = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(HatchFact, handle, pattern, layer, r, g, b, cx, cy, area, rank)

struct LineFact {
    std::string handle, linetype, layer;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int r = 0, g = 0, b = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(LineFact, handle, linetype, layer, x1, y1, x2, y2, r, g, b)

struct TextFact {
    std::string handle, layer, text;
    double x = 0, y = 0, rotation = 0, height = 0;
    int halign = 0, valign = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(TextFact, handle, layer, text, x, y, rotation, height, halign, valign)

struct LayerFact {
    bool on = true, frozen = false, locked = false;
    int lineweight = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(LayerFact, on, frozen, locked, lineweight)

struct ReportFacts {
    std::vector<InsertFact> inserts;
    std::vector<HatchFact> hatches;
    std::vector<LineFact> lines;
    std::vector<TextFact> texts;
    std::map<std::string, LayerFact> layers;
    std::map<std::string, std::vector<double>> linetypes;  // name -> length, dashes
    std::string error;

    const InsertFact* insertNamed(const std::string& spaceName) const
    {
        for (const InsertFact& i : inserts)
            if (i.nameText == spaceName) return &i;
        return nullptr;
    }
    // The hatches whose boundary has the outline's centroid and area.
    std::vector<const HatchFact*> hatchesOn(const InsertFact& insert) const
    {
        std::vector<const HatchFact*> found;
        for (const HatchFact& h : hatches)
            if (std::abs(h.cx - insert.cx) < 1e-6 && std::abs(h.cy - insert.cy) < 1e-6 &&
                std::abs(h.area - insert.area) < 1e-6 * std::max(1.0, insert.area))
                found.push_back(&h);
        return found;
    }
};

// Model space as ezdxf reads it (tests/spaces/plan_facts.py report); error holds
// what went wrong when it could not.
inline ReportFacts readReportFacts(const std::filesystem::path& drawing)
{
    const nlohmann::json json =
        zelkatest::oracleJson(zelkatest::testScript("spaces/plan_facts.py"), {"report", drawing.string()});
    ReportFacts facts;
    try {
        json.at("inserts").get_to(facts.inserts);
        json.at("hatches").get_to(facts.hatches);
        json.at("lines").get_to(facts.lines);
        json.at("texts").get_to(facts.texts);
        json.at("layers").get_to(facts.layers);
        json.at("linetypes").get_to(facts.linetypes);
    } catch (const nlohmann::json::exception& e) {
        facts.error = std::string(e.what()) + ": " + json.dump().substr(0, 2000);
    }
    return facts;
}

// One category of a report document.
struct CategoryText {
    std::string title, pattern, colour, layer;
    int scale = 1, angle = 0;
    std::vector<std::pair<std::string, std::string>> blocks;  // handle, area text ("" for none)
};

// A report document: title, layers to show, categories.
inline std::string reportDocument(const std::string& title, const std::vector<std::string>& layersOn,
                                  const std::vector<CategoryText>& categories, const std::string& extra = "")
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<graphicReport xmlns=\"urn:zelkasystems:orvane:documentMonitor\">\n"
                      "<grTitle>" + title + "</grTitle>\n" + extra;
    if (!categories.empty()) {
        xml += "<categories>\n";
        for (const CategoryText& c : categories) {
            xml += "<category><cID>1</cID><cTitle>" + c.title + "</cTitle>";
            if (!c.pattern.empty())
                xml += "<cHatchPattern>" + c.pattern + "</cHatchPattern><cHatchColour>" + c.colour +
                       "</cHatchColour><cHatchScale>" + std::to_string(c.scale) + "</cHatchScale><cHatchAngle>" +
                       std::to_string(c.angle) + "</cHatchAngle><cHatchLayer>" + c.layer + "</cHatchLayer>";
            if (!c.blocks.empty()) {
                xml += "<zelkaBlocks>";
                for (const auto& [handle, area] : c.blocks) {
                    xml += "<zelkaBlock><mbHandle>" + handle + "</mbHandle>";
                    if (!area.empty()) xml += "<mbArea>" + area + "</mbArea>";
                    xml += "</zelkaBlock>";
                }
                xml += "</zelkaBlocks>";
            }
            xml += "</category>\n";
        }
        xml += "</categories>\n";
    }
    if (!layersOn.empty()) {
        xml += "<layersOn>";
        for (const std::string& name : layersOn) xml += "<layerOn><loName>" + name + "</loName></layerOn>";
        xml += "</layersOn>\n";
    }
    return xml + "</graphicReport>\n";
}

// What ezdxf finds inside the blocks (tests/tools/dxf_oracle.py dump and table).
struct BlockFacts {
    std::filesystem::path drawing;
    nlohmann::json dump;
    // The entities of the type in the block; none when there is no such block.
    std::vector<nlohmann::json> of(const std::string& type, const std::string& block) const
    {
        std::vector<nlohmann::json> found;
        const nlohmann::json& blocks = dump.at("blocks");
        if (blocks.contains(block))
            for (const nlohmann::json& e : blocks[block].at("entities"))
                if (e.at("type") == type) found.push_back(e);
        return found;
    }
    // Every ACAD_TABLE of the drawing, read when first asked for.
    const nlohmann::json& tables() const
    {
        if (tables_.is_null())
            tables_ = zelkatest::oracleJson(zelkatest::testScript("tools/dxf_oracle.py"), {"table", drawing.string()})
                          .at("tables");
        return tables_;
    }
    // The anonymous block of the ACAD_TABLE in the owner block; "" when it has none.
    std::string tableBlockOf(const std::string& owner) const
    {
        for (const nlohmann::json& table : of("ACAD_TABLE", owner))
            for (const nlohmann::json& t : tables())
                if (t.at("handle") == table.at("handle")) return t.at("block_name");
        return "";
    }
    mutable nlohmann::json tables_ = nullptr;
};

inline BlockFacts readBlockFacts(const std::filesystem::path& drawing) { return {drawing, zelkatest::dxfDump(drawing)}; }

// The handle of the space named so in the fixture, as ezdxf reads it.
inline std::string handleOf(const ReportFacts& facts, const std::string& spaceName)
{
    const InsertFact* insert = facts.insertNamed(spaceName);
    return insert ? insert->handle : "<no " + spaceName + ">";
}

// The four categories of spaces.dxf the legend and pie tests use: Offices
// (RM-101 12.5 + 2RM-1 20), Labs (Lab 7 5, hatched as given), Stores (Store,
// without an area in the report) and Empty (no blocks).
inline std::vector<CategoryText> fourCategories(const ReportFacts& plan, const std::string& labsPattern = "SOLID",
                                                int labsScale = 1)
{
    return {{"Offices", "SOLID", "#FF0000", "GR-Offices", 1, 0,
             {{handleOf(plan, "RM-101"), "12.5"}, {handleOf(plan, "2RM-1"), "20"}}},
            {"Labs", labsPattern, "#0000FF", "GR-Labs", labsScale, 0, {{handleOf(plan, "Lab 7"), "5"}}},
            {"Stores", "SOLID", "#00FF00", "GR-Stores", 1, 0, {{handleOf(plan, "Store"), ""}}},
            {"Empty", "SOLID", "#808080", "GR-Empty", 1, 0, {}}};
}

// What a space block should show after a report: its hatch (pattern, true
// colour, layer; an empty pattern means none) and the AREA item of its record.
struct SpaceAfterReport {
    const char* space;
    const char* pattern;
    int r, g, b;
    const char* layer;
    const char* recordArea;
};

// Checks each space of the saved drawing's facts against what it should show.
inline void expectSpacesAfterReport(const ReportFacts& after, const std::vector<SpaceAfterReport>& spaces)
{
    for (const SpaceAfterReport& c : spaces) {
        SCOPED_TRACE(c.space);
        const InsertFact* insert = after.insertNamed(c.space);
        ASSERT_NE(insert, nullptr);
        EXPECT_EQ(insert->record.at("AREA"), c.recordArea);
        std::vector<const HatchFact*> hatches = after.hatchesOn(*insert);
        if (*c.pattern == '\0') {
            EXPECT_TRUE(hatches.empty());
            continue;
        }
        ASSERT_EQ(hatches.size(), 1u);
        EXPECT_EQ(hatches[0]->pattern, c.pattern);
        EXPECT_EQ(hatches[0]->layer, c.layer);
        EXPECT_EQ(std::vector<int>({hatches[0]->r, hatches[0]->g, hatches[0]->b}), std::vector<int>({c.r, c.g, c.b}));
    }
}

}  // namespace reporttest
