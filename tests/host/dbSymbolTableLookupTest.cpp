// Record look-ups ignore ASCII case and nothing else, through renames and
// erasures.
#include <gtest/gtest.h>

#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"

TEST(SymbolTableLookup, RenamedAndErasedRecords)
{
    AcDbDatabase db;
    AcDbObjectId id;
    {
        AcDbLayerTable* layers = nullptr;
        ASSERT_EQ(db.getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
        auto* record = new AcDbLayerTableRecord();
        record->setName("Walls");
        ASSERT_EQ(layers->add(id, record), Acad::eOk);
        record->close();
        auto* raeum = new AcDbLayerTableRecord();
        raeum->setName("R\xC3\x84UM");
        ASSERT_EQ(layers->add(raeum), Acad::eOk);
        raeum->close();
        layers->close();
    }
    {
        AcDbObjectPointer<AcDbLayerTableRecord> record(id, AcDb::kForWrite);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->setName("WALLS-OLD"), Acad::eOk);
    }
    AcDbObjectPointer<AcDbLayerTable> layers(db.layerTableId(), AcDb::kForRead);
    AcDbObjectId found;
    EXPECT_EQ(layers->getAt("r\xC3\x84um", found), Acad::eOk) << "ASCII letters compared ignoring case";
    EXPECT_EQ(layers->getAt("R\xC3\xA4UM", found), Acad::eKeyNotFound) << "letters beyond ASCII keep their case";
    EXPECT_EQ(layers->getAt("walls", found), Acad::eKeyNotFound) << "the old name is free";
    EXPECT_EQ(layers->getAt("walls-old", found), Acad::eOk);
    EXPECT_EQ(found, id);
    layers.close();
    {
        AcDbObjectPointer<AcDbLayerTableRecord> record(id, AcDb::kForWrite);
        ASSERT_EQ(record->setName("walls-OLD"), Acad::eOk) << "a case change of its own name";
        ASSERT_EQ(record->erase(), Acad::eOk);
    }
    AcDbObjectPointer<AcDbLayerTable> again(db.layerTableId(), AcDb::kForRead);
    EXPECT_EQ(again->getAt("WALLS-OLD", found), Acad::eKeyNotFound) << "erased";
    EXPECT_EQ(again->getAt("WALLS-OLD", found, true), Acad::eOk) << "asked for erased ones too";
    EXPECT_EQ(found, id);
}
