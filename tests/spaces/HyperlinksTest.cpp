// Hyperlink lists: the links text of the property database, and links read
// from and written to drawing entities as "PE_URL" extended data, checked
// with ezdxf's get_hyperlink() and the raw tags of the saved file.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "database/Hyperlinks.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcDbStub.h"
#include "tests/spaces/SpacesTestSupport.h"

using spacetest::handleOf;

namespace {

std::vector<std::pair<std::string, std::string>> linksOf(const CHyperlinks& links)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < links.getCount(); ++i)
        out.emplace_back(links.getAt(i).getHref(), links.getAt(i).getDescription());
    return out;
}

TEST(HyperlinksTextTest, EntriesAreSplitTrimmedFilledInAndDeduplicated)
{
    struct Case {
        const char* text;
        std::vector<std::pair<std::string, std::string>> expected;
    };
    const std::string page = "?pb=10&page=1&id=7";
    const std::vector<Case> cases = {
        {"", {}},
        {" , ", {}},                                  // blanks only: no address once trimmed
        {"a;", {{"a" + page, "a"}}},                  // the empty text after the last ";" is skipped
        {" a , b ", {{"a" + page, "b"}}},             // both parts trimmed
        {"c", {{"c" + page, "c"}}},                   // no ",": both from the whole entry
        {",d", {{"d" + page, "d"}}},                  // no address: the description stands in
        {"e,", {{"e" + page, "e"}}},                  // no description: the address stands in
        {"f,one,two", {{"f" + page, "one,two"}}},     // split at the first ","
        {"c;c,x;g,y", {{"c" + page, "c"}, {"g" + page, "y"}}},  // a repeated address is dropped
    };
    for (const Case& c : cases) {
        CHyperlinks links;
        links.setHyperlinks(c.text, 7);
        EXPECT_EQ(linksOf(links), c.expected) << "text: \"" << c.text << "\"";
    }
}

class EntityHyperlinksTest : public ::testing::Test {
protected:
    AcDbObjectId polyline() { return dwg.host.addModelPolyline(spacetest::rectangle(0, 0, 100, 100)); }

    void write(AcDbObjectId id, const CHyperlinks& links)
    {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        ASSERT_EQ(links.setEntityHyperlinks(entity.object()), Acad::eOk);
    }

    std::vector<std::pair<std::string, std::string>> read(AcDbObjectId id)
    {
        CHyperlinks links;
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        links.getEntityHyperlinks(entity.object());
        return linksOf(links);
    }

    spacetest::AdoptedDrawing dwg;
};

TEST_F(EntityHyperlinksTest, LinksAreWrittenAsPeUrlAndReadBackFromTheSavedFile)
{
    AcDbObjectId one = polyline();
    AcDbObjectId two = polyline();
    AcDbObjectId bare = polyline();
    CHyperlinks single;
    single.add(std::make_unique<CHyperlink>("http://plans.example/room?id=5", "Room 5 plan"));
    CHyperlinks pair;
    pair.add(std::make_unique<CHyperlink>("http://a.example", "First"));
    pair.add(std::make_unique<CHyperlink>("/srv/docs/lease.pdf", "Lease"));
    CHyperlinks noDescription;
    noDescription.add(std::make_unique<CHyperlink>("http://bare.example", ""));
    write(one, single);
    write(two, pair);
    write(bare, noDescription);

    auto file = spacetest::tempDir("hyperlinks-entities") / "links.dxf";
    dwg.host.save(file);
    const nlohmann::json seen = spacetest::readBack(file);
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    const nlohmann::json& entities = seen.at("entities");
    EXPECT_EQ(entities.at(handleOf(one)).at("link"), "http://plans.example/room?id=5|Room 5 plan|");
    EXPECT_EQ(entities.at(handleOf(bare)).at("link"), "http://bare.example||");
    EXPECT_EQ(entities.at(handleOf(bare)).at("pe_url"), "1000:http://bare.example");
    EXPECT_EQ(entities.at(handleOf(two)).at("pe_url"),
              "1000:http://a.example;1002:{;1000:First;1002:{;1071:0;1002:};1002:};"
              "1000:/srv/docs/lease.pdf;1002:{;1000:Lease;1002:{;1071:0;1002:};1002:}");

    // The host reading the saved file gives the same lists back.
    AcDbDatabase reread(false);
    ASSERT_EQ(reread.readDxfFile(file.c_str()), Acad::eOk);
    auto readFrom = [&](AcDbObjectId written) {
        AcDbObjectId id;
        EXPECT_EQ(reread.getAcDbObjectId(id, false, written.handle()), Acad::eOk);
        CHyperlinks links;
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        links.getEntityHyperlinks(entity.object());
        return linksOf(links);
    };
    EXPECT_EQ(readFrom(one), linksOf(single));
    EXPECT_EQ(readFrom(two), linksOf(pair));
    EXPECT_EQ(readFrom(bare), linksOf(noDescription));
}

// A block of a drawing read from a file: the definition's entities that
// carry links give them in their order, those without "PE_URL" data (none,
// or another application's) give none.
TEST_F(EntityHyperlinksTest, BlockLinksFromAFileSkipOnlyEntitiesWithoutLinkData)
{
    AcDbObjectId definition = dwg.host.defineSpace("ROOM-4", spacetest::rectangle(0, 0, 500, 500));
    AcDbObjectId reference = dwg.host.insert(definition, AcGePoint3d(0, 0, 0));
    std::vector<AcDbObjectId> parts;
    {
        AcDbObjectPointer<AcDbBlockTableRecord> record(definition, AcDb::kForRead);
        parts = record->entityIds();
    }
    // The outline, then the AREA, NAME and AUX attribute definitions.
    ASSERT_EQ(parts.size(), 4u);
    CHyperlinks onReference;
    onReference.add(std::make_unique<CHyperlink>("http://r.example", "R"));
    write(reference, onReference);
    CHyperlinks onOutline;
    onOutline.add(std::make_unique<CHyperlink>("http://o.example", "O"));
    onOutline.add(std::make_unique<CHyperlink>("http://r.example", "again"));
    write(parts[0], onOutline);
    dwg.host.setRecord(parts[2], "ADE", {{1000, "NAME=not a link"}});
    CHyperlinks onAux;
    onAux.add(std::make_unique<CHyperlink>("http://aux.example", "Aux"));
    write(parts[3], onAux);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"http://r.example", "R"}, {"http://o.example", "O"}, {"http://aux.example", "Aux"}};
    {
        AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
        EXPECT_EQ(linksOf(CHyperlinks(ref.object())), expected);
    }

    auto file = spacetest::tempDir("hyperlinks-block-file") / "links.dxf";
    dwg.host.save(file);
    AcDbDatabase reread(false);
    ASSERT_EQ(reread.readDxfFile(file.c_str()), Acad::eOk);
    auto idIn = [&](AcDbObjectId written) {
        AcDbObjectId id;
        EXPECT_EQ(reread.getAcDbObjectId(id, false, written.handle()), Acad::eOk);
        return id;
    };
    AcDbObjectPointer<AcDbBlockReference> ref(idIn(reference), AcDb::kForRead);
    ASSERT_TRUE(ref);
    EXPECT_EQ(linksOf(CHyperlinks(ref.object())), expected);
}

}  // namespace
