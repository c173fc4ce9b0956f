// Every drawing under tests/regressions/dxf/ once broke the reader or the
// writer. Each must either be refused at once with a message naming the file
// and a line, or be accepted, survive what the fuzz target does with it (open
// every model-space entity, rename the first ordinary block, write) and read
// back again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/dxf_walk.h"
#include "host/db/AcDbDatabase.h"
#include "tests/common/ZelkaProcess.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputs(const char* folder)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(ZELKA_SOURCE_DIR) / "tests/regressions" / folder))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(DxfRegressions, EachInputIsRefusedClearlyOrReadsBackAfterWriting)
{
    const std::vector<fs::path> files = inputs("dxf");
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        AcDbDatabase db(false);
        if (db.readDxfText(zelkatest::readFile(file), "input.dxf") != Acad::eOk) {
            EXPECT_EQ(db.lastError().rfind("input.dxf: line ", 0), 0u) << db.lastError();
            EXPECT_GT(db.lastErrorLine(), 0u) << db.lastError();
            continue;
        }
        const std::string out = dxfFuzzWalk(db);
        AcDbDatabase again(false);
        EXPECT_EQ(again.readDxfText(out, "written.dxf"), Acad::eOk) << again.lastError();
        // What was written once is written the same way again.
        if (again.lastError().empty()) {
            std::string second;
            again.writeDxfText(second);
            EXPECT_EQ(second, out);
        }
    }
}
