// Selection filters on block names, which are answered from the file record
// where they can be: the answer is always the built object's (names in the
// file's code page, references changed since reading).

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/acedSelection.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

// An R2000 drawing in code page 1252 written by ezdxf: inserts of ROOM-1,
// CHAIR and RÄUM-2 (the Ä stored as one 1252 byte), and a line. Prints
// "name handle" per insert.
const char* kMakePlan = R"(import sys, ezdxf
doc = ezdxf.new("R2000")
doc.header["$DWGCODEPAGE"] = "ANSI_1252"
msp = doc.modelspace()
for name in ("ROOM-1", "CHAIR", "R\u00c4UM-2"):
    doc.blocks.new(name).add_line((0, 0), (1, 0))
out = []
for i, name in enumerate(("ROOM-1", "CHAIR", "R\u00c4UM-2")):
    out.append((name, msp.add_blockref(name, (i * 10, 0)).dxf.handle))
msp.add_line((0, 0), (5, 5))
doc.saveas(sys.argv[1], encoding="cp1252")
for name, handle in out:
    print(name.encode("utf-8").hex(), handle)
)";

class RecordFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = dxftest::tempDir("record-filter");
        dxftest::writeFile(dir / "make.py", kMakePlan);
        const std::string file = (dir / "plan.dxf").string();
        std::string listing = dxftest::capture(std::string(ZELKA_PYTHON) + " '" + (dir / "make.py").string() + "' '" + file + "'");
        std::istringstream lines(listing);
        std::string hexName, handle;
        while (lines >> hexName >> handle) {
            std::string name;
            for (size_t i = 0; i + 1 < hexName.size(); i += 2)
                name += static_cast<char>(std::stoi(hexName.substr(i, 2), nullptr, 16));
            handles[name] = handle;
        }
        ZELKA_REQUIRE_EZDXF();
        ASSERT_EQ(handles.size(), 3u) << "ezdxf could not write the plan: " << listing;
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        db = acDocManagerPtr()->curDocument()->database();
    }
    void TearDown() override
    {
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) acDocManagerPtr()->closeDocument(open);
    }
    AcDbObjectId idOf(const std::string& name)
    {
        AcDbObjectId id;
        AcDbHandle handle(handles[name].c_str());
        EXPECT_EQ(db->getAcDbObjectId(id, false, handle), Acad::eOk) << name;
        return id;
    }

    std::filesystem::path dir;
    std::map<std::string, std::string> handles;
    AcDbDatabase* db = nullptr;
};

const std::string kRaeum = "R\xC3\x84UM-2";  // RÄUM-2 in UTF-8

TEST_F(RecordFilter, NamesMatchTheBuiltObjectsIncludingCodePageNames)
{
    AcDbObjectId room = idOf("ROOM-1"), chair = idOf("CHAIR"), raeum = idOf(kRaeum);
    {
        // The definition named in the code page keeps its line.
        AcDbObjectPointer<AcDbBlockReference> reference(raeum, AcDb::kForRead);
        ASSERT_TRUE(reference);
        EXPECT_STREQ(reference->blockName(), kRaeum.c_str());
        AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
        ASSERT_TRUE(definition);
        EXPECT_EQ(definition->entityIds().size(), 1u);
    }

    // "R*" takes both room blocks, the decoded non-ASCII one included, in
    // drawing order.
    EXPECT_EQ(dxftest::selectInserts("R*"), (std::vector<AcDbObjectId>{room, raeum}));
    EXPECT_EQ(dxftest::selectInserts("R?UM-*"), (std::vector<AcDbObjectId>{raeum}));
    EXPECT_EQ(dxftest::selectInserts("chair"), (std::vector<AcDbObjectId>{chair}));
}

TEST_F(RecordFilter, AReferenceChangedSinceReadingAnswersWithItsNewName)
{
    AcDbObjectId room = idOf("ROOM-1"), chair = idOf("CHAIR");
    AcDbObjectId chairDefinition;
    {
        AcDbObjectPointer<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->getAt("CHAIR", chairDefinition), Acad::eOk);
    }
    {
        AcDbObjectPointer<AcDbBlockReference> reference(room, AcDb::kForWrite);
        ASSERT_TRUE(reference);
        ASSERT_EQ(reference->setBlockTableRecord(chairDefinition), Acad::eOk);
    }
    EXPECT_EQ(dxftest::selectInserts("CHAIR"), (std::vector<AcDbObjectId>{room, chair}));
    EXPECT_TRUE(dxftest::selectInserts("ROOM-*").empty());
}

}  // namespace
