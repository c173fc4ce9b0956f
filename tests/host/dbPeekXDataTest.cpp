// acdbPeekHasXData answers from the object once it is built, not from the
// file record it was read from: an entity whose extended data changed since
// reading answers with its data as it now is.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbStub.h"
#include "host/db/resbuf.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

class PeekXData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        auto dir = dxftest::tempDir("peek-xdata");
        const std::string file = (dir / "lines.dxf").string();
        // A line with extended data of PE_URL ("url") and one with none ("none"), by ezdxf.
        handles = dxftest::ezdxfFixture("xdata_lines", file).get<std::map<std::string, std::string>>();
        ASSERT_EQ(handles.size(), 2u);
        ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    }
    AcDbObjectId idOf(const std::string& label)
    {
        AcDbObjectId id;
        EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handles[label].c_str())), Acad::eOk) << label;
        return id;
    }
    AcDbDatabase db{false};
    std::map<std::string, std::string> handles;
};

}  // namespace

TEST_F(PeekXData, BuiltObjectAnswersWithItsChangedData)
{
    AcDbObjectId url = idOf("url"), none = idOf("none");
    {
        AcDbObjectPointer<AcDbEntity> entity(url, AcDb::kForWrite);
        ASSERT_TRUE(entity);
        resbuf* drop = acutBuildList(1001, "PE_URL", 0);  // no items: removes the application
        ASSERT_EQ(entity->setXData(drop), Acad::eOk);
        acutRelRb(drop);
    }
    {
        AcDbObjectPointer<AcDbEntity> entity(none, AcDb::kForWrite);
        ASSERT_TRUE(entity);
        resbuf* add = acutBuildList(1001, "ade", 1000, "AREA=3", 0);
        ASSERT_EQ(entity->setXData(add), Acad::eOk);
        acutRelRb(add);
    }
    bool has = true;
    ASSERT_TRUE(acdbPeekHasXData(url, "PE_URL", has));
    EXPECT_FALSE(has) << "the record still holds PE_URL, the object no longer";
    ASSERT_TRUE(acdbPeekHasXData(none, "ADE", has));
    EXPECT_TRUE(has);
}

