// What applyToDWG does besides the record: hyperlinks are written back only
// for blocks that have or had some (an emptied list removes them, a block
// that never had any gets no hyperlink record), a report's block whose
// reference is gone is skipped quietly while the command form fails.

#include <gtest/gtest.h>

#include <memory>

#include "database/Hyperlinks.h"
#include "host/db/AcDbRegAppTable.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/BlockDWG.h"

#include "SpacesTestSupport.h"

using namespace spacetest;

namespace {

bool hasRegApp(AcDbDatabase* database, const char* name)
{
    AcDbRegAppTable* table = nullptr;
    if (database->getRegAppTable(table, AcDb::kForRead) != Acad::eOk) return false;
    bool found = table->has(name);
    table->close();
    return found;
}

int linksOn(AcDbObjectId ref)
{
    AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
    return CHyperlinks(reference.object()).getCount();
}

}  // namespace

TEST(ApplySteps, HyperlinksAreWrittenOnlyForBlocksThatHaveOrHadThem)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    AcDbObjectId plain = d.insert(def, AcGePoint3d(0, 0, 0));
    readBlock(d, plain)->applyToDWG(d.drawing, false);
    EXPECT_FALSE(hasRegApp(d.database, "PE_URL"));

    AcDbObjectId linked = d.insert(d.defineSpace("ROOM-2", rectangle(0, 0, 1000, 1000)), AcGePoint3d(5000, 0, 0));
    auto block = readBlock(d, linked);
    block->getHyperlinks()->add(std::make_unique<CHyperlink>("http://plans/a", "Plan A"));
    block->getHyperlinks()->add(std::make_unique<CHyperlink>("http://plans/b", "Plan B"));
    block->applyToDWG(d.drawing, false);
    EXPECT_EQ(linksOn(linked), 2);

    // Read again, the block knows its links; emptied, applying removes them.
    auto again = readBlock(d, linked);
    ASSERT_EQ(again->getHyperlinks()->getCount(), 2);
    again->getHyperlinks()->deleteObjects();
    again->applyToDWG(d.drawing, false);
    EXPECT_EQ(linksOn(linked), 0);
}

TEST(ApplySteps, AReportsBlockWhoseReferenceIsGoneIsSkippedTheCommandFormFails)
{
    Drawing d;
    AcDbObjectId ref = d.insert(d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000)), AcGePoint3d(0, 0, 0));
    auto block = readBlock(d, ref);
    {
        AcDbObjectPointer<AcDbEntity> reference(ref, AcDb::kForWrite);
        ASSERT_EQ(reference->erase(), Acad::eOk);
    }
    CZelkaExceptions errors;
    EXPECT_NO_THROW(block->applyToDWG(d.drawing, errors));
    EXPECT_EQ(errors.getCount(), 0);
    EXPECT_THROW(block->applyToDWG(d.drawing, false), CEXZelka);
    EXPECT_FALSE(d.drawing.isLocked());
}
