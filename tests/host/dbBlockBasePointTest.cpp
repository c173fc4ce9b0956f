// Block base points read from a file other programs wrote (tests/data/
// commands/basepoints.dxf, made by ezdxf): each definition keeps its base
// point, every reference places the definition's content by it as ezdxf
// does, a renamed definition is saved with it, and what a reference draws
// (for picking) stands where ezdxf draws it.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/EntityShape.h"
#include "tests/host/dxfTestSupport.h"

namespace {

const std::filesystem::path kFixture = dxftest::sourceDir() / "tests/data/commands/basepoints.dxf";

// world_oracle.py's lines for the file, split at tabs.
std::vector<std::vector<std::string>> oracle(const std::string& command, const std::filesystem::path& file)
{
    std::istringstream lines(dxftest::capture(std::string(ZELKA_PYTHON) + " '" +
                                              (dxftest::sourceDir() / "tests/commands/world_oracle.py").string() +
                                              "' " + command + " '" + file.string() + "' 2>&1"));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
        rows.push_back(fields);
    }
    return rows;
}

std::vector<AcGePoint3d> points(const std::string& text)
{
    std::vector<AcGePoint3d> out;
    std::istringstream in(text);
    for (std::string pair; std::getline(in, pair, ';');) {
        const size_t comma = pair.find(',');
        out.emplace_back(std::stod(pair.substr(0, comma)), std::stod(pair.substr(comma + 1)), 0.0);
    }
    return out;
}

class BlockBasePoint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(kFixture.string().c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        db = acDocManagerPtr()->curDocument()->database();
    }
    void TearDown() override
    {
        while (AcApDocument* open = acDocManagerPtr()->curDocument())
            acDocManagerPtr()->closeDocument(open);
    }
    AcDbObjectId definition(const std::string& name)
    {
        AcDbObjectPointer<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
        AcDbObjectId id;
        if (table)
            table->getAt(name.c_str(), id);
        return id;
    }
    AcDbObjectId byHandle(const std::string& handle)
    {
        AcDbObjectId id;
        EXPECT_EQ(db->getAcDbObjectId(id, false, AcDbHandle(handle.c_str())), Acad::eOk) << handle;
        return id;
    }

    AcDbDatabase* db = nullptr;
};

}  // namespace

TEST_F(BlockBasePoint, EveryDefinitionHasTheBasePointEzdxfReads)
{
    size_t checked = 0;
    for (const auto& row : oracle("bases", kFixture)) {
        ASSERT_EQ(row.size(), 5u);
        SCOPED_TRACE(row[1]);
        AcDbObjectPointer<AcDbBlockTableRecord> record(definition(row[1]), AcDb::kForRead);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->origin(), AcGePoint3d(std::stod(row[2]), std::stod(row[3]), std::stod(row[4])));
        ++checked;
    }
    EXPECT_EQ(checked, 10u);  // model and paper space, six spaces, GRID, CHAIR
}

TEST_F(BlockBasePoint, EachReferencePlacesItsOutlineWhereEzdxfDoes)
{
    size_t checked = 0;
    for (const auto& row : oracle("rooms", kFixture)) {
        if (row.at(0) != "ROOM")
            continue;
        SCOPED_TRACE(row.at(2));
        AcDbObjectPointer<AcDbBlockReference> reference(byHandle(row[1]), AcDb::kForRead);
        ASSERT_TRUE(reference);
        AcDbObjectPointer<AcDbBlockTableRecord> block(reference->blockTableRecord(), AcDb::kForRead);
        ASSERT_TRUE(block);
        AcDbObjectPointer<AcDbPolyline> outline(block->entityIds().front(), AcDb::kForRead);
        ASSERT_TRUE(outline);
        const std::vector<AcGePoint3d> expected = points(row.at(3));
        ASSERT_EQ(outline->numVerts(), expected.size());
        for (unsigned i = 0; i < outline->numVerts(); ++i) {
            AcGePoint3d p;
            outline->getPointAt(i, p);
            p.transformBy(reference->blockTransform());
            EXPECT_NEAR(p.x, expected[i].x, 1e-6) << i;
            EXPECT_NEAR(p.y, expected[i].y, 1e-6) << i;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 6u);
}

TEST_F(BlockBasePoint, ARenamedDefinitionIsSavedWithItsBasePoint)
{
    {
        AcDbObjectPointer<AcDbBlockTableRecord> record(definition("ROOM-1"), AcDb::kForWrite);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->setName("ROOM-101"), Acad::eOk);
    }
    const auto dir = dxftest::tempDir("base-point-rename");
    const auto out = dir / "renamed.dxf";
    ASSERT_EQ(db->saveAs(out.string().c_str()), Acad::eOk) << db->lastError();
    std::map<std::string, std::string> bases;
    for (const auto& row : oracle("bases", out))
        if (row.size() == 5)
            bases[row[1]] = row[2] + " " + row[3] + " " + row[4];
    EXPECT_EQ(bases["ROOM-101"], "1000.0 500.0 0.0");
    EXPECT_EQ(bases.count("ROOM-1"), 0u);
    // The room stands where it stood.
    std::string outline;
    for (const auto& row : oracle("rooms", out))
        if (row.at(0) == "ROOM" && row.at(2) == "ROOM-101")
            outline = row.at(3);
    EXPECT_EQ(outline, "3000.0,3500.0;7000.0,3500.0;7000.0,6500.0;3000.0,6500.0");
}

// What a reference draws, as the pick hit-test sees it: the definition's
// content through the base point, nested blocks through theirs, and the
// attributes' text boxes.
TEST_F(BlockBasePoint, AReferenceDrawsItsContentNestedBlocksAndLabelsWhereEzdxfDoes)
{
    std::map<std::string, std::string> blockOf;
    std::map<std::string, AcGePoint3d> labels;
    for (const auto& row : oracle("rooms", kFixture)) {
        if (row.at(0) == "ROOM")
            blockOf[row[1]] = row[2];
        else if (row.at(0) == "LABEL")
            labels[row[1]] = AcGePoint3d(std::stod(row[2]), std::stod(row[3]), 0.0);
    }
    ASSERT_EQ(labels.size(), 6u);
    std::string gross;
    for (const auto& [handle, name] : blockOf)
        if (name == "ROOM-GROSS_AREA")
            gross = handle;
    AcDbObjectPointer<AcDbBlockReference> grossRef(byHandle(gross), AcDb::kForRead);
    ASSERT_TRUE(grossRef);
    const EntityShape grossShape = EntityShape::of(*grossRef, 1.0);
    for (const auto& [handle, label] : labels) {
        SCOPED_TRACE(blockOf[handle]);
        AcDbObjectPointer<AcDbBlockReference> reference(byHandle(handle), AcDb::kForRead);
        ASSERT_TRUE(reference);
        EXPECT_EQ(EntityShape::of(*reference, 1.0).distanceTo({label.x, label.y}), 0.0);
        if (handle != gross) {
            EXPECT_GT(grossShape.distanceTo({label.x, label.y}), 300.0);
        }
    }
    // The grid lines of the nested GRID block (base 500,500) stand at world X = 0, 8000, 16000, 24000.
    for (double x : {8000.0, 16000.0, 24000.0}) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(grossShape.distanceTo({x, 7000.0}), 0.0, 1e-9);
        EXPECT_NEAR(grossShape.distanceTo({x + 100.0, 7000.0}), 100.0, 1e-9);
    }
}
