// The editor side of layouts and filters on the layout test drawing (written
// by ezdxf): the CTAB and TILEMODE system variables, and selection filters
// on extended data built with acutBuildList(..., -3, 1001, name, ...).
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "dxfTestSupport.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/dxf/DxfValue.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/acedSelection.h"
#include "host/ed/acedSysVar.h"
#include "tests/common/TestRequirements.h"

namespace fs = std::filesystem;

namespace {

class LayoutDocument : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        dir_ = dxftest::tempDir("layout-doc");
        file_ = dir_ / "layouts.dxf";
        dxftest::ezdxfFixture("layouts", file_);  // layouts, viewports, inserts (tests/tools/ezdxf_fixtures.py)
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file_.c_str()), Acad::eOk) << acDocManagerPtr()->lastOpenError();
        document_ = acDocManagerPtr()->curDocument();
        ASSERT_NE(document_, nullptr);
    }
    void TearDown() override
    {
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) {
            while (open->lockCount() > 0)
                acDocManagerPtr()->unlockDocument(open);
            acDocManagerPtr()->closeDocument(open);
        }
    }

    static std::string stringVar(const char* name)
    {
        resbuf value{};
        if (acedGetVar(name, &value) != RTNORM || value.restype != RTSTR)
            return "<none>";
        std::string text = value.resval.rstring;
        std::free(value.resval.rstring);
        return text;
    }
    static int shortVar(const char* name)
    {
        resbuf value{};
        return acedGetVar(name, &value) == RTNORM && value.restype == RTSHORT ? value.resval.rint : -99;
    }
    static int setString(const char* name, const char* text)
    {
        resbuf value{};
        value.restype = RTSTR;
        value.resval.rstring = const_cast<char*>(text);
        return acedSetVar(name, &value);
    }
    static int setShort(const char* name, int number)
    {
        resbuf value{};
        value.restype = RTSHORT;
        value.resval.rint = static_cast<short>(number);
        return acedSetVar(name, &value);
    }

    // The handles of a selection set.
    static std::set<std::string> handles(const ads_name set)
    {
        std::set<std::string> out;
        int32_t length = 0;
        acedSSLength(set, &length);
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity;
            AcDbObjectId id;
            if (acedSSName(set, i, entity) == RTNORM && acdbGetObjectId(id, entity) == Acad::eOk)
                out.insert(DxfValue::fromHandle(id.handle().value()));
        }
        return out;
    }

    fs::path dir_, file_;
    AcApDocument* document_ = nullptr;
};

}  // namespace

TEST_F(LayoutDocument, CtabAndTilemodeFollowTheCurrentLayout)
{
    EXPECT_EQ(stringVar("CTAB"), "Model");
    EXPECT_EQ(shortVar("TILEMODE"), 1);
    EXPECT_EQ(setString("ctab", "sheet b"), RTNORM);
    EXPECT_EQ(stringVar("CTAB"), "Sheet B");
    EXPECT_EQ(shortVar("TILEMODE"), 0);
    EXPECT_EQ(setString("CTAB", "No such sheet"), RTERROR);
    EXPECT_EQ(stringVar("CTAB"), "Sheet B");
    EXPECT_EQ(setShort("TILEMODE", 1), RTNORM);
    EXPECT_EQ(stringVar("CTAB"), "Model");
    EXPECT_EQ(setShort("TILEMODE", 0), RTNORM);
    EXPECT_EQ(stringVar("CTAB"), "Sheet B");  // back to the last paper layout
    EXPECT_EQ(setShort("TILEMODE", 2), RTERROR);

    fs::path out = dir_ / "ctab.dxf";
    ASSERT_EQ(document_->database()->saveAs(out.c_str()), Acad::eOk);
    EXPECT_EQ(dxftest::ezdxf1(out, "[doc.header['$TILEMODE'], doc.layouts.active_layout().name]"), "[0, \"Sheet B\"]");
}

// The extended-data marker -3 taking no value is checked through the
// selection below, which builds its filter with it.
TEST(BuildList, ConditionalOperatorsTakeTheirTextAndUnknownCodesAreRefused)
{
    resbuf* op = acutBuildList(-4, "<OR", RTNONE);
    ASSERT_NE(op, nullptr);
    EXPECT_STREQ(op->resval.rstring, "<OR");
    acutRelRb(op);
    EXPECT_EQ(acutBuildList(-5, RTNONE), nullptr);
}

TEST_F(LayoutDocument, SelectionByExtendedDataTakesOnlyTheInsertsThatCarryIt)
{
    using Handles = std::set<std::string>;
    const auto tagged = nlohmann::json::parse(dxftest::ezdxf1(
        file_, "[e.dxf.handle for e in doc.modelspace().query('INSERT') if e.has_xdata('ADE')]")).get<Handles>();
    const auto all =
        nlohmann::json::parse(dxftest::ezdxf1(file_, "[e.dxf.handle for e in doc.modelspace().query('INSERT')]")).get<Handles>();
    ASSERT_EQ(tagged.size(), 2u);
    ASSERT_EQ(all.size(), 3u);

    resbuf* filter = acutBuildList(RTDXF0, "INSERT", -3, 1001, "ADE", RTNONE);
    ASSERT_NE(filter, nullptr);
    ads_name set;
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, filter, set), RTNORM);
    EXPECT_EQ(handles(set), tagged);
    acedSSFree(set);
    acutRelRb(filter);

    filter = acutBuildList(RTDXF0, "INSERT", -3, 1001, "OTHER", RTNONE);
    EXPECT_NE(acedSSGet("X", nullptr, nullptr, filter, set), RTNORM);  // nothing carries "OTHER"
    acutRelRb(filter);

    filter = acutBuildList(RTDXF0, "INSERT", RTNONE);
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, filter, set), RTNORM);
    EXPECT_EQ(handles(set), all);
    acedSSFree(set);
    acutRelRb(filter);
}
