#pragma once
// Runs one of the tests' ezdxf oracles (Python scripts under tests/) and
// reads what it prints as JSON, so each test folder keeps its facts in plain
// structs filled by nlohmann::json instead of hand-written line parsers.
//
// An oracle that prints something that is not JSON (a Python traceback, say:
// errors are read with the output) or nothing at all gives
// {"error": "<exit status and everything it printed>"}, so the test that reads
// a missing field fails with that text in its message. An oracle's own exit
// status is left to the caller: dxf_oracle.py audit exits 1 with findings.

#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/Shell.h"

namespace zelkatest {

// The JSON documents an oracle prints, one per non-empty line.
inline std::vector<nlohmann::json> oracleJsonLines(const std::filesystem::path& script,
                                                   const std::vector<std::string>& arguments)
{
    const CommandOutput run = runCommand(pythonCommand(script, arguments) + " 2>&1");
    std::vector<nlohmann::json> documents;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        nlohmann::json document = nlohmann::json::parse(line, nullptr, false);
        if (document.is_discarded())
            return {nlohmann::json{{"error", "exit status " + std::to_string(run.status) + ": " + run.out}}};
        documents.push_back(std::move(document));
    }
    if (documents.empty())
        documents.push_back(nlohmann::json{{"error", "exit status " + std::to_string(run.status) + ", no output"}});
    return documents;
}

// The one JSON document an oracle prints on its first line.
inline nlohmann::json oracleJson(const std::filesystem::path& script, const std::vector<std::string>& arguments)
{
    return oracleJsonLines(script, arguments).front();
}

// A path under the source tree's tests/ folder, for the oracle scripts.
inline std::filesystem::path testScript(const std::string& relative)
{
    return std::filesystem::path(ZELKA_SOURCE_DIR) / "tests" / relative;
}

// ezdxf's reading of a drawing (tests/tools/dxf_oracle.py dump): "header",
// "layers" by name, "modelspace" entities and "blocks" by name, each entity
// with "type", "handle", "layer", "xdata" and the fields of its type
// (an INSERT's "name", "insert", "rotation", "attribs" with "tag" and "text").
inline nlohmann::json dxfDump(const std::filesystem::path& drawing)
{
    return oracleJson(testScript("tools/dxf_oracle.py"), {"dump", drawing.string()});
}

// The first entity of a list whose field has the value; nullptr when none has.
inline const nlohmann::json* findEntity(const nlohmann::json& entities, const std::string& field, const std::string& value)
{
    if (!entities.is_array()) return nullptr;
    for (const nlohmann::json& e : entities)
        if (e.contains(field) && e[field].is_string() && e[field].get<std::string>() == value) return &e;
    return nullptr;
}

// The attribute of a dumped INSERT with the tag; nullptr when it has none.
inline const nlohmann::json* attribOf(const nlohmann::json& insert, const std::string& tag)
{
    return insert.contains("attribs") ? findEntity(insert["attribs"], "tag", tag) : nullptr;
}

// The texts (group code 1000) an entity's extended data holds under the application, in order.
inline std::vector<std::string> xdataTexts(const nlohmann::json& entity, const std::string& application)
{
    std::vector<std::string> texts;
    if (!entity.contains("xdata") || !entity["xdata"].contains(application)) return texts;
    for (const nlohmann::json& item : entity["xdata"][application])
        if (item.at(0) == 1000) texts.push_back(item.at(1).get<std::string>());
    return texts;
}

}  // namespace zelkatest
