// Record look-ups ignore ASCII case and nothing else, through renames and
// erasures, and whatever room reading made for the records.
#include <gtest/gtest.h>

#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/dxf/DxfDefaultDrawing.h"
#include "host/dxf/DxfValue.h"

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

// Reading makes room for a table's records from its head's entry count. A
// count far above the records (in one table or all), below them, zero or
// negative must read the same table: every record found by its name, in
// any case.
TEST(SymbolTableLookup, TablesReadAlikeWhateverTheirEntryCountSays)
{
    constexpr int kLayers = 3000;
    std::string records;
    for (int k = 0; k < kLayers; ++k)
        records += "  0\nLAYER\n  5\n" + DxfValue::fromHandle(0x1000 + static_cast<uint64_t>(k)) +
                   "\n330\n1\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n  2\nStorey-" +
                   std::to_string(k) + "\n 70\n0\n 62\n7\n  6\nContinuous\n";
    const std::string head = "  0\nTABLE\n  2\nLAYER\n  5\n1\n330\n0\n100\nAcDbSymbolTable\n 70\n";
    for (const char* count : {"2147483647", "3002", "2", "0", "-5"}) {
        SCOPED_TRACE(count);
        std::string text = DxfDefaultDrawing::text();
        const size_t at = text.find(head);
        ASSERT_NE(at, std::string::npos);
        const size_t value = at + head.size();
        text.replace(value, text.find('\n', value) - value, count);
        text.insert(text.find('\n', value) + 1, records);
        if (std::string(count) == "2147483647") {
            // Every other table's head claims as many: the room they may
            // make is shared, and the drawing reads the same.
            for (size_t at = text.find("AcDbSymbolTable\n 70\n"); at != std::string::npos;
                 at = text.find("AcDbSymbolTable\n 70\n", at + 1)) {
                const size_t from = at + std::string("AcDbSymbolTable\n 70\n").size();
                text.replace(from, text.find('\n', from) - from, count);
            }
        }
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "layers.dxf"), Acad::eOk) << db.lastError();
        AcDbLayerTable* layers = nullptr;
        ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
        for (int k = 0; k < kLayers; k += 11) {
            EXPECT_TRUE(layers->has(("Storey-" + std::to_string(k)).c_str())) << k;
            EXPECT_TRUE(layers->has(("STOREY-" + std::to_string(k)).c_str())) << k;
        }
        EXPECT_TRUE(layers->has("0"));
        EXPECT_FALSE(layers->has(("Storey-" + std::to_string(kLayers)).c_str()));
        layers->close();
    }
}
