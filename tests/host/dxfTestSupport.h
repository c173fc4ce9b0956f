#pragma once
// Helpers for the drawing-database and DXF tests: files, an independent tag
// splitter for comparing tag streams, and asking ezdxf about a file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/dxf/DxfDefaultDrawing.h"
#include "host/ed/acedSelection.h"
#include "tests/common/OracleJson.h"
#include "tests/common/Shell.h"
#include "tests/common/TestRequirements.h"
#include "tests/common/ZelkaProcess.h"

namespace dxftest {

using zelkatest::readFile;
using zelkatest::writeFile;

// The default drawing with count LINE entities (handles from 10000 hex on,
// 9 tags each, as the writer lays them out) at the start of ENTITIES.
inline std::string withLines(size_t count)
{
    std::string text = DxfDefaultDrawing::text();
    const std::string section = "  2\nENTITIES\n";
    std::string lines;
    char handle[32];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(handle, sizeof handle, "%zX", 0x10000 + i);
        lines += std::string("  0\nLINE\n  5\n") + handle + "\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n" +
                 std::to_string(i) + "\n 20\n0.0\n 11\n" + std::to_string(i + 1) + "\n 21\n1.5\n";
    }
    text.insert(text.find(section) + section.size(), lines);
    return text;
}

// The (code, value) pairs of DXF text up to EOF, split here without the
// project's reader: line ends (LF or CRLF) removed, code lines trimmed.
inline std::vector<std::pair<int, std::string>> tagStream(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    std::vector<std::pair<int, std::string>> tags;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        tags.emplace_back(std::stoi(lines[i]), lines[i + 1]);
        if (tags.back().first == 0 && tags.back().second == "EOF")
            break;
    }
    return tags;
}

// "-Suite.Test" for the running test, empty outside one. ctest runs every test
// of a fixture in its own process at the same time, so a folder named only by
// the fixture would be emptied by one test while another is writing into it.
inline std::string runningTestSuffix()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test)
        return {};
    std::string suffix = std::string("-") + test->test_suite_name() + "." + test->name();
    for (char& c : suffix)
        if (c == '/')
            c = '_';
    return suffix;
}

// A fresh empty folder under the build tree for one test.
inline std::filesystem::path tempDir(const std::string& name)
{
    auto dir = std::filesystem::path(ZELKA_BINARY_DIR) / "test-tmp" / (name + runningTestSuffix());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::filesystem::path sourceDir() { return ZELKA_SOURCE_DIR; }

// What a shell command prints (stdout; add "2>&1" for stderr too).
inline std::string capture(const std::string& cmd) { return zelkatest::captureOutput(cmd); }

inline std::string quoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// One JSON text per Python expression over the file as ezdxf reads it (see
// tests/tools/dxf_oracle.py eval): the document is `doc`, its audit messages `audit`.
inline std::vector<std::string> ezdxf(const std::filesystem::path& file, std::vector<std::string> exprs)
{
    exprs.insert(exprs.begin(), {"eval", file.string()});
    std::istringstream out(capture(zelkatest::pythonCommand(zelkatest::testScript("tools/dxf_oracle.py"), exprs) + " 2>&1"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    return lines;
}

// The single answer of one expression ("" when ezdxf gave none).
inline std::string ezdxf1(const std::filesystem::path& file, const std::string& expr)
{
    auto lines = ezdxf(file, {expr});
    return lines.empty() ? std::string() : lines.front();
}

// Writes the drawing KIND of tests/tools/ezdxf_fixtures.py (made by ezdxf)
// to file; what the script tells about it (handles, points ezdxf computes).
inline nlohmann::json ezdxfFixture(const std::string& kind, const std::filesystem::path& file)
{
    nlohmann::json told = zelkatest::oracleJson(zelkatest::testScript("tools/ezdxf_fixtures.py"), {kind, file.string()});
    EXPECT_FALSE(told.contains("error")) << kind << ": " << told;
    return told;
}

// The entities the "X" selection of the current drawing takes through the
// filter (which is released), in its order.
inline std::vector<AcDbObjectId> selectAll(resbuf* filter)
{
    std::vector<AcDbObjectId> found;
    ads_name set;
    if (acedSSGet("X", nullptr, nullptr, filter, set) == RTNORM) {
        int32_t length = 0;
        acedSSLength(set, &length);
        for (int32_t i = 0; i < length; ++i) {
            ads_name one;
            AcDbObjectId id;
            if (acedSSName(set, i, one) == RTNORM && acdbGetObjectId(id, one) == Acad::eOk)
                found.push_back(id);
        }
        acedSSFree(set);
    }
    acutRelRb(filter);
    return found;
}

// The block references the "X" selection of the current drawing takes, in
// its order; only those of the block names (a wild-card pattern) when given.
inline std::vector<AcDbObjectId> selectInserts(const char* names = nullptr)
{
    return selectAll(names ? acutBuildList(RTDXF0, "INSERT", 2, names, 0) : acutBuildList(RTDXF0, "INSERT", 0));
}

}  // namespace dxftest
