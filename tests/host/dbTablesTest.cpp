// Layer, linetype, text style and block records written to a file and read
// back by ezdxf; attributes added to a reference read from another program's file.
#include <gtest/gtest.h>

#include <set>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbTextStyleTable.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

TEST(DbTables, LayerStatesAndLinetypeDashesReachTheFile)
{
    auto dir = dxftest::tempDir("db-tables");
    AcDbDatabase db;
    {
        AcDbLinetypeTable* lts = nullptr;
        ASSERT_EQ(db.getLinetypeTable(lts, AcDb::kForWrite), Acad::eOk);
        auto* lt = new AcDbLinetypeTableRecord();
        lt->setName("ZELKA_LINK");
        lt->setComments("Link line __ . __");
        lt->setNumDashes(3);
        lt->setDashLengthAt(0, 12.5);
        lt->setDashLengthAt(1, -5.0);
        lt->setDashLengthAt(2, 0.0);
        EXPECT_EQ(lt->setDashLengthAt(3, 1.0), Acad::eInvalidIndex);
        lt->setPatternLength(17.5);
        AcDbObjectId ltId;
        ASSERT_EQ(lts->add(ltId, lt), Acad::eOk);
        lt->close();
        lts->close();

        AcDbLayerTable* layers = nullptr;
        ASSERT_EQ(db.getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
        struct L {
            const char* name;
            bool frozen, locked, off, plot;
            int color;
            AcDb::LineWeight lw;
        };
        for (const L& l : {L{"FROZEN", true, false, false, true, 1, AcDb::kLnWt035},
                           L{"LOCKED", false, true, false, true, 5, AcDb::kLnWtByLwDefault},
                           L{"OFF", false, false, true, true, 3, AcDb::kLnWt013},
                           L{"NOPLOT", false, false, false, false, 250, AcDb::kLnWt200}}) {
            auto* rec = new AcDbLayerTableRecord();
            rec->setName(l.name);
            rec->setIsFrozen(l.frozen);
            rec->setIsLocked(l.locked);
            rec->setIsOff(l.off);
            rec->setIsPlottable(l.plot);
            AcCmColor c;
            c.setColorIndex(static_cast<int16_t>(l.color));
            rec->setColor(c);
            EXPECT_EQ(rec->setLineWeight(l.lw), Acad::eOk);
            EXPECT_EQ(rec->setLineWeight(AcDb::kLnWtByLayer), Acad::eInvalidInput);
            if (std::string(l.name) == "OFF")
                rec->setLinetypeObjectId(ltId);
            ASSERT_EQ(layers->add(rec), Acad::eOk);
            rec->close();
        }
        layers->close();
    }
    auto path = dir / "tables.dxf";
    ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);

    AcDbDatabase back(false);
    ASSERT_EQ(back.readDxfFile(path.c_str()), Acad::eOk);
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(back.getLayerTable(layers), Acad::eOk);
    AcDbLayerTableRecord* off = nullptr;
    ASSERT_EQ(layers->getAt("off", off, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(off->isOff());
    EXPECT_FALSE(off->isFrozen());
    EXPECT_EQ(off->color().colorIndex(), 3);
    EXPECT_EQ(off->lineWeight(), AcDb::kLnWt013);
    EXPECT_STREQ(off->linetypeName(), "ZELKA_LINK");
    off->close();
    layers->close();

    ZELKA_REQUIRE_EZDXF();
    auto out = dxftest::ezdxf(path, {"audit", "layer('FROZEN')", "layer('LOCKED')", "layer('OFF')", "layer('NOPLOT')",
                                     "linetype('ZELKA_LINK')"});
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0], "[]");
    EXPECT_EQ(out[1], R"({"color": 1, "frozen": true, "locked": false, "off": false, "plot": 1, "lineweight": 35, "linetype": "Continuous"})");
    EXPECT_EQ(out[2], R"({"color": 5, "frozen": false, "locked": true, "off": false, "plot": 1, "lineweight": -3, "linetype": "Continuous"})");
    EXPECT_EQ(out[3], R"({"color": -3, "frozen": false, "locked": false, "off": true, "plot": 1, "lineweight": 13, "linetype": "ZELKA_LINK"})");
    EXPECT_EQ(out[4], R"({"color": 250, "frozen": false, "locked": false, "off": false, "plot": 0, "lineweight": 200, "linetype": "Continuous"})");
    EXPECT_EQ(out[5], "[17.5, 12.5, -5.0, 0.0]");
}

TEST(DbTables, AttributesAddedToAReferenceFromAnotherProgram)
{
    // The LibreCAD plan has INSERTs without attributes; give one an attribute.
    auto src = dxftest::sourceDir() / "tests/data/dxf/real/librecad_architect_blocks_AC1021.dxf";
    ASSERT_TRUE(std::filesystem::exists(src)) << src << " is missing from the source tree";
    auto dir = dxftest::tempDir("db-addattrib");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(src.c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId refId;
    {
        AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
        for (const AcDbObjectId& id : ms->entityIds())
            if (std::string(id.objectClass()->name()) == "AcDbBlockReference") {
                refId = id;
                break;
            }
    }
    ASSERT_FALSE(refId.isNull());
    uint64_t seedBefore = db.handseed().value();
    AcDbObjectId attId;
    {
        AcDbObjectPointer<AcDbBlockReference> ref(refId, AcDb::kForWrite);
        ASSERT_EQ(ref.openStatus(), Acad::eOk);
        auto* att = new AcDbAttribute(ref->position(), "Desk 7", "NAME");
        att->setHeight(100);
        ASSERT_EQ(ref->appendAttribute(attId, att), Acad::eOk);
        att->close();
    }
    EXPECT_GE(attId.handle().value(), seedBefore);  // fresh handles from $HANDSEED
    auto path = dir / "with_attrib.dxf";
    ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);

    // Every tag of the original is still there; only $HANDSEED's value is replaced.
    auto a = dxftest::tagStream(dxftest::readFile(src));
    auto b = dxftest::tagStream(dxftest::readFile(path));
    std::multiset<std::pair<int, std::string>> after(b.begin(), b.end());
    std::vector<std::pair<int, std::string>> lost;
    for (const auto& t : a) {
        auto it = after.find(t);
        if (it == after.end())
            lost.push_back(t);
        else
            after.erase(it);
    }
    EXPECT_LE(lost.size(), 1u);  // the old seed, unless the new attribute took that very handle
    for (const auto& t : lost)
        EXPECT_EQ(t.first, 5);
    AcDbDatabase back(false);
    ASSERT_EQ(back.readDxfFile(path.c_str()), Acad::eOk);
    EXPECT_GT(back.handseed().value(), attId.handle().value());
    EXPECT_TRUE(after.count({0, "ATTRIB"}) == 1 && after.count({0, "SEQEND"}) == 1);
    EXPECT_EQ(after.count({66, "1"}) + after.count({66, "     1"}), 1u);

    ZELKA_REQUIRE_EZDXF();
    auto out = dxftest::ezdxf(path, {"audit",
                                     "[[a.dxf.tag, a.dxf.text] for a in doc.entitydb['" + refId.handle().toString() +
                                         "'].attribs]",
                                     "len(doc.modelspace())"});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "[]");
    EXPECT_EQ(out[1], "[[\"NAME\", \"Desk 7\"]]");
}

}  // namespace
