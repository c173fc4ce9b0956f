// Every drawing under tests/regressions/dxf/ once broke the reader or the
// writer. Each must either be refused at once with a message naming the file
// and a line, or be accepted, survive what the fuzz target does with it (open
// every model-space entity, rename the first ordinary block, write) and read
// back again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<fs::path> inputs(const char* folder)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(ZELKA_SOURCE_DIR) / "tests/regressions" / folder))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void touchModelSpace(AcDbDatabase& db)
{
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ms->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbEntity* e = nullptr;
        if (it->getEntity(e, AcDb::kForRead) == Acad::eOk) {
            AcDbExtents ext;
            e->getGeomExtents(ext);
            resbuf* rb = e->xData();
            acutRelRb(rb);
            e->close();
        }
    }
    delete it;
    ms->close();
}

void renameFirstBlock(AcDbDatabase& db)
{
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
    for (const AcDbObjectId& id : table->recordIds()) {
        AcDbBlockTableRecord* record = nullptr;
        if (acdbOpenObject(record, id, AcDb::kForWrite) != Acad::eOk)
            continue;
        const bool ordinary = !record->isLayout() && !record->isAnonymous();
        if (ordinary)
            record->setName("FUZZ_RENAMED");
        record->close();
        if (ordinary)
            break;
    }
    table->close();
}

}  // namespace

TEST(DxfRegressions, EachInputIsRefusedClearlyOrReadsBackAfterWriting)
{
    const std::vector<fs::path> files = inputs("dxf");
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        AcDbDatabase db(false);
        if (db.readDxfText(readAll(file), "input.dxf") != Acad::eOk) {
            EXPECT_EQ(db.lastError().rfind("input.dxf: line ", 0), 0u) << db.lastError();
            EXPECT_GT(db.lastErrorLine(), 0u) << db.lastError();
            continue;
        }
        touchModelSpace(db);
        renameFirstBlock(db);
        std::string out;
        db.writeDxfText(out);
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
