// AcDbObject::xDataTexts reads the group 1000 texts of an application's
// extended data in place; they must be the texts the result-buffer chain of
// xData holds, for every application of a file with every kind of item (a
// point's y and z, handles and layer names read as texts, escaped and
// non-ASCII texts) and for data set since reading.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/resbuf.h"
#include "tests/host/dxfTestSupport.h"

namespace {

std::vector<std::string> chainTexts(const AcDbObject& object, const char* app)
{
    std::vector<std::string> texts;
    resbuf* chain = object.xData(app);
    for (const resbuf* rb = chain; rb; rb = rb->rbnext)
        if (rb->restype == 1000 && rb->resval.rstring) texts.emplace_back(rb->resval.rstring);
    acutRelRb(chain);
    return texts;
}

// Compares both readings for every application of the object; returns how many it compared.
int compareApplications(const AcDbObject& object)
{
    int compared = 0;
    resbuf* all = object.xData(nullptr);
    for (const resbuf* rb = all; rb; rb = rb->rbnext) {
        if (rb->restype != 1001) continue;
        SCOPED_TRACE(std::string(object.isA()->name()) + " " + rb->resval.rstring);
        std::vector<std::string_view> views;
        std::list<std::string> decoded;
        EXPECT_TRUE(object.xDataTexts(rb->resval.rstring, views, decoded));
        EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), chainTexts(object, rb->resval.rstring));
        ++compared;
    }
    acutRelRb(all);
    return compared;
}

}  // namespace

TEST(XDataTexts, AreTheTextsOfTheXDataChainForEveryApplication)
{
    std::ifstream in(dxftest::sourceDir() / "tests/data/dxf/real/acad_xdata_all_codes_AC1032.dxf", std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An escaped character and UTF-8 letters, which are decoded.
    for (auto [from, to] : {std::pair<std::string, std::string>{"\nhello", "\nh\\U+00E9llo"},
                            {"\napp_layer", "\nlayer \xC3\xA9t\xC3\xA9"}}) {
        const size_t at = content.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        content.replace(at, from.size(), to);
    }
    const std::string file = (dxftest::tempDir("xdata-texts") / "xdata.dxf").string();
    std::ofstream(file, std::ios::binary) << content;
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();

    int compared = 0;
    AcDbObjectId changed;
    for (int handle = 1; handle < 0x1000; ++handle) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", handle);
        AcDbObjectId id;
        if (db.getAcDbObjectId(id, false, AcDbHandle(hex)) != Acad::eOk) continue;
        AcDbObjectPointer<AcDbObject> object(id, AcDb::kForRead);
        const int here = object ? compareApplications(*object) : 0;
        if (here > 0 && object->isKindOf(AcDbEntity::desc())) changed = id;
        compared += here;
    }
    EXPECT_GE(compared, 20);

    // Data set since reading, and an application the object does not have.
    AcDbObjectPointer<AcDbEntity> entity(changed, AcDb::kForWrite);
    ASSERT_TRUE(entity);
    resbuf* set = acutBuildList(1001, "ACAD", 1000, "first", 1070, 7, 1000, "second", 0);
    ASSERT_EQ(entity->setXData(set), Acad::eOk);
    acutRelRb(set);
    std::vector<std::string_view> views;
    std::list<std::string> decoded;
    EXPECT_TRUE(entity->xDataTexts("acad", views, decoded));
    EXPECT_EQ(views, (std::vector<std::string_view>{"first", "second"}));
    EXPECT_FALSE(entity->xDataTexts("NO_SUCH_APP", views, decoded));
    EXPECT_TRUE(views.empty());
}

// The kind of value each extended-data group code carries, at every edge of
// the ranges (the DXF reference's strings, points, reals, 16-bit and 32-bit
// integers; a binary chunk, 1004, is held as a string here): the kinds of
// extended data are decided inline and every other code out of line, so the
// codes on either side of the range must still come out as before.
TEST(XDataTexts, ResultBufferKindsFollowTheGroupCodeRanges)
{
    using K = AcRbValueKind;
    const std::vector<std::pair<int, K>> kinds = {
        {999, K::String},   // a comment
        {1000, K::String},  {1001, K::String}, {1002, K::String}, {1003, K::String}, {1004, K::String},
        {1005, K::String},  {1009, K::String}, {1010, K::Point},  {1011, K::Point},  {1012, K::Point},
        {1013, K::Point},   {1014, K::Real},   {1040, K::Real},   {1041, K::Real},   {1042, K::Real},
        {1059, K::Real},    {1060, K::Short},  {1070, K::Short},  {1071, K::Long},   {1072, K::None},
        {0, K::String},     {10, K::Point},    {40, K::Real},     {70, K::Short},    {90, K::Long},
        {160, K::Int64},    {-1, K::Name},     {-4, K::String},   {RTSTR, K::String}, {RTREAL, K::Real},
        {RTSHORT, K::Short}, {RTNONE, K::None},
    };
    for (const auto& [code, kind] : kinds)
        EXPECT_EQ(acutRbValueKind(code), kind) << code;
}
