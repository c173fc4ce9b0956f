// An attribute or a block reference opened for write and set to the values
// it already has is written out as a fully saved one would be: its own
// subclasses are left as read only when saving them would give them back.
// Thousands of records as other programs write them (fields missing,
// doubled, out of order, in odd but legal spellings, in application groups,
// after an embedded object) are each read twice: one copy is set to its own
// values, the other is changed and changed back, so it is saved field by
// field. Both must come out the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/resbuf.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTagWriter.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// Picks among ways of writing a field: the first (plain) one, else now and
// then another. How often another is taken changes from record to record,
// so that many records differ from the plain one in one field only.
class Choice {
public:
    explicit Choice(uint32_t seed) : random_(seed) {}
    void startRecord()
    {
        static const double kRates[] = {0.01, 0.03, 0.1, 0.5};
        rate_ = kRates[below(std::size(kRates))];
    }
    std::string operator()(const std::vector<std::string>& options)
    {
        if (options.size() == 1 || std::uniform_real_distribution<double>(0, 1)(random_) >= rate_)
            return options[0];
        return options[1 + below(options.size() - 1)];
    }
    bool often() { return std::uniform_real_distribution<double>(0, 1)(random_) >= rate_; }
    size_t below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

private:
    std::mt19937 random_;
    double rate_ = 0.1;
};

std::string tag(int code, const std::string& value)
{
    std::string line = std::to_string(code);
    return std::string(line.size() < 3 ? 3 - line.size() : 0, ' ') + line + "\n" + value + "\n";
}

// The AcDbEntity subclass of a record, varied.
std::string entityPart(Choice& choose)
{
    std::string entity = tag(100, "AcDbEntity");
    entity += choose({tag(8, "0"), "", tag(8, "A") + tag(8, "B"), tag(8, "L\xE4")});
    entity += choose({"", tag(6, "BYLAYER"), tag(6, "Dashed") + tag(6, "Dashed")});
    entity += choose({"", tag(62, "0"), tag(62, "7"), tag(62, "256"), tag(62, "-3"), tag(62, "257"), tag(62, "     1"),
                      tag(62, "1") + tag(62, "2")});
    entity += choose({"", "", tag(420, "16711680")});
    entity += choose({"", tag(48, "1.0"), tag(48, "2"), tag(48, "0.5e1")});
    entity += choose({"", tag(60, "0"), tag(60, "1"), tag(60, "2")});
    entity += choose({"", tag(370, "-1"), tag(370, "25"), tag(370, "-3")});
    entity += choose({"", "", tag(102, "{ZELKA") + tag(40, "1.0") + tag(102, "}")});
    return entity;
}

// Extended data or none, as some records have it.
std::string xdataPart(Choice& choose) { return choose.below(2) ? "" : tag(1001, "ACAD") + tag(1000, "kept"); }

// The record of an ATTRIB after its handle and owner: the AcDbEntity,
// AcDbText and AcDbAttribute subclasses, each varied.
std::string attributeBody(Choice& choose)
{
    choose.startRecord();
    const std::string entity = entityPart(choose);

    const std::string x = choose({"100.0", "-0.0", "1e2", "  3.5", "+2", "0.1000000000000000055511151231257827", "1.",
                                  "12345678901234567890.5"});
    std::vector<std::string> text;
    text.push_back(choose({tag(10, x) + tag(20, "200.0") + tag(30, "0.0"), tag(10, x) + tag(20, "200.0"),
                           tag(10, x) + tag(20, "200.0") + tag(39, "1") + tag(30, "5.0"),
                           tag(10, x) + tag(20, "2") + tag(30, "0") + tag(10, "5") + tag(20, "6") + tag(30, "7")}));
    text.push_back(choose({tag(40, "250.0"), "", tag(40, "2.5") + tag(40, "3.5"), tag(40, "0"), tag(40, "-1")}));
    text.push_back(choose({tag(1, "Office"), "", tag(1, "A") + tag(1, "B"), tag(1, "K\xFC" "che"), tag(1, "a\\U+00FCb"),
                           tag(1, "a\\U+0000b"), tag(1, std::string("a\0b", 3)),
                           tag(1, ""), tag(1, "%%c12")}));
    text.push_back(choose({"", tag(39, "0.0"), tag(39, "5")}));
    text.push_back(choose({"", tag(50, "0"), tag(50, "0.0"), tag(50, "90"), tag(50, "270.0"), tag(50, "33.3"),
                           tag(50, "123456.789"), tag(50, "-7777.7777")}));
    text.push_back(choose({"", tag(41, "1.0"), tag(41, "0.8")}));
    text.push_back(choose({"", tag(51, "0"), tag(51, "15"), tag(51, "-1234.5678")}));
    text.push_back(choose({"", tag(7, "Standard"), tag(7, "STANDARD"), tag(7, "Other")}));
    text.push_back(choose({"", tag(71, "2")}));
    text.push_back(choose({"", tag(72, "0"), tag(72, "1"), tag(72, "4"), tag(72, "7")}));
    text.push_back(choose({"", tag(11, "1.0") + tag(21, "2.0") + tag(31, "0.0"), tag(11, "1.0") + tag(21, "2.0"),
                           tag(21, "2.0") + tag(31, "0.0")}));
    text.push_back(choose({"", tag(210, "0.0") + tag(220, "0.0") + tag(230, "1.0"),
                           tag(210, "0.0") + tag(220, "0.0") + tag(230, "-1.0"), tag(210, "0.0") + tag(220, "0.0")}));
    text.push_back(choose({"", tag(73, "0"), tag(73, "2"), tag(74, "1")}));
    if (!choose.often())
        std::swap(text[0], text[1 + choose.below(text.size() - 1)]);

    std::string attribute;
    attribute += choose({"", tag(280, "0")});
    attribute += choose({tag(2, "NAME"), "", tag(2, "A") + tag(2, "B"), tag(2, "N\xC4ME")});
    attribute += choose({"", tag(70, "0"), tag(70, "1"), tag(70, "8"), tag(70, "16"), tag(70, "9")});
    attribute += choose({"", tag(73, "0"), tag(73, "12")});
    attribute += choose({"", tag(74, "0"), tag(74, "2"), tag(74, "5")});
    attribute += choose({"", "", tag(3, "Prompt?"), tag(1, "Inside"), tag(40, "9.0"), tag(72, "1"),
                         tag(102, "{ZELKA") + tag(1, "x") + tag(102, "}")});

    std::string textPart;
    for (const std::string& part : text)
        textPart += part;
    const std::string markerText = tag(100, "AcDbText"), markerAttribute = tag(100, "AcDbAttribute");
    std::string body = choose({entity + markerText + textPart + markerAttribute + attribute,
                               entity + markerText + textPart + attribute,
                               entity + markerText + textPart + markerText + markerAttribute + attribute,
                               entity + markerAttribute + attribute + markerText + textPart,
                               entity + markerText + textPart + markerAttribute + attribute +
                                   tag(101, "Embedded Object") + tag(10, "1.0") + tag(20, "2.0")});
    return body + xdataPart(choose);
}

// The record of an INSERT of ROOM-1 after its handle and owner: the
// AcDbEntity and AcDbBlockReference subclasses, each varied.
std::string referenceBody(Choice& choose)
{
    choose.startRecord();
    const std::string entity = entityPart(choose);
    std::string reference;
    reference += choose({tag(66, "1"), "", tag(66, "     1"), tag(66, "0"), tag(66, "1") + tag(66, "1")});
    reference += choose({tag(2, "ROOM-1"), tag(2, "room-1"), tag(2, "NOSUCH"), tag(2, "ROOM-1") + tag(2, "ROOM-1")});
    const std::string x = choose({"100.0", "-0.0", "1e2", "  3.5", "0.1000000000000000055511151231257827"});
    reference += choose({tag(10, x) + tag(20, "200.0") + tag(30, "0.0"), tag(10, x) + tag(20, "200.0"),
                         tag(10, x) + tag(20, "200.0") + tag(41, "2") + tag(30, "5.0"),
                         tag(20, "200.0") + tag(10, x) + tag(30, "0.0")});
    reference += choose({"", tag(41, "1.0"), tag(41, "2") + tag(42, "2") + tag(43, "2"), tag(42, "-1"),
                         tag(43, "1") + tag(43, "3")});
    reference += choose({"", tag(50, "0"), tag(50, "30.0"), tag(50, "123456.789"), tag(50, "-7777.7777")});
    reference += choose({"", tag(70, "1") + tag(71, "1") + tag(44, "0.0") + tag(45, "0.0")});
    reference += choose({"", tag(210, "0.0") + tag(220, "0.0") + tag(230, "1.0"),
                         tag(210, "0.0") + tag(220, "0.0") + tag(230, "-1.0"),
                         tag(210, "0.0") + tag(220, "0.0"), tag(102, "{ZELKA") + tag(2, "x") + tag(102, "}")});
    const std::string marker = choose({tag(100, "AcDbBlockReference"), tag(100, "AcDbMInsertBlock"), "",
                                       tag(100, "AcDbBlockReference") + tag(100, "AcDbBlockReference")});
    return entity + marker + reference + xdataPart(choose);
}

// The records of the text by handle: each a list of its tags after the 0.
std::map<std::string, std::vector<std::pair<int, std::string>>> recordsByHandle(const std::string& text)
{
    std::map<std::string, std::vector<std::pair<int, std::string>>> records;
    std::vector<std::pair<int, std::string>>* current = nullptr;
    for (const auto& [code, value] : dxftest::tagStream(text)) {
        if (code == 0) {
            current = nullptr;
            continue;
        }
        if (code == 5 && !current)
            current = &records[value];
        if (current)
            current->emplace_back(code, value);
    }
    return records;
}

std::string hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

// The tiny room drawing with the records from the one starting with `from`
// up to the one starting with `to` replaced.
std::string roomWith(const std::string& from, const std::string& to, const std::string& records)
{
    std::string room = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf");
    const size_t first = room.find(from);
    const size_t last = first == std::string::npos ? first : room.find(to, first);
    EXPECT_NE(last, std::string::npos) << from;
    if (last != std::string::npos)
        room.replace(first, last - first, records);
    return room;
}

// Compares, in the saved text, each record set to its own values with its
// twin changed and changed back (the bodies as read, for the message), and
// counts those whose own part (after handle and owner) came out as read
// and those saving rewrote: both kinds must be there.
void expectTwinsWrittenAlike(const std::string& out, const std::vector<std::pair<std::string, std::string>>& twins,
                             const std::vector<std::string>& bodies)
{
    const auto written = recordsByHandle(out);
    int keptAsRead = 0, rewritten = 0;
    for (size_t k = 0; k < twins.size(); ++k) {
        const auto& [same, changed] = twins[k];
        ASSERT_TRUE(written.count(same) && written.count(changed)) << same;
        auto a = written.at(same), b = written.at(changed);
        a.front().second = b.front().second = "handle";
        EXPECT_EQ(a, b) << "record " << k << " as read:\n" << bodies[k];
        std::vector<std::pair<int, std::string>> read;
        for (const auto& [code, value] : dxftest::tagStream(bodies[k] + "  0\nEOF\n"))
            read.emplace_back(code, value);
        read.pop_back();
        (std::vector<std::pair<int, std::string>>(b.begin() + 2, b.end()) == read ? keptAsRead : rewritten) += 1;
    }
    EXPECT_GT(keptAsRead, static_cast<int>(twins.size()) / 10);
    EXPECT_GT(rewritten, static_cast<int>(twins.size()) / 10);
}

AcDbObjectId idOf(AcDbDatabase& db, const std::string& handle)
{
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handle.c_str())), Acad::eOk) << handle;
    return id;
}

}  // namespace

TEST(UnchangedFields, AnAttributeSetToItsOwnValuesIsWrittenAsAFullSaveWritesIt)
{
    // Pairs of one record: handles 1000 + 2k (set to its own values) and
    // 1001 + 2k (changed and changed back). Half name the block record as
    // their owner, as some programs write, which saving corrects.
    constexpr int kPairs = 2000;
    Choice choose(20261207);
    std::string records;
    std::vector<std::string> bodies;
    std::vector<std::pair<std::string, std::string>> twins;
    for (int k = 0; k < kPairs; ++k) {
        const std::string body = attributeBody(choose);
        const std::string owner = choose.below(2) ? "30" : "1F";
        bodies.push_back(body);
        twins.emplace_back(hex(0x1000 + 2 * k), hex(0x1000 + 2 * k + 1));
        for (const std::string& handle : {twins.back().first, twins.back().second})
            records += "  0\nATTRIB\n" + tag(5, handle) + tag(330, owner) + body;
    }
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(roomWith("  0\nATTRIB\n  5\n31\n", "  0\nSEQEND\n", records), "attributes.dxf"),
              Acad::eOk)
        << db.lastError();
    for (int k = 0; k < kPairs; ++k) {
        const auto& [same, changed] = twins[static_cast<size_t>(k)];
        {
            AcDbObjectPointer<AcDbAttribute> a(idOf(db, same), AcDb::kForWrite);
            ASSERT_TRUE(a) << same;
            // Every other one keeps its text untouched: a text that reads
            // differently as a C string (an escaped NUL) is then not set.
            if (k % 2 == 0) {
                const std::string text = a->textString();
                EXPECT_EQ(a->setTextString(text.c_str()), Acad::eOk);
            }
            EXPECT_EQ(a->setPosition(a->position()), Acad::eOk);
            a->setHeight(a->height());  // refused for a height of 0 or less, as read
            a->setWidthFactor(a->widthFactor());
            EXPECT_EQ(a->setRotation(a->rotation()), Acad::eOk);
            EXPECT_TRUE(a->isModified());
        }
        {
            AcDbObjectPointer<AcDbAttribute> b(idOf(db, changed), AcDb::kForWrite);
            ASSERT_TRUE(b) << changed;
            const std::string text = b->textString();
            EXPECT_EQ(b->setTextString((text + "!").c_str()), Acad::eOk);
            EXPECT_EQ(b->setTextString(text.c_str()), Acad::eOk);
            EXPECT_TRUE(b->isContentModified());
        }
    }
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk) << db.lastError();
    expectTwinsWrittenAlike(out, twins, bodies);
}

TEST(UnchangedFields, ADifferentValueAfterTheSameOneIsSaved)
{
    std::string room = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(room, "room.dxf"), Acad::eOk) << db.lastError();
    {
        AcDbObjectPointer<AcDbAttribute> a(idOf(db, "31"), AcDb::kForWrite);
        ASSERT_TRUE(a);
        a->setTextString(a->textString());
        a->setPosition(a->position());
        a->setHeight(a->height());
        a->setRotation(a->rotation());
        a->setWidthFactor(a->widthFactor());
        EXPECT_FALSE(a->isContentModified());
        EXPECT_EQ(a->setHeight(125.0), Acad::eOk);
        EXPECT_TRUE(a->isContentModified());
        a->setTextString("Kitchen");
        a->setPosition(AcGePoint3d(1.5, 2.5, 0.0));
        a->setWidthFactor(0.75);
    }
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
    std::map<int, std::string> fields;
    const auto written = recordsByHandle(out);
    for (const auto& [code, value] : written.at("31"))
        fields[code] = value;
    EXPECT_EQ(fields[1], "Kitchen");
    EXPECT_EQ(fields[10], "1.5");
    EXPECT_EQ(fields[20], "2.5");
    EXPECT_EQ(std::stod(fields[40]), 125.0);
    EXPECT_EQ(std::stod(fields[41]), 0.75);
}

TEST(UnchangedFields, AReferenceSetToItsOwnValuesIsWrittenAsAFullSaveWritesIt)
{
    // Pairs of one INSERT with an attribute: handles 3000 + 6k on (set to
    // its own values) and 3003 + 6k on (changed and changed back).
    constexpr int kPairs = 1500;
    Choice choose(1207);
    std::string records;
    std::vector<std::string> bodies;
    std::vector<std::pair<std::string, std::string>> twins;
    const std::string attribute = tag(100, "AcDbEntity") + tag(8, "0") + tag(100, "AcDbText") + tag(10, "1.0") +
                                  tag(20, "2.0") + tag(30, "0.0") + tag(40, "2.5") + tag(1, "Office") +
                                  tag(100, "AcDbAttribute") + tag(2, "NAME") + tag(70, "0");
    for (int k = 0; k < kPairs; ++k) {
        const std::string body = referenceBody(choose);
        bodies.push_back(body);
        twins.emplace_back(hex(0x3000 + 6 * k), hex(0x3000 + 6 * k + 3));
        for (int insert : {0x3000 + 6 * k, 0x3000 + 6 * k + 3}) {
            records += "  0\nINSERT\n" + tag(5, hex(insert)) + tag(330, "1F") + body;
            records += "  0\nATTRIB\n" + tag(5, hex(insert + 1)) + tag(330, hex(insert)) + attribute;
            records += "  0\nSEQEND\n" + tag(5, hex(insert + 2)) + tag(330, hex(insert)) + tag(100, "AcDbEntity") +
                       tag(8, "0");
        }
    }
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(roomWith("  0\nINSERT\n  5\n30\n", "  0\nTEXT\n", records), "references.dxf"),
              Acad::eOk)
        << db.lastError();
    for (int k = 0; k < kPairs; ++k) {
        for (int copy = 0; copy < 2; ++copy) {
            const int insert = 0x3000 + 6 * k + 3 * copy;
            // Every fifth loses its attribute, so the flag that attributes
            // follow must go.
            if (k % 5 == 0) {
                AcDbObjectPointer<AcDbAttribute> a(idOf(db, hex(insert + 1)), AcDb::kForWrite);
                ASSERT_TRUE(a);
                EXPECT_EQ(a->erase(), Acad::eOk);
            }
            AcDbObjectPointer<AcDbBlockReference> r(idOf(db, hex(insert)), AcDb::kForWrite);
            ASSERT_TRUE(r) << hex(insert);
            // Extended data set to none of ADE (which none has) changes no field.
            resbuf* none = acutBuildList(1001, "ADE", 0);
            EXPECT_EQ(r->setXData(none), Acad::eOk);
            acutRelRb(none);
            if (copy == 1) {
                const AcGePoint3d p = r->position();
                r->setPosition(AcGePoint3d(p.x + 1.0, p.y, p.z));
                r->setPosition(p);
                EXPECT_TRUE(r->isContentModified());
            } else {
                EXPECT_FALSE(r->isContentModified());
            }
        }
    }
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk) << db.lastError();
    expectTwinsWrittenAlike(out, twins, bodies);
}

namespace {

// Drawings as other programs write them, and the small room drawing: as
// read, with attributes written in many ways, and with its attribute naming
// the block record as owner, so written as read, with its code lines
// unpadded, with CR LF line ends, and with CR LF ends but one.
std::vector<std::pair<std::string, std::string>> drawingsOfManyWriters()
{
    std::vector<std::pair<std::string, std::string>> drawings;
    const auto data = dxftest::sourceDir() / "tests/data/dxf";
    for (const char* dir : {"real", "r12", "ezdxf", "numbers"})
        for (const auto& entry : std::filesystem::directory_iterator(data / dir))
            if (entry.path().extension() == ".dxf")
                drawings.emplace_back(entry.path().filename().string(), dxftest::readFile(entry.path()));
    std::string room = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf");
    drawings.emplace_back("room", room);
    const std::string attribute = "ATTRIB\n  5\n31\n330\n30\n";
    const size_t at = room.find(attribute);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos)
        room.replace(at, attribute.size(), "ATTRIB\n  5\n31\n330\n1F\n");
    std::string unpadded, crlf, crlfButOne;
    size_t line = 0;
    for (size_t from = 0; from < room.size(); ++line) {
        const size_t end = room.find('\n', from);
        const std::string text = room.substr(from, end - from);
        from = end == std::string::npos ? room.size() : end + 1;
        unpadded += (line % 2 == 0 ? text.substr(std::min(text.find_first_not_of(' '), text.size())) : text) + "\n";
        crlf += text + "\r\n";
        crlfButOne += text + (text == "AcDbAttribute" ? "\n" : "\r\n");
    }
    drawings.emplace_back("room, owner the block record", room);
    // Attributes written in many ways, some of which saving rewrites.
    Choice choose(7);
    std::string records;
    for (int k = 0; k < 300; ++k)
        records += "  0\nATTRIB\n" + tag(5, hex(0x1000 + k)) + tag(330, choose.below(2) ? "30" : "1F") +
                   attributeBody(choose);
    drawings.emplace_back("room, attributes written in many ways",
                          roomWith("  0\nATTRIB\n  5\n31\n", "  0\nSEQEND\n", records));
    drawings.emplace_back("room, code lines unpadded", unpadded);
    drawings.emplace_back("room, CR LF", crlf);
    drawings.emplace_back("room, CR LF but one line", crlfButOne);
    return drawings;
}

}  // namespace

// Attributes and references set to their own values (the position, the
// extended data) are written out from their lines, the owner's value put
// right: those lines must be what writing their tags gives, in every
// drawing where the shortcut is taken, and it must not be taken where a
// line is not as the writer writes it.
TEST(UnchangedFields, LinesWrittenOutAsReadAreWhatWritingTheTagsGives)
{
    std::map<DxfObjectIO::LinesAsRead, int> taken;
    for (const auto& [name, text] : drawingsOfManyWriters()) {
        SCOPED_TRACE(name);
        AcDbDatabase db(false);
        if (db.readDxfText(text, name.c_str()) != Acad::eOk)
            continue;  // damaged on purpose
        std::vector<AcDbStub*> stubs;
        for (AcDbStub& s : db.data().stubs)
            if (!s.erased && (s.kind == static_cast<uint8_t>(AcDbObjectKind::Attribute) ||
                              s.kind == static_cast<uint8_t>(AcDbObjectKind::BlockReference)))
                stubs.push_back(&s);
        for (AcDbStub* stub : stubs) {
            AcDbObjectPointer<AcDbEntity> e(AcDbObjectId(stub), AcDb::kForWrite);
            if (!e)
                continue;  // on a locked layer
            if (e->isKindOf(AcDbAttribute::desc())) {
                auto* a = static_cast<AcDbAttribute*>(e.object());
                a->setPosition(a->position());
            }
            if (resbuf* xdata = e->xData()) {
                e->setXData(xdata);
                acutRelRb(xdata);
            }
            if (!e->isModified() || e->isContentModified())
                continue;
            std::string fast;
            const DxfObjectIO::LinesAsRead way = DxfObjectIO::linesAsRead(db, stub, fast);
            ++taken[way];
            if (way == DxfObjectIO::LinesAsRead::kOther)
                continue;
            std::vector<DxfTag> scratch;
            size_t n = 0;
            const DxfTag* tags = DxfObjectIO::tagsFor(db, stub, scratch, n);
            std::string written;
            {
                DxfTagWriter w(&written, db.data().crlf);
                w.write(tags, n, db.data().splitSource(*stub));
            }
            const std::string expected =
                way == DxfObjectIO::LinesAsRead::kSameLines ? std::string(db.data().splitSource(*stub)) : fast;
            EXPECT_EQ(written, expected) << "handle " << std::hex << stub->handle;
            if (name.find("unpadded") != std::string::npos || name.find("but one") != std::string::npos)
                ADD_FAILURE() << "lines not as written taken as they stand, handle " << std::hex << stub->handle;
        }
    }
    // Both shortcuts, and the way round them, were met.
    EXPECT_GT(taken[DxfObjectIO::LinesAsRead::kSameLines], 0);
    EXPECT_GT(taken[DxfObjectIO::LinesAsRead::kOwnerChanged], 0);
    EXPECT_GT(taken[DxfObjectIO::LinesAsRead::kOther], 0);
}
