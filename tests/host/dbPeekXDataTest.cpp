// acdbPeekHasXData answers from the file record for an entity not opened yet
// (without building it) and from the object once it is, always as xData()
// would: application names compared ignoring ASCII case, names in the
// file's code page decoded.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// An R2000 drawing in code page 1252 written by ezdxf: lines carrying
// extended data of PE_URL, of ADE, of both (PE_URL second), of RÄUM (the Ä
// one 1252 byte), and a line with none. Prints "label handle" per line.
const char* kMakeLines = R"(import sys, ezdxf
doc = ezdxf.new("R2000")
doc.header["$DWGCODEPAGE"] = "ANSI_1252"
for app in ("PE_URL", "ADE", "R\u00c4UM"):
    doc.appids.new(app)
msp = doc.modelspace()
cases = {"url": [("PE_URL", "http://example.com/a")], "ade": [("ADE", "AREA=1")],
         "both": [("ADE", "AREA=2"), ("PE_URL", "http://example.com/b")],
         "raeum": [("R\u00c4UM", "x")], "none": []}
for i, (label, apps) in enumerate(cases.items()):
    line = msp.add_line((i, 0), (i, 1))
    for app, text in apps:
        line.set_xdata(app, [(1000, text)])
    print(label, line.dxf.handle)
doc.saveas(sys.argv[1], encoding="cp1252")
)";

const std::string kRaeum = "R\xC3\x84UM";  // RÄUM in UTF-8

class PeekXData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        auto dir = dxftest::tempDir("peek-xdata");
        dxftest::writeFile(dir / "make.py", kMakeLines);
        const std::string file = (dir / "lines.dxf").string();
        std::istringstream listing(dxftest::capture(std::string(ZELKA_PYTHON) + " '" + (dir / "make.py").string() +
                                                    "' '" + file + "'"));
        std::string label, handle;
        while (listing >> label >> handle)
            handles[label] = handle;
        ASSERT_EQ(handles.size(), 5u) << "ezdxf could not write the drawing";
        ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    }
    AcDbObjectId idOf(const std::string& label)
    {
        AcDbObjectId id;
        EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handles[label].c_str())), Acad::eOk) << label;
        return id;
    }
    // What the built object says: xData of the application is not null.
    static bool fromObject(AcDbObjectId id, const char* app)
    {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        EXPECT_TRUE(entity) << app;
        resbuf* rb = entity ? entity->xData(app) : nullptr;
        acutRelRb(rb);
        return rb != nullptr;
    }

    AcDbDatabase db{false};
    std::map<std::string, std::string> handles;
};

}  // namespace

TEST_F(PeekXData, RecordAnswersAsTheBuiltObjectWithoutBuildingIt)
{
    const std::vector<std::string> labels = {"url", "ade", "both", "raeum", "none"};
    const std::vector<std::string> apps = {"PE_URL", "pe_url", "Pe_Url", "ADE", "ade", kRaeum, "r\xC3\x84um",
                                           "R\xC3\xA4UM", "PE_UR", "PE_URLX", "RAUM", ""};
    std::map<std::pair<std::string, std::string>, bool> peeked;
    for (const std::string& label : labels) {
        AcDbObjectId id = idOf(label);
        ASSERT_FALSE(id.stub()->object) << label << " was built by reading";
        for (const std::string& app : apps) {
            bool has = false;
            ASSERT_TRUE(acdbPeekHasXData(id, app.c_str(), has)) << label << " " << app;
            peeked[{label, app}] = has;
        }
        EXPECT_FALSE(id.stub()->object) << "peeking built " << label;
    }
    auto at = [&](const std::string& label, const std::string& app) { return peeked[{label, app}]; };
    // What ezdxf wrote, by hand: each line has exactly the applications listed.
    EXPECT_TRUE(at("url", "PE_URL"));
    EXPECT_TRUE(at("url", "pe_url"));
    EXPECT_FALSE(at("url", "ADE"));
    EXPECT_TRUE(at("both", "Pe_Url")) << "an application after the first one";
    EXPECT_TRUE(at("both", "ade"));
    EXPECT_TRUE(at("raeum", kRaeum)) << "the 1252 byte decoded";
    EXPECT_TRUE(at("raeum", "r\xC3\x84um")) << "ASCII letters compared ignoring case";
    EXPECT_FALSE(at("raeum", "RAUM"));
    EXPECT_FALSE(at("url", "PE_UR"));
    EXPECT_FALSE(at("url", "PE_URLX"));
    for (const std::string& app : apps)
        EXPECT_FALSE(at("none", app)) << app;

    // The built objects agree on every pair, and the answers stay the same
    // now that they are built.
    for (const std::string& label : labels)
        for (const std::string& app : apps) {
            EXPECT_EQ(at(label, app), fromObject(idOf(label), app.c_str())) << label << " " << app;
            bool has = false;
            ASSERT_TRUE(acdbPeekHasXData(idOf(label), app.c_str(), has));
            EXPECT_EQ(has, at(label, app)) << label << " " << app << " once built";
        }
}

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

