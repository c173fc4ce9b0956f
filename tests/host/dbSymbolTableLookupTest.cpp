// Record look-ups ignore ASCII case and nothing else, through adds, renames,
// erasures and a file read back, checked against a map of lower-cased names.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// The name with the case of its ASCII letters flipped at random.
std::string anyCase(const std::string& s, std::mt19937& rng)
{
    std::string out = s;
    for (char& c : out)
        if (rng() % 2 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            c = static_cast<char>(c ^ 0x20);
    return out;
}

}  // namespace

TEST(SymbolTableLookup, ManyLayersFoundInAnyCaseAndOnlyThose)
{
    AcDbDatabase db;
    std::mt19937 rng(5);
    std::map<std::string, AcDbObjectId> expected;  // lower-cased name -> record
    {
        AcDbLayerTable* layers = nullptr;
        ASSERT_EQ(db.getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
        for (int i = 0; i < 1500; ++i) {
            // Long and short names, some differing only past 16 characters,
            // and names with UTF-8 letters whose case is not folded.
            std::string name = i % 3 == 0   ? "Layer-" + std::to_string(i)
                               : i % 3 == 1 ? "A-Very-Long-Layer-Name-Prefix-" + std::to_string(i)
                                            : "R\xC3\x84UM-" + std::to_string(i);
            auto* record = new AcDbLayerTableRecord();
            ASSERT_EQ(record->setName(name.c_str()), Acad::eOk);
            AcDbObjectId id;
            ASSERT_EQ(layers->add(id, record), Acad::eOk) << name;
            record->close();
            expected[dxftest::asciiLower(name)] = id;
        }
        // A name differing only in case is taken already.
        auto* twin = new AcDbLayerTableRecord();
        twin->setName("LAYER-0");
        EXPECT_EQ(layers->add(twin), Acad::eDuplicateRecordName);
        delete twin;
        layers->close();
    }
    AcDbObjectPointer<AcDbLayerTable> layers(db.layerTableId(), AcDb::kForRead);
    ASSERT_TRUE(layers);
    for (const auto& [name, id] : expected) {
        AcDbObjectId found;
        std::string asked = anyCase(name, rng);
        ASSERT_EQ(layers->getAt(asked.c_str(), found), Acad::eOk) << asked;
        EXPECT_EQ(found, id) << asked;
    }
    // Not found: a folded non-ASCII letter, a prefix, an extension.
    AcDbObjectId none;
    EXPECT_EQ(layers->getAt("r\xC3\xA4um-2", none), Acad::eKeyNotFound) << "Ä and ä are different names";
    EXPECT_EQ(layers->getAt("LAYER-", none), Acad::eKeyNotFound);
    EXPECT_EQ(layers->getAt("LAYER-00", none), Acad::eKeyNotFound);
    EXPECT_EQ(layers->getAt("Layer-0 ", none), Acad::eKeyNotFound);
    EXPECT_EQ(layers->getAt(nullptr, none), Acad::eInvalidInput);
}

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
        layers->close();
    }
    {
        AcDbObjectPointer<AcDbLayerTableRecord> record(id, AcDb::kForWrite);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->setName("WALLS-OLD"), Acad::eOk);
    }
    AcDbObjectPointer<AcDbLayerTable> layers(db.layerTableId(), AcDb::kForRead);
    AcDbObjectId found;
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

TEST(SymbolTableLookup, BlocksReadFromAFileResolveFromTheirReferences)
{
    AcDbDatabase source;
    {
        AcDbBlockTable* blocks = nullptr;
        ASSERT_EQ(source.getBlockTable(blocks, AcDb::kForWrite), Acad::eOk);
        for (const char* name : {"Room-1", "ROOM-10", "Chair"}) {
            auto* record = new AcDbBlockTableRecord();
            record->setName(name);
            ASSERT_EQ(blocks->add(record), Acad::eOk);
            record->close();
        }
        blocks->close();
    }
    std::string text;
    ASSERT_EQ(source.writeDxfText(text), Acad::eOk);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "blocks.dxf"), Acad::eOk) << db.lastError();
    AcDbObjectPointer<AcDbBlockTable> blocks(db.blockTableId(), AcDb::kForRead);
    ASSERT_TRUE(blocks);
    for (const char* asked : {"room-1", "ROOM-1", "room-10", "CHAIR", "*model_space"}) {
        AcDbObjectId found;
        ASSERT_EQ(blocks->getAt(asked, found), Acad::eOk) << asked;
        AcDbObjectPointer<AcDbBlockTableRecord> record(found, AcDb::kForRead);
        ASSERT_TRUE(record);
        EXPECT_EQ(dxftest::asciiLower(record->name()), dxftest::asciiLower(asked));
    }
    AcDbObjectId none;
    EXPECT_EQ(blocks->getAt("ROOM-", none), Acad::eKeyNotFound);
}
