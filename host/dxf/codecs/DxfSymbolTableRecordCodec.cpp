#include "host/dxf/codecs/DxfSymbolTableRecordCodec.h"

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbSymbolTableRecord.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

int DxfSymbolTableRecordCodec::loadRecord(AcDbSymbolTableRecord& r, bool anySubclass, const DxfTag* t, size_t end,
                                          const DxfCodepage& cp)
{
    bool inRecord = false, nameSeen = false, flagsSeen = false;
    const DxfTag* anyName = nullptr;
    for (size_t i = 1; i < end; ++i) {
        if (t[i].code == 100) {
            inRecord = t[i].value() != "AcDbSymbolTableRecord";
            continue;
        }
        if (t[i].code == 2 && !anyName)
            anyName = &t[i];
        if (!inRecord && !anySubclass)
            continue;
        const int c = t[i].code;
        if (c == 2 && !nameSeen) {
            r.name_ = cp.decode(t[i].value());
            nameSeen = true;
        } else if (c == 70 && !flagsSeen) {
            r.flags_ = static_cast<int>(integer(t[i]));
            flagsSeen = true;
        }
    }
    // A record whose own subclass marker is missing or damaged still has a
    // name: its first group 2, as other readers take it (an empty name
    // would let a nameless BLOCK claim the record).
    if (!nameSeen && anyName)
        r.name_ = cp.decode(anyName->value());
    return r.flags_;
}

std::string DxfSymbolTableRecordCodec::saveName(AcDbSymbolTableRecord& r, const char* marker, DxfTagEditor& ed)
{
    // Reading takes a record's data from the subclass after any marker other
    // than AcDbSymbolTableRecord, so a record whose own marker is damaged is
    // saved into that same subclass (else a renamed record would keep its
    // old name while its BLOCK and references take the new one).
    std::string found = marker;
    if (!ed.subclass(marker).found)
        for (const DxfTag& t : ed.tags()) {
            if (t.code == 101 || t.code == 1001)
                break;
            if (t.code == 100 && t.value() != "AcDbSymbolTableRecord") {
                found = std::string(t.value());
                break;
            }
        }
    if (!ed.subclass(found).found) {
        // No subclass of its own: the name was read from the first group 2,
        // so a new name goes there.
        const std::vector<DxfTag>& tags = ed.tags();
        for (size_t i = 1; i < tags.size() && tags[i].code != 101 && tags[i].code != 1001; ++i)
            if (tags[i].code == 2) {
                ed.setString(DxfTagEditor::Range{i, i + 1, true}, 2, r.name(), {2});
                break;
            }
        return std::string();
    }
    ed.setString(ed.subclass(found), 2, r.name(), {2});
    return found;
}

void DxfSymbolTableRecordCodec::skeleton(AcDbDatabase& db, std::vector<DxfTag>& out, const char* marker)
{
    add(db, out, 100, "AcDbSymbolTableRecord");
    add(db, out, 100, marker);
    add(db, out, 2, "");
}

namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbSymbolTableRecord(); }

void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    DxfSymbolTableRecordCodec::loadRecord(static_cast<AcDbSymbolTableRecord&>(o), true, t, end, cp);
}

}  // namespace

// Records of tables the database does not model: name and flags are read,
// the record is written as read.
extern const DxfCodecFunctions kDxfOtherTableRecordCodec = {&create, &load, nullptr, nullptr};
