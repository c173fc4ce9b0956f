#include "host/dxf/DxfFileWriter.h"

#include <cmath>
#include <set>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTable.h"
#include "host/dxf/DxfTagWriter.h"
#include "host/dxf/DxfValue.h"

namespace {

// A header variable as tags: 9 $NAME, then its value tags.
struct HeaderVar {
    std::string name;
    std::vector<DxfTag> tags;
};

std::vector<DxfTag> pointTags(AcDbDatabaseData& d, const AcGePoint3d& p, bool z = true)
{
    std::vector<DxfTag> t{DxfTag(10, d.keep(DxfValue::fromDouble(p.x))), DxfTag(20, d.keep(DxfValue::fromDouble(p.y)))};
    if (z)
        t.emplace_back(30, d.keep(DxfValue::fromDouble(p.z)));
    return t;
}

bool samePoint(const AcGePoint3d& a, const AcGePoint3d& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
bool sameVector(const AcGeVector3d& a, const AcGeVector3d& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

}  // namespace

void DxfFileWriter::write(DxfTagWriter& out)
{
    AcDbDatabaseData& d = db_.data();
    DxfTable::prepareSave(db_);
    for (const DxfTag& t : d.leadingTags)
        out.write(t);
    for (const AcDbFileSection& s : d.sections) {
        out.write(0, "SECTION");
        out.write(2, s.name);
        if (s.name == "HEADER")
            writeHeader(out);
        else if (s.name == "CLASSES")
            writeClasses(out);
        else if (s.name == "TABLES")
            writeTables(out);
        else if (s.name == "BLOCKS")
            writeBlocks(out);
        else if (s.name == "ENTITIES") {
            for (AcDbStub* e : d.entities)
                writeEntity(out, e);
        } else if (s.name == "OBJECTS") {
            for (AcDbStub* o : d.objects)
                writeObject(out, o);
        } else {
            for (const DxfTag& t : s.tags)
                out.write(t);
        }
        out.write(0, "ENDSEC");
    }
    out.write(0, "EOF");
}

void DxfFileWriter::writeHeader(DxfTagWriter& out)
{
    AcDbDatabaseData& d = db_.data();
    const AcDbHeaderValues& now = d.header;
    const AcDbHeaderValues& was = d.headerRead;
    DxfCodepage cp(now.acadver >= "AC1021", now.codepage);
    std::vector<HeaderVar> changed;
    auto one = [&](const char* name, int code, std::string text) {
        changed.push_back({name, {DxfTag(code, d.keep(std::move(text)))}});
    };
    if (now.lunits != was.lunits) one("$LUNITS", 70, DxfValue::fromInt(now.lunits));
    if (now.insunits != was.insunits) one("$INSUNITS", 70, DxfValue::fromInt(now.insunits));
    if (now.sortents != was.sortents) one("$SORTENTS", 280, DxfValue::fromInt(now.sortents));
    if (now.tilemode != was.tilemode) one("$TILEMODE", 70, DxfValue::fromInt(now.tilemode));
    if (now.ltscale != was.ltscale) one("$LTSCALE", 40, DxfValue::fromDouble(now.ltscale));
    if (now.celtscale != was.celtscale) one("$CELTSCALE", 40, DxfValue::fromDouble(now.celtscale));
    if (now.clayer != was.clayer) one("$CLAYER", 8, cp.encode(now.clayer));
    if (!samePoint(now.ucsorg, was.ucsorg)) changed.push_back({"$UCSORG", pointTags(d, now.ucsorg)});
    if (!sameVector(now.ucsxdir, was.ucsxdir))
        changed.push_back({"$UCSXDIR", pointTags(d, AcGePoint3d(now.ucsxdir.x, now.ucsxdir.y, now.ucsxdir.z))});
    if (!sameVector(now.ucsydir, was.ucsydir))
        changed.push_back({"$UCSYDIR", pointTags(d, AcGePoint3d(now.ucsydir.x, now.ucsydir.y, now.ucsydir.z))});
    if (!samePoint(now.extmin, was.extmin)) changed.push_back({"$EXTMIN", pointTags(d, now.extmin)});
    if (!samePoint(now.extmax, was.extmax)) changed.push_back({"$EXTMAX", pointTags(d, now.extmax)});
    // The seed stays above every handle in use, whatever the file said.
    uint64_t seed = now.handseed;
    uint64_t fileSeed = 0;
    for (size_t i = 0; i < d.headerTags.size(); ++i)
        if (d.headerTags[i].is(9, "$HANDSEED") && i + 1 < d.headerTags.size())
            DxfValue::toHandle(d.headerTags[i + 1].value(), fileSeed);
    if (seed != fileSeed)
        one("$HANDSEED", 5, DxfValue::fromHandle(seed));

    std::set<std::string> done;
    const auto& h = d.headerTags;
    for (size_t i = 0; i < h.size();) {
        if (h[i].code != 9) {
            out.write(h[i++]);
            continue;
        }
        std::string name(h[i].value());
        size_t j = i + 1;
        while (j < h.size() && h[j].code != 9)
            ++j;
        const HeaderVar* repl = nullptr;
        for (const HeaderVar& v : changed)
            if (v.name == name)
                repl = &v;
        out.write(h[i]);
        if (repl && !done.count(name)) {
            for (const DxfTag& t : repl->tags)
                out.write(t);
            done.insert(name);
        } else {
            for (size_t k = i + 1; k < j; ++k)
                out.write(h[k]);
        }
        i = j;
    }
    for (const HeaderVar& v : changed)
        if (!done.count(v.name)) {
            out.write(9, v.name);
            for (const DxfTag& t : v.tags)
                out.write(t);
        }
}

void DxfFileWriter::writeClasses(DxfTagWriter& out)
{
    AcDbDatabaseData& d = db_.data();
    for (const DxfTag& t : d.classTags)
        out.write(t);
    // Class-based objects the database made need their CLASS record.
    for (const auto& [code, text] : DxfTable::missingClasses(db_))
        out.write(code, text);
    bool haveSortents = false;
    for (const DxfTag& t : d.classTags)
        if (t.is(1, "SORTENTSTABLE"))
            haveSortents = true;
    if (haveSortents)
        return;
    for (AcDbStub* s : d.objects)
        if (!s->erased && s->kind == static_cast<uint8_t>(AcDbObjectKind::SortentsTable)) {
            out.write(0, "CLASS");
            out.write(1, "SORTENTSTABLE");
            out.write(2, "AcDbSortentsTable");
            out.write(3, "ObjectDBX Classes");
            out.write(90, "0");
            if (d.header.acadver >= "AC1018")
                out.write(91, "1");
            out.write(280, "0");
            out.write(281, "0");
            break;
        }
}

void DxfFileWriter::writeTables(DxfTagWriter& out)
{
    AcDbDatabaseData& d = db_.data();
    for (AcDbStub* head : d.tables) {
        writeObject(out, head);
        auto* table = static_cast<AcDbSymbolTable*>(db_.objectOf(head));
        for (const AcDbObjectId& id : table->recordIds())
            writeObject(out, id.stub());
        out.write(0, "ENDTAB");
    }
}

void DxfFileWriter::writeBlocks(DxfTagWriter& out)
{
    AcDbDatabaseData& d = db_.data();
    for (const AcDbBlockEntry& b : d.blocks) {
        if (!b.record) {
            for (const DxfTag& t : b.orphanTags)
                out.write(t);
            continue;
        }
        if (b.record->erased)
            continue;
        auto* rec = static_cast<AcDbBlockTableRecord*>(db_.objectOf(b.record));
        if (rec->isModified() && rec->blockBegin) {
            if (AcDbObject* begin = db_.objectOf(rec->blockBegin))
                begin->assertWriteEnabled();
        }
        if (rec->blockBegin)
            writeEntity(out, rec->blockBegin);
        bool entitiesSection = rec->isEntitiesSectionSpace();
        for (AcDbStub* e : rec->entities)
            if (!entitiesSection || e->inBlocksSection)
                writeEntity(out, e);
        if (rec->blockEnd)
            writeEntity(out, rec->blockEnd);
    }
}

void DxfFileWriter::writeEntity(DxfTagWriter& out, AcDbStub* stub)
{
    if (stub->erased)
        return;
    writeObject(out, stub);
    if (stub->subs)
        for (AcDbStub* s : *stub->subs)
            writeObject(out, s);
}

void DxfFileWriter::writeObject(DxfTagWriter& out, AcDbStub* stub)
{
    if (stub->erased)
        return;
    if (stub->tagCount > 0 && !stub->tagsKept && DxfObjectIO::writesAsRead(db_, stub)) {
        if (std::string_view text = textAsRead(*stub, out.crlf()); !text.empty()) {
            const size_t at = stub->ownerValueAt;
            if (at == 0 || !stub->owner || at >= text.size()) {
                out.writeRaw(text);
                return;
            }
            // An attribute written unchanged: its owner's handle in place
            // of the one its lines name.
            out.writeRaw(text.substr(0, at));
            out.writeRaw(DxfValue::fromHandle(stub->owner->handle));
            out.writeRaw(text.substr(at + DxfObjectIO::ownerValueLength(text, at)));
            return;
        }
    }
    size_t n = 0;
    const DxfTag* t = DxfObjectIO::tagsFor(db_, stub, scratch_, n);
    out.write(t, n, db_.data().splitSource(*stub));
}

std::string_view DxfFileWriter::textAsRead(const AcDbStub& stub, bool crlf) const
{
    // An object whose lines are all as this writer would write them is
    // written by copying its lines: the same bytes, without formatting each
    // tag again. Lines written out for a changed object are that already.
    const AcDbDatabaseData& d = db_.data();
    if (crlf != d.crlf || stub.textLength == 0 || !d.linesAsWritten(stub))
        return {};
    return d.textOf(stub);
}
