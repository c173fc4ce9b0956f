#pragma once
// Runs zelka scripts on copies of the creation plans (tests/data/creation,
// made by make_creation_fixtures.py) and reads the saved drawing back
// through ezdxf (creation_facts.py).

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "config/Preferences.h"
#include "tests/commands/CommandTestSupport.h"

namespace creationtest {

using namespace zelkatest;

inline const std::filesystem::path kCreationDir = kSourceDir / "tests/data/creation";

struct Attrib {
    std::string tag, layer, text;
    double x = 0, y = 0, height = 0, rotation = 0;
};

struct Insert {
    std::string handle, block, layer;
    double x = 0, y = 0, rotation = 0, extrusionZ = 1;
    std::vector<Attrib> attribs;
    std::vector<std::string> xdata;

    const Attrib* attrib(const std::string& tag) const
    {
        for (const Attrib& a : attribs)
            if (a.tag == tag) return &a;
        return nullptr;
    }
    std::string item(const std::string& key) const
    {
        for (const std::string& text : xdata)
            if (text.rfind(key + "=", 0) == 0) return text.substr(key.size() + 1);
        return "<missing>";
    }
};

struct Vertex {
    double x = 0, y = 0, bulge = 0;
};

struct Poly {
    std::string block, handle;
    bool closed = false;
    std::vector<Vertex> vertices;
};

struct Facts {
    std::vector<Insert> inserts;
    std::vector<Poly> polys;                       // LWPOLYLINEs of every block, model space included
    std::map<std::string, std::string> msPolys;   // model-space LWPOLYLINE handle -> layer
    int auditErrors = -1;
    std::string raw;

    const Insert* insertOf(const std::string& block) const
    {
        for (const Insert& i : inserts)
            if (i.block == block) return &i;
        return nullptr;
    }
    const Poly* poly(const std::string& handle) const
    {
        for (const Poly& p : polys)
            if (p.handle == handle) return &p;
        return nullptr;
    }
    int spaceCount() const
    {
        int n = 0;
        for (const Insert& i : inserts) n += i.block.rfind("ROOM-", 0) == 0 ? 1 : 0;
        return n;
    }
};

inline std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, '\t')) parts.push_back(part);
    return parts;
}

inline Facts readFacts(const std::filesystem::path& drawing)
{
    Facts facts;
    facts.raw = captureOutput(std::string(ZELKA_PYTHON) + " " +
                              shellQuote((kSourceDir / "tests/editing/creation_facts.py").string()) + " " +
                              shellQuote(drawing.string()) + " 2>&1");
    std::istringstream lines(facts.raw);
    std::string line;
    Insert* current = nullptr;
    while (std::getline(lines, line)) {
        std::vector<std::string> f = splitTabs(line);
        if (f.empty()) continue;
        if (f[0] == "INSERT" && f.size() >= 8) {
            facts.inserts.push_back({f[1], f[2], f[5], std::stod(f[3]), std::stod(f[4]), std::stod(f[6]),
                                     std::stod(f[7]), {}, {}});
            current = &facts.inserts.back();
        } else if (f[0] == "ATTRIB" && current && f.size() >= 7) {
            current->attribs.push_back({f[1], f[2], f.size() > 7 ? f[7] : "", std::stod(f[3]), std::stod(f[4]),
                                        std::stod(f[5]), std::stod(f[6])});
        } else if (f[0] == "XDATA" && current) {
            current->xdata.push_back(f.size() > 1 ? f[1] : "");
        } else if (f[0] == "BLOCKPOLY" && f.size() >= 5) {
            Poly p{f[1], f[2], f[3] == "1", {}};
            std::istringstream vertices(f[4]);
            std::string vertex;
            while (std::getline(vertices, vertex, ';')) {
                Vertex v;
                std::sscanf(vertex.c_str(), "%lf,%lf,%lf", &v.x, &v.y, &v.bulge);
                p.vertices.push_back(v);
            }
            facts.polys.push_back(p);
        } else if (f[0] == "MSPOLY" && f.size() >= 3) {
            facts.msPolys[f[1]] = f[2];
        } else if (f[0] == "AUDIT" && f.size() >= 2) {
            facts.auditErrors = std::stoi(f[1]);
        }
    }
    return facts;
}

// A run of zelka on a copy of a creation plan, with its own preferences.
class CreationRun {
public:
    explicit CreationRun(const std::string& fixture, int precision = 2, int increment = 1, double textSize = 250.0)
    {
        drawing_ = work_.path() / fixture;
        std::filesystem::copy_file(kCreationDir / fixture, drawing_);
        CPreferences prefs;
        prefs.setFilePath(prefsPath().string());
        prefs.setUnits(0);
        prefs.setPrecision(precision);
        prefs.setIncrement(increment);
        prefs.setTextSize(textSize);
        prefs.setTextScale(1.0);
        prefs.setTextRotation(0.0);
        prefs.savePreferences();
    }

    std::filesystem::path appdata() const { return work_.path() / "appdata"; }
    std::filesystem::path prefsPath() const { return appdata() / "ZelkaSystems/Orvane/prefs/prefs.cfg"; }
    const std::filesystem::path& drawing() const { return drawing_; }
    std::filesystem::path saved() const { return work_.path() / "saved.dxf"; }
    const std::filesystem::path& folder() const { return work_.path(); }

    RunResult run(const std::vector<std::string>& lines) const
    {
        std::string script;
        for (const std::string& line : lines) script += line + "\n";
        const std::filesystem::path scriptPath = work_.path() / "run.scr";
        writeFile(scriptPath, script);
        return runZelka({"--appdata", appdata().string(), "--script", scriptPath.string(), "--save-as",
                         saved().string(), drawing_.string()});
    }

private:
    TempFolder work_;
    std::filesystem::path drawing_;
};

// How often text occurs in the transcript.
inline int countOf(const std::string& transcript, const std::string& text)
{
    int n = 0;
    for (size_t at = transcript.find(text); at != std::string::npos; at = transcript.find(text, at + 1)) ++n;
    return n;
}

}  // namespace creationtest
