#pragma once
// Helpers for the graphic report tests: report documents written as text,
// and what ezdxf finds in a drawing after a report was applied
// (tests/reports/report_facts.py).

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/commands/CommandTestSupport.h"

namespace reporttest {

using zelkatest::captureOutput;
using zelkatest::kSourceDir;
using zelkatest::shellQuote;

// The placed outline of a block reference, measured by ezdxf.
struct InsertFact {
    std::string handle, name, layer, nameText;
    double cx = 0, cy = 0, area = 0;
    std::map<std::string, std::string> record;  // ADE items by key
};

struct HatchFact {
    std::string handle, pattern, layer;
    int r = 0, g = 0, b = 0;
    double cx = 0, cy = 0, area = 0;
    int rank = 0;
};

struct LineFact {
    std::string handle, linetype, layer;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int r = 0, g = 0, b = 0;
};

struct TextFact {
    std::string handle, layer, text;
    double x = 0, y = 0, rotation = 0, height = 0;
    int halign = 0, valign = 0;
};

struct LayerFact {
    bool on = true, frozen = false, locked = false;
    int lineweight = 0;
};

struct ReportFacts {
    std::vector<InsertFact> inserts;
    std::vector<HatchFact> hatches;
    std::vector<LineFact> lines;
    std::vector<TextFact> texts;
    std::map<std::string, LayerFact> layers;
    std::map<std::string, std::vector<double>> linetypes;  // name -> length, dashes
    int maxRank = -1;
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

inline std::vector<std::string> tabFields(const std::string& line)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, '\t')) parts.push_back(part);
    return parts;
}

inline ReportFacts readReportFacts(const std::filesystem::path& drawing)
{
    const std::string out =
        captureOutput(std::string(ZELKA_PYTHON) + " " + shellQuote((kSourceDir / "tests/reports/report_facts.py").string()) +
                      " " + shellQuote(drawing.string()) + " 2>&1");
    ReportFacts facts;
    if (out.empty()) facts.error = "no output from report_facts.py";
    std::istringstream lines(out);
    std::string line;
    std::map<std::string, InsertFact*> byHandle;
    while (std::getline(lines, line)) {
        std::vector<std::string> f = tabFields(line);
        if (f.empty()) continue;
        try {
            if (f[0] == "INSERT") {
                InsertFact i;
                i.handle = f.at(1);
                i.name = f.at(2);
                i.layer = f.at(3);
                i.cx = std::stod(f.at(4));
                i.cy = std::stod(f.at(5));
                i.area = std::stod(f.at(6));
                i.nameText = f.size() > 7 ? f[7] : "";
                facts.inserts.push_back(i);
            } else if (f[0] == "XDATA") {
                for (InsertFact& i : facts.inserts) {
                    if (i.handle != f.at(1)) continue;
                    const std::string& item = f.at(2);
                    size_t eq = item.find('=');
                    if (eq != std::string::npos) i.record[item.substr(0, eq)] = item.substr(eq + 1);
                }
            } else if (f[0] == "HATCH") {
                HatchFact h;
                h.handle = f.at(1);
                h.pattern = f.at(2);
                h.r = std::stoi(f.at(3));
                h.g = std::stoi(f.at(4));
                h.b = std::stoi(f.at(5));
                h.layer = f.at(6);
                h.cx = std::stod(f.at(7));
                h.cy = std::stod(f.at(8));
                h.area = std::stod(f.at(9));
                h.rank = std::stoi(f.at(10));
                facts.hatches.push_back(h);
            } else if (f[0] == "LINE") {
                LineFact l;
                l.handle = f.at(1);
                l.x1 = std::stod(f.at(2));
                l.y1 = std::stod(f.at(3));
                l.x2 = std::stod(f.at(4));
                l.y2 = std::stod(f.at(5));
                l.linetype = f.at(6);
                l.layer = f.at(7);
                l.r = std::stoi(f.at(8));
                l.g = std::stoi(f.at(9));
                l.b = std::stoi(f.at(10));
                facts.lines.push_back(l);
            } else if (f[0] == "TEXT") {
                TextFact t;
                t.handle = f.at(1);
                t.x = std::stod(f.at(2));
                t.y = std::stod(f.at(3));
                t.rotation = std::stod(f.at(4));
                t.height = std::stod(f.at(5));
                t.layer = f.at(6);
                t.halign = std::stoi(f.at(7));
                t.valign = std::stoi(f.at(8));
                t.text = f.size() > 9 ? f[9] : "";
                facts.texts.push_back(t);
            } else if (f[0] == "LAYER") {
                LayerFact l;
                l.on = f.at(2) == "on";
                l.frozen = f.at(3) == "frozen";
                l.locked = f.at(4) == "locked";
                l.lineweight = std::stoi(f.at(5));
                facts.layers[f.at(1)] = l;
            } else if (f[0] == "LTYPE") {
                std::vector<double> values;
                for (size_t k = 2; k < f.size(); ++k) values.push_back(std::stod(f[k]));
                facts.linetypes[f.at(1)] = values;
            } else if (f[0] == "ERROR") {
                facts.error = line;
            }
        } catch (const std::exception& e) {
            facts.error = "cannot read line \"" + line + "\": " + e.what();
        }
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

// The lines report_facts.py prints for what is inside the report blocks.
struct BlockFacts {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::vector<std::string>> of(const std::string& kind, const std::string& block) const
    {
        std::vector<std::vector<std::string>> found;
        for (const auto& f : lines)
            if (f.size() > 1 && f[0] == kind && f[1] == block) found.push_back(f);
        return found;
    }
    std::string tableBlockOf(const std::string& owner) const
    {
        for (const auto& f : lines)
            if (f.size() > 2 && f[0] == "TABLE" && f[1] == owner) return f[2];
        return "";
    }
};

inline BlockFacts readBlockFacts(const std::filesystem::path& drawing)
{
    const std::string out =
        captureOutput(zelkatest::pythonCommand(kSourceDir / "tests/reports/report_facts.py", {drawing.string()}));
    BlockFacts facts;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) facts.lines.push_back(tabFields(line));
    return facts;
}

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
