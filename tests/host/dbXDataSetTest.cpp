// Setting an application's extended data to the items it was read with
// leaves its lines as read; any difference, however small, is saved. What
// each saved file holds is read back by ezdxf.
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/resbuf.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// One LINE, handle 10000, with the extended data lines given, and the
// application ADE registered.
std::string lineWithXData(const std::string& xdata)
{
    std::string text = dxftest::withLines(1);
    const std::string end = " 21\n1.5\n";
    text.insert(text.find(end) + end.size(), xdata);
    const std::string appids = "  2\nAPPID\n";
    const size_t table = text.find(appids);
    const size_t first = text.find("  0\nAPPID\n", table + appids.size());
    text.insert(first, "  0\nAPPID\n  5\nA0DE\n330\n3\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n"
                       "  2\nADE\n 70\n0\n");
    return text;
}

// The items of ADE after setting them on the line and saving: "code value"
// each, as ezdxf reads the saved file.
std::string savedItems(const std::string& text, resbuf* chain, const std::string& name)
{
    AcDbDatabase db(false);
    EXPECT_EQ(db.readDxfText(text, (name + ".dxf").c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("10000")), Acad::eOk);
    {
        AcDbObjectPointer<AcDbEntity> line(id, AcDb::kForWrite);
        EXPECT_TRUE(line);
        if (line) {
            EXPECT_EQ(line->setXData(chain), Acad::eOk);
        }
    }
    acutRelRb(chain);
    const auto file = dxftest::tempDir("xdata-set-" + name) / (name + ".dxf");
    EXPECT_EQ(db.saveAs(file.string().c_str()), Acad::eOk) << db.lastError();
    return nlohmann::json::parse(dxftest::ezdxf1(file, "' | '.join(f'{c} {v}' for c, v in doc.entitydb['10000'].get_xdata('ADE')) "
                                 "if doc.entitydb['10000'].has_xdata('ADE') else 'none'"))
        .get<std::string>();
}

}  // namespace

TEST(XDataSet, ItemsAsReadStayAsReadAndEveryDifferenceIsSaved)
{
    ZELKA_REQUIRE_EZDXF();
    const std::string read = "1001\nADE\n1002\n{\n1000\nAREA=25.97sq.m.\n1000\nNAME=RM 1\n1002\n}\n";
    const std::string text = lineWithXData(read);
    auto chain = [](std::vector<std::pair<int, const char*>> items) {
        resbuf* head = acutBuildList(1001, "ADE", 0);
        resbuf* tail = head;
        for (const auto& [code, value] : items) {
            tail->rbnext = acutBuildList(code, value, 0);
            tail = tail->rbnext;
        }
        return head;
    };
    const std::string asRead = "1002 { | 1000 AREA=25.97sq.m. | 1000 NAME=RM 1 | 1002 }";
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 1"}, {1002, "}"}}), "same"),
              asRead);
    // The same items leave the extended data's lines as they stand in the file.
    {
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "same-lines.dxf"), Acad::eOk);
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("10000")), Acad::eOk);
        const auto changesBefore = db.changeCount();
        {
            AcDbObjectPointer<AcDbEntity> line(id, AcDb::kForWrite);
            resbuf* same = chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 1"}, {1002, "}"}});
            ASSERT_EQ(line->setXData(same), Acad::eOk);
            acutRelRb(same);
            // The write counts as a change to the drawing, but the line
            // stays as its lines stand.
            EXPECT_FALSE(line->isModified());
        }
        EXPECT_GT(db.changeCount(), changesBefore);
        const auto file = dxftest::tempDir("xdata-lines") / "same-lines.dxf";
        ASSERT_EQ(db.saveAs(file.string().c_str()), Acad::eOk) << db.lastError();
        EXPECT_NE(dxftest::readFile(file).find("\n" + read + "  0\n"), std::string::npos);
    }
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 2"}, {1002, "}"}}), "text"),
              "1002 { | 1000 AREA=25.97sq.m. | 1000 NAME=RM 2 | 1002 }");
    // A text that only begins with the one read, or is only its beginning.
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 10"}, {1002, "}"}}), "longer"),
              "1002 { | 1000 AREA=25.97sq.m. | 1000 NAME=RM 10 | 1002 }");
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m"}, {1000, "NAME=RM 1"}, {1002, "}"}}), "shorter"),
              "1002 { | 1000 AREA=25.97sq.m | 1000 NAME=RM 1 | 1002 }");
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.M."}, {1000, "NAME=RM 1"}, {1002, "}"}}), "case"),
              "1002 { | 1000 AREA=25.97sq.M. | 1000 NAME=RM 1 | 1002 }");
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 1"}}), "fewer"),
              "1002 { | 1000 AREA=25.97sq.m. | 1000 NAME=RM 1");
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 1"}, {1002, "}"},
                                      {1000, "X"}}),
                         "more"),
              asRead + " | 1000 X");
    EXPECT_EQ(savedItems(text, chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1003, "NAME=RM 1"}, {1002, "}"}}), "code"),
              "1002 { | 1000 AREA=25.97sq.m. | 1003 NAME=RM 1 | 1002 }");
    EXPECT_EQ(savedItems(text, chain({}), "removed"), "none");
    // Other items mark the line as no longer its lines.
    {
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "other-items.dxf"), Acad::eOk);
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("10000")), Acad::eOk);
        AcDbObjectPointer<AcDbEntity> line(id, AcDb::kForWrite);
        resbuf* other = chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 3"}, {1002, "}"}});
        ASSERT_EQ(line->setXData(other), Acad::eOk);
        acutRelRb(other);
        EXPECT_TRUE(line->isModified());
    }
    // An item read with an escape or a byte outside ASCII reads otherwise in
    // another code page: setting the record again with that item's bytes,
    // or with what they decode to, is a change, though its other item is
    // plain and set as read.
    for (const char* odd : {"NAME=h\\U+00E9llo", "NAME=h\xC3\xA9llo"}) {
        const std::string record = std::string("1001\nADE\n1000\nAREA=25.97sq.m.\n1000\n") + odd + "\n";
        for (const char* set : {odd, "NAME=h\xC3\xA9llo"}) {
            SCOPED_TRACE(std::string(odd) + " set as " + set);
            AcDbDatabase db(false);
            ASSERT_EQ(db.readDxfText(lineWithXData(record), "odd-items.dxf"), Acad::eOk);
            AcDbObjectId id;
            ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("10000")), Acad::eOk);
            AcDbObjectPointer<AcDbEntity> line(id, AcDb::kForWrite);
            std::vector<std::string_view> texts;
            std::list<std::string> decoded;
            ASSERT_TRUE(line->xDataTexts("ADE", texts, decoded));
            EXPECT_EQ(texts, (std::vector<std::string_view>{"AREA=25.97sq.m.", "NAME=h\xC3\xA9llo"}));
            resbuf* same = chain({{1000, "AREA=25.97sq.m."}, {1000, set}});
            ASSERT_EQ(line->setXData(same), Acad::eOk);
            acutRelRb(same);
            EXPECT_TRUE(line->isModified());
        }
    }
    // A real item whose value reads as the text's is still set.
    resbuf* real = chain({{1002, "{"}, {1000, "AREA=25.97sq.m."}, {1000, "NAME=RM 1"}, {1002, "}"}});
    real->rbnext->rbnext->rbnext->rbnext->rbnext = acutBuildList(1040, 2.5, 0);
    EXPECT_EQ(savedItems(lineWithXData("1001\nADE\n1002\n{\n1000\nAREA=25.97sq.m.\n1000\nNAME=RM 1\n1002\n}\n1040\n2.50\n"),
                         real, "real"),
              asRead + " | 1040 2.5");
}
