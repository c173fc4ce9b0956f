// Editing an object's tags in place: subclass ranges stay right while tags
// are inserted and removed between look-ups, and text made for new tags
// stays valid however much more is made after it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbUndoRecord.h"
#include "host/dxf/DxfTagEditor.h"

namespace {

// An ATTRIB-like record: base part, AcDbEntity, AcDbText, AcDbAttribute, xdata.
std::vector<DxfTag> record()
{
    return {{0, "ATTRIB"}, {5, "2A"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"},
            {100, "AcDbText"}, {10, "1.0"}, {20, "2.0"}, {30, "0.0"}, {40, "2.5"}, {1, "text"},
            {100, "AcDbAttribute"}, {2, "TAG"}, {70, "0"}, {1001, "APP"}, {1000, "x"}};
}

// The range of a subclass worked out here from the tag list.
std::pair<size_t, size_t> rangeOf(const std::vector<DxfTag>& t, std::string_view marker)
{
    for (size_t i = 0; i < t.size(); ++i)
        if (t[i].code == 100 && t[i].value() == marker) {
            size_t end = i + 1;
            while (end < t.size() && t[end].code != 100 && t[end].code != 101 && t[end].code != 1001)
                ++end;
            return {i + 1, end};
        }
    return {0, 0};
}

}  // namespace

TEST(DxfTagEditor, SubclassRangesFollowInsertsAndRemovals)
{
    AcDbDatabaseData data;
    DxfCodepage cp(true, "ANSI_1252");
    std::vector<DxfTag> tags = record();
    DxfTagEditor ed(tags, data, cp);
    const std::initializer_list<int> entityOrder = {8, 6, 62, 370};
    const std::initializer_list<int> textOrder = {10, 20, 30, 40, 1, 50, 41, 7};
    // Each step edits, then every subclass is looked up again and compared
    // with the range counted from the tags.
    struct Step {
        const char* what;
        std::function<void()> edit;
    };
    const std::vector<Step> steps = {
        {"look-ups only", [] {}},
        {"colour inserted into AcDbEntity", [&] { ed.setInt(ed.subclass("AcDbEntity"), 62, 1, entityOrder); }},
        {"layer replaced in place", [&] { ed.setString(ed.subclass("AcDbEntity"), 8, "WALLS", entityOrder); }},
        {"rotation inserted into AcDbText", [&] { ed.setReal(ed.subclass("AcDbText"), 50, 90.0, textOrder); }},
        {"colour removed", [&] { ed.remove(ed.subclass("AcDbEntity"), 62); }},
        {"linetype inserted, rotation removed: same count",
         [&] {
             ed.setString(ed.subclass("AcDbEntity"), 6, "DASHED", entityOrder);
             ed.remove(ed.subclass("AcDbText"), 50);
         }},
        {"tags inserted before everything", [&] { ed.insert(1, {DxfTag(102, "{ACAD_REACTORS"), DxfTag(330, "1F"), DxfTag(102, "}")}); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.edit();
        for (std::string_view marker : {"AcDbEntity", "AcDbText", "AcDbAttribute"}) {
            SCOPED_TRACE(std::string(marker));
            const auto expected = rangeOf(tags, marker);
            for (int again = 0; again < 2; ++again) {
                DxfTagEditor::Range r = ed.subclass(marker);
                ASSERT_TRUE(r.found);
                EXPECT_EQ(r.begin, expected.first);
                EXPECT_EQ(r.end, expected.second);
            }
        }
        EXPECT_FALSE(ed.subclass("AcDbMText").found);
    }
    // The edits landed where the order says.
    const auto entity = rangeOf(tags, "AcDbEntity");
    ASSERT_EQ(entity.second - entity.first, 2u);
    EXPECT_TRUE(tags[entity.first].is(8, "WALLS"));
    EXPECT_TRUE(tags[entity.first + 1].is(6, "DASHED"));
}

TEST(DxfTagEditor, KeptTextStaysValidAcrossBlocks)
{
    AcDbDatabaseData data;
    // Sizes that fill blocks unevenly, one far larger than a block, empty ones.
    std::vector<std::string> texts;
    for (int i = 0; i < 20000; ++i)
        texts.push_back(std::string(static_cast<size_t>(i % 37), static_cast<char>('a' + i % 26)) + std::to_string(i));
    texts.push_back(std::string(200000, 'L'));
    texts.push_back("");
    texts.push_back(std::string(20000, 'M'));
    texts.push_back("after the long ones");
    std::vector<std::string_view> views;
    for (const std::string& t : texts)
        views.push_back(data.keep(t));
    ASSERT_EQ(views.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(views[i], texts[i]) << "text " << i;
        ASSERT_NE(views[i].data(), texts[i].data()) << "text " << i << " is not a copy";
    }
}
