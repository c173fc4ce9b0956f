// Entities handed from one block to another (assumeOwnershipOf): a refused
// entity stays where it was. That a moved one keeps its handle and is written
// in its new block only is checked through the block creators (BlockCreation,
// BulkCreation), read back with ezdxf.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"

namespace {

AcDbObjectId addSquare(AcDbDatabase& db, double x, const char* layer = "0")
{
    AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForWrite);
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, AcGePoint2d(x, 0));
    pl->addVertexAt(1, AcGePoint2d(x + 10, 0));
    pl->addVertexAt(2, AcGePoint2d(x + 10, 10));
    pl->setClosed(true);
    pl->setLayer(layer);
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, pl), Acad::eOk);
    pl->close();
    return id;
}

AcDbObjectId addBlock(AcDbDatabase& db, const char* name)
{
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(db.getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbBlockTableRecord();
    rec->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(bt->add(id, rec), Acad::eOk);
    bt->close();
    rec->close();
    return id;
}

bool lists(AcDbObjectId block, AcDbObjectId entity)
{
    AcDbObjectPointer<AcDbBlockTableRecord> rec(block, AcDb::kForRead);
    const std::vector<AcDbObjectId> ids = rec->entityIds();
    return std::find(ids.begin(), ids.end(), entity) != ids.end();
}

}  // namespace

TEST(DbOwnership, ARefusedEntityStaysWhereItWas)
{
    struct Case {
        const char* name;
        bool lockLayer;
        bool blockOpenForRead;
        Acad::ErrorStatus status;
    };
    const std::vector<Case> cases = {
        {"locked layer", true, false, Acad::eOnLockedLayer},
        {"block not open for write", false, true, Acad::eNotOpenForWrite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbDatabase db;
        {
            AcDbLayerTable* lt = nullptr;
            ASSERT_EQ(db.getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
            auto* layer = new AcDbLayerTableRecord();
            layer->setName("LOCKED");
            layer->setIsLocked(c.lockLayer);
            AcDbObjectId id;
            EXPECT_EQ(lt->add(id, layer), Acad::eOk);
            layer->close();
            lt->close();
        }
        const AcDbObjectId square = addSquare(db, 0, "LOCKED");
        const AcDbObjectId block = addBlock(db, "ROOM-1");
        AcDbObjectPointer<AcDbBlockTableRecord> rec(block, c.blockOpenForRead ? AcDb::kForRead : AcDb::kForWrite);
        EXPECT_EQ(rec->assumeOwnershipOf({square}), c.status);
        rec.close();
        EXPECT_TRUE(lists(db.modelSpaceId(), square));
        EXPECT_FALSE(lists(block, square));
    }
}
