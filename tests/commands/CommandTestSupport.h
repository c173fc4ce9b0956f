#pragma once
// Runs zelka scripts on copies of fixture drawings, each run with its own
// application-data folder and preferences, and reads what was saved back
// through ezdxf (tests/tools/dxf_oracle.py dump and audit).

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/Preferences.h"
#include "tests/common/AppTestSupport.h"
#include "tests/common/OracleJson.h"
#include "tests/common/Shell.h"
#include "tests/common/ZelkaProcess.h"

extern char** environ;

namespace zelkatest {

inline const std::filesystem::path kSourceDir = ZELKA_SOURCE_DIR;
inline const std::filesystem::path kFixtureDir = kSourceDir / "tests/data/commands";

// One attribute of a space block as ezdxf reads it.
struct AttribFact {
    std::string tag, layer, text;
    double x = 0, y = 0, height = 0, rotation = 0;
};

// One block reference of model space as ezdxf reads it.
struct InsertFact {
    std::string handle, name;
    double x = 0, y = 0;
    std::string layer;
    double rotation = 0;  // degrees
    std::vector<AttribFact> attribs;
    std::vector<std::string> xdata;  // the 1000 items of the "ADE" record, in order

    const AttribFact* attrib(const std::string& tag) const
    {
        for (const AttribFact& a : attribs)
            if (a.tag == tag) return &a;
        return nullptr;
    }
    // The value after "KEY=" in the record, or "<missing>".
    std::string item(const std::string& key) const
    {
        for (const std::string& text : xdata)
            if (text.rfind(key + "=", 0) == 0) return text.substr(key.size() + 1);
        return "<missing>";
    }
};

struct VertexFact {
    double x = 0, y = 0, bulge = 0;
};

// One LWPOLYLINE as ezdxf reads it, with the block it lies in ("*Model_Space" for model space).
struct PolylineFact {
    std::string block, handle;
    bool closed = false;
    std::vector<VertexFact> vertices;
};

// What ezdxf finds in a drawing: model-space block references, block
// definitions' attribute definitions, layers, polylines, and its audit.
struct DrawingFacts {
    std::vector<InsertFact> inserts;
    std::map<std::string, std::vector<AttribFact>> attdefs;  // by definition name
    std::map<std::string, std::string> layers;                // name -> "on unlocked", "off locked", ...
    std::vector<std::string> polylines;                        // model-space LWPOLYLINE handles
    std::map<std::string, std::string> msPolys;                // model-space LWPOLYLINE handle -> layer
    std::vector<PolylineFact> polys;                           // LWPOLYLINEs of every block, model space included
    int auditErrors = -1;                                      // errors ezdxf's audit finds
    std::string error;
    std::string raw;  // ezdxf's audit findings, for messages
    nlohmann::json dump;  // all of ezdxf's reading (dxfDump), for what the fields above leave out

    const InsertFact* insertNamed(const std::string& spaceName) const
    {
        for (const InsertFact& i : inserts) {
            const AttribFact* name = i.attrib("NAME");
            if (name && name->text == spaceName) return &i;
        }
        return nullptr;
    }
    const InsertFact* insertOf(const std::string& blockName) const
    {
        for (const InsertFact& i : inserts)
            if (i.name == blockName) return &i;
        return nullptr;
    }
    const PolylineFact* poly(const std::string& handle) const
    {
        for (const PolylineFact& p : polys)
            if (p.handle == handle) return &p;
        return nullptr;
    }
    // The space block references: those of definitions named "ROOM-".
    std::vector<InsertFact> spaces() const
    {
        std::vector<InsertFact> found;
        for (const InsertFact& i : inserts)
            if (i.name.rfind("ROOM-", 0) == 0) found.push_back(i);
        return found;
    }
    int spaceCount() const { return static_cast<int>(spaces().size()); }
};

// The space block named so; throws (failing the test) when there is none.
inline const InsertFact& spaceNamed(const DrawingFacts& facts, const std::string& name)
{
    const InsertFact* found = facts.insertNamed(name);
    if (!found) throw std::runtime_error("no space named " + name + " " + facts.error);
    return *found;
}

// One attribute or attribute definition of the dump.
inline AttribFact attribFact(const nlohmann::json& a)
{
    return {a.at("tag").get<std::string>(),     a.at("layer").get<std::string>(), a.at("text").get<std::string>(),
            a.at("insert").at(0).get<double>(), a.at("insert").at(1).get<double>(), a.at("height").get<double>(),
            a.at("rotation").get<double>()};
}

inline PolylineFact polylineFact(const std::string& block, const nlohmann::json& e)
{
    PolylineFact p{block, e.at("handle").get<std::string>(), e.at("closed").get<bool>(), {}};
    for (const nlohmann::json& v : e.at("points")) p.vertices.push_back({v.at(0), v.at(1), v.at(2)});
    return p;
}

// ezdxf's dump of the drawing and its audit; error holds what the oracle
// said when it could not read the drawing.
inline DrawingFacts readDrawingFacts(const std::filesystem::path& drawing)
{
    DrawingFacts facts;
    facts.dump = dxfDump(drawing);
    const nlohmann::json& dump = facts.dump;
    const nlohmann::json audit = oracleJson(testScript("tools/dxf_oracle.py"), {"audit", drawing.string()});
    if (dump.contains("error")) {
        facts.error = dump.dump();
        return facts;
    }
    facts.raw = audit.dump();
    facts.auditErrors = static_cast<int>(audit.at("errors").size());
    for (const auto& [name, layer] : dump.at("layers").items())
        facts.layers[name] = std::string(layer.at("on") ? "on" : "off") + (layer.at("locked") ? " locked" : " unlocked");
    for (const nlohmann::json& e : dump.at("modelspace")) {
        const std::string handle = e.at("handle");
        if (e.at("type") == "LWPOLYLINE") {
            facts.polylines.push_back(handle);
            facts.msPolys[handle] = e.at("layer");
            facts.polys.push_back(polylineFact("*Model_Space", e));
        }
        if (e.at("type") != "INSERT") continue;
        InsertFact& i = facts.inserts.emplace_back();
        i = {handle, e.at("name"), e.at("insert").at(0), e.at("insert").at(1), e.at("layer"), e.at("rotation"),
             {}, xdataTexts(e, "ADE")};
        for (const nlohmann::json& a : e.at("attribs")) i.attribs.push_back(attribFact(a));
    }
    for (const auto& [name, block] : dump.at("blocks").items())
        for (const nlohmann::json& e : block.at("entities")) {
            if (e.at("type") == "ATTDEF") facts.attdefs[name].push_back(attribFact(e));
            if (e.at("type") == "LWPOLYLINE") facts.polys.push_back(polylineFact(name, e));
        }
    return facts;
}

// Area and perimeter of a space block reference in drawing units, measured
// by ezdxf (dxf_oracle.py area: the block's first outline, transformed by
// the reference).
struct OracleMeasure {
    double area = -1;
    double perimeter = -1;
};

inline OracleMeasure oracleMeasure(const std::filesystem::path& drawing, const std::string& handle)
{
    const nlohmann::json m = oracleJson(testScript("tools/dxf_oracle.py"), {"area", drawing.string(), handle});
    return {m.at("area").get<double>(), m.at("perimeter").get<double>()};
}

// How often text occurs in the transcript.
inline int countOf(const std::string& transcript, const std::string& text)
{
    int n = 0;
    for (size_t at = transcript.find(text); at != std::string::npos; at = transcript.find(text, at + 1)) ++n;
    return n;
}

// printf-style number text, the independent side of the comparisons.
inline std::string fixed(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// A run of zelka on a copy of a fixture drawing, with its own application
// data folder holding a preferences file.
class PlanRun {
public:
    // Copies <from>/<fixture> (tests/data/commands unless given) into a
    // fresh folder (fixture "" runs without a drawing) and writes the preferences.
    explicit PlanRun(const std::string& fixture, int units = 0, int precision = 2,
                     const std::string& csvOpener = "NONE", const std::filesystem::path& from = kFixtureDir)
    {
        if (!fixture.empty()) {
            drawing_ = work_.path() / fixture;
            std::filesystem::copy_file(from / fixture, drawing_);
        }
        CPreferences prefs;
        prefs.setFilePath(prefsPath().string());
        prefs.setUnits(units);
        prefs.setPrecision(precision);
        prefs.setCSVOpener(csvOpener);
        prefs.savePreferences();
    }

    std::filesystem::path appdata() const { return work_.path() / "appdata"; }
    std::filesystem::path prefsPath() const { return zelkatest::prefsIn(appdata()); }
    const std::filesystem::path& drawing() const { return drawing_; }
    const std::filesystem::path& folder() const { return work_.path(); }
    std::filesystem::path saved() const { return work_.path() / "saved.dxf"; }

    // Runs the script lines on the drawing and saves the result to saved().
    RunResult run(const std::vector<std::string>& lines, bool saveAs = true) const
    {
        std::string script;
        for (const std::string& line : lines) script += line + "\n";
        const std::filesystem::path scriptPath = work_.path() / "run.scr";
        writeFile(scriptPath, script);
        std::vector<std::string> arguments = {"--appdata", appdata().string(), "--script", scriptPath.string()};
        if (saveAs && !drawing_.empty()) {
            arguments.push_back("--save-as");
            arguments.push_back(saved().string());
        }
        if (!drawing_.empty()) arguments.push_back(drawing_.string());
        return runZelka(arguments);
    }

private:
    TempFolder work_;
    std::filesystem::path drawing_;
};

// A run of zelka on a copy of one input of tests/regressions/.
class RegressionRun : public PlanRun {
public:
    explicit RegressionRun(const std::string& input, int units = 0, int precision = 2)
        : PlanRun(input, units, precision, "NONE", kSourceDir / "tests/regressions")
    {
    }
};

}  // namespace zelkatest
