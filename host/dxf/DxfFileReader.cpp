#include "host/dxf/DxfFileReader.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUndoRecord.h"
#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfNumberCheck.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfR12Upgrade.h"
#include "host/dxf/DxfTagReader.h"
#include "host/dxf/DxfTagStream.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfBlockTableRecordCodec.h"

namespace {

bool sectionIs(const DxfTag& t, std::string_view name) { return t.code == 0 && t.value() == name; }

uint8_t kindOf(std::string_view name, const char* section)
{
    return static_cast<uint8_t>(dxfCodecFor(name, section).kind);
}

}  // namespace

DxfFileReader::DxfFileReader(AcDbDatabase& db) : db_(db), d_(db.data()), fileName_(db.data().fileName) {}

bool DxfFileReader::has(size_t i) const { return tags_->has(i); }

DxfTag DxfFileReader::tag(size_t i) const { return (*tags_)[i]; }

size_t DxfFileReader::lineOfTag(size_t tagIndex) const
{
    if (!has(tagIndex))
        return DxfTagReader::lineOfOffset(d_.text, d_.text.size());
    size_t offset = static_cast<size_t>(tag(tagIndex).text - d_.text.data());
    return DxfTagReader::lineOfOffset(d_.text, offset) - 1;  // the group-code line
}

DxfReadResult DxfFileReader::expected(size_t tagIndex, const std::string& what) const
{
    std::string found = "the end of the file";
    if (has(tagIndex)) {
        const DxfTag& t = tag(tagIndex);
        found = "group code " + std::to_string(t.code) + " '" + std::string(t.value().substr(0, 40)) + "'";
    }
    return DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(tagIndex),
                                           "expected " + what + ", found " + found);
}

size_t DxfFileReader::objectEnd(size_t i) const
{
    // Every tag of the file passes here: codes alone, read where they stand.
    for (++i; tags_->has(i); ++i)
        if (tags_->list().code(i) == 0)
            return i;
    return tags_->size();
}

size_t DxfFileReader::lineEndAfter(size_t k) const
{
    // A value line ends in LF or CR LF, or (the file's last) in a lone CR or
    // nothing; the value itself holds none of them.
    const DxfTag t = tag(k);
    size_t pos = static_cast<size_t>(t.text - d_.text.data()) + t.size;
    if (pos < d_.text.size() && d_.text[pos] == '\r')
        ++pos;
    if (pos < d_.text.size() && d_.text[pos] == '\n')
        ++pos;
    return pos;
}

AcDbStub* DxfFileReader::makeStub(size_t i, size_t end, const char* section, DxfReadResult& result)
{
    std::string_view type = tag(i).value();
    uint64_t handle = 0;
    int handleCode = type == "DIMSTYLE" ? 105 : 5;
    for (size_t k = i + 1; k < end && k < i + 4; ++k)
        if (tag(k).code == handleCode) {
            if (!DxfValue::toHandle(tag(k).value(), handle)) {
                result = DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(k) + 1,
                                                         "expected a hexadecimal handle, found '" +
                                                             std::string(tag(k).value().substr(0, 40)) + "'");
                return nullptr;
            }
            break;
        }
    // The object's lines: from its first group-code line to the next
    // object's, or, when no tag follows (the file ends or a fault stopped the
    // split), to the end of its own last value line: text past the last tag
    // split was never checked and is not the object's.
    // Objects follow one another, so an object's start is most often the
    // end just found for the one before.
    const size_t begin = i == nextStart_.tag ? nextStart_.offset : tags_->startOf(i);
    const size_t stop = has(end) ? tags_->startOf(end) : lineEndAfter(end - 1);
    nextStart_ = {end, stop};
    if (end > UINT32_MAX || stop - begin > UINT32_MAX) {
        result = DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(i),
                                                 "the file has more tags than can be read (4,294,967,295); split the drawing");
        return nullptr;
    }
    AcDbStub* s = orphanHandles_.count(handle) ? nullptr : db_.newStub(handle);
    if (!s) {
        result = DxfTagReader(fileName_).failure(Acad::eHandleExists, lineOfTag(i),
                                                 "handle " + DxfValue::fromHandle(handle) + " of " + std::string(type) +
                                                     " is already used by another object");
        return nullptr;
    }
    s->textOffset = begin;
    s->textLength = static_cast<uint32_t>(stop - begin);
    s->tagCount = static_cast<uint32_t>(end - i);
    s->kind = kindOf(type, section);
    d_.noteKind(*s);
    if (s->kind == static_cast<uint8_t>(AcDbObjectKind::BlockReference) && d_.linesAsWritten(*s))
        s->insertNameAt = insertNameAt(i, end, begin, stop);
    bool xdata = false;
    s->numbersClean = DxfNumberCheck::clean(tags_->list(), i, end - i, static_cast<AcDbObjectKind>(s->kind), xdata);
    s->xdataRead = xdata;
    if (!s->numbersClean)
        unclean_.push_back(s);
    return s;
}

uint8_t DxfFileReader::insertNameAt(size_t i, size_t end, size_t begin, size_t stop) const
{
    // The tags as acdbPeekBlockName scans them once split from the lines.
    DxfInsertBlockNameScan scan;
    for (size_t k = i + 1; k < end; ++k) {
        const DxfTag t = tag(k);
        const DxfInsertBlockNameScan::Seen seen = scan.see(t);
        if (seen == DxfInsertBlockNameScan::kNoName)
            return 0;
        if (seen != DxfInsertBlockNameScan::kName)
            continue;
        const size_t at = static_cast<size_t>(t.text - d_.text.data());
        return at > begin && at < stop && at - begin <= UINT8_MAX ? static_cast<uint8_t>(at - begin) : 0;
    }
    return 0;
}

bool DxfFileReader::firstHeaderVersion(std::string& version, size_t& versionTags)
{
    // The first "0 SECTION" followed by a group code 2, as the R12 check
    // finds sections.
    size_t i = 0;
    while (has(i + 1) && !(tag(i).is(0, "SECTION") && tag(i + 1).code == 2))
        ++i;
    if (!has(i + 1) || DxfValue::trimmed(tag(i + 1).value()) != "HEADER")
        return false;
    size_t e = i + 2;
    while (has(e) && !tag(e).is(0, "ENDSEC") && !tag(e).is(0, "EOF") && !tag(e).is(0, "SECTION"))
        ++e;
    bool found = false;
    for (size_t k = i + 2; k + 1 < e; ++k)
        if (tag(k).is(9, "$ACADVER") && tag(k + 1).code == 1) {
            version = std::string(DxfValue::trimmed(tag(k + 1).value()));
            found = true;
        }
    versionTags = 0;
    for (size_t k = 0; k < e; ++k)
        versionTags += tag(k).is(9, "$ACADVER") ? 1 : 0;
    return found;
}

void DxfFileReader::reset()
{
    for (AcDbStub& s : d_.stubs)
        delete s.object;
    std::string fileName = std::move(d_.fileName);
    const bool inBuffer = d_.text.data() == d_.buffer.data();
    std::string buffer = std::move(d_.buffer);
    void* mapped = d_.mapped;
    const size_t mappedSize = d_.mappedSize;
    d_.mapped = nullptr;
    d_.~AcDbDatabaseData();
    new (&d_) AcDbDatabaseData();
    d_.fileName = std::move(fileName);
    d_.buffer = std::move(buffer);
    d_.mapped = mapped;
    d_.mappedSize = mappedSize;
    d_.text = inBuffer ? std::string_view(d_.buffer) : std::string_view(static_cast<const char*>(mapped), mappedSize);
    unterminated_.clear();
    unclean_.clear();
    nextStart_ = {};
    orphanHandles_.clear();
}

DxfReadResult DxfFileReader::read()
{
    const DxfTagReader reader(fileName_);
    const auto countRead = [this](size_t bytes) { d_.noteTextRead(bytes); };
    DxfTagStream stream(reader, d_.text, &d_.unusualTags, countRead);
    tags_ = &stream;
    // An R12 drawing is upgraded first. Nearly every file says its version
    // in its first section, the HEADER; only when it does not, or the tags
    // show another $ACADVER later, does the R12 check need every tag.
    std::string version;
    size_t versionTags = 0;
    if (!firstHeaderVersion(version, versionTags) || (version.size() == 6 && version.compare(0, 4, "AC10") == 0 && version <= "AC1009")) {
        if (DxfReadResult r = stream.finish(true); !r.ok())
            return r;
        if (DxfR12Upgrade::isR12(stream.list(), version))
            return readUpgraded(version);
        return readSections();
    }
    DxfReadResult r = readSections();
    // A fault of the tags themselves anywhere in the file comes first, as
    // the file is not DXF at all then.
    if (DxfReadResult split = stream.finish(false); !split.ok())
        return split;
    if (stream.versionTags() > versionTags) {
        DxfTagList all;
        reader.read(d_.text, all);
        if (DxfR12Upgrade::isR12(all, version)) {
            reset();
            tags_ = nullptr;
            DxfTagStream again(reader, d_.text, &d_.unusualTags, countRead);
            again.finish(true);
            tags_ = &again;
            return readUpgraded(version);
        }
    }
    return r;
}

DxfReadResult DxfFileReader::readSections()
{
    DxfReadResult r;
    DxfNumberCheck numbers;  // objects built while reading report malformed numbers to it
    d_.crlf = DxfTagReader::usesCrlf(d_.text);
    namesToReserve_ = d_.text.size() / 1024;
    size_t i = 0;
    while (has(i) && !sectionIs(tag(i), "SECTION") && !sectionIs(tag(i), "EOF"))
        d_.leadingTags.push_back(tag(i++));
    bool sawHeader = false;
    while (has(i) && !sectionIs(tag(i), "EOF")) {
        tags_->release(i);
        if (!sectionIs(tag(i), "SECTION"))
            return expected(i, "group code 0 with 'SECTION' or 'EOF'");
        ++i;
        if (!has(i) || tag(i).code != 2)
            return expected(i, "group code 2 with the section name");
        std::string name(tag(i).value());
        ++i;
        if (name != "HEADER" && !sawHeader)
            return expected(i - 2, "the HEADER section first");
        for (const AcDbFileSection& earlier : d_.sections)
            if (earlier.name == name)
                return DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(i - 1),
                                                       "the " + name + " section appears a second time; expected each section once");
        d_.sections.push_back({name, {}});
        if (name == "HEADER") {
            sawHeader = true;
            r = readHeader(i);
            // The handle seed is one more than the largest handle in use:
            // about the number of objects to come, as a file's handles
            // mostly run on. The text's size bounds it (an object takes
            // more than 128 bytes of nearly every file), against a seed far
            // beyond the objects a file holds.
            d_.byHandle.reserve(static_cast<size_t>(std::min<uint64_t>(d_.header.handseed, d_.text.size() / 128)));
        } else if (name == "CLASSES") {
            while (has(i) && !sectionIs(tag(i), "ENDSEC") && !sectionIs(tag(i), "EOF"))
                d_.classTags.push_back(tag(i++));
        } else if (name == "TABLES") {
            r = readTables(i);
        } else if (name == "BLOCKS") {
            r = readBlocks(i);
        } else if (name == "ENTITIES") {
            size_t end = 0;
            r = readEntities(i, nullptr, false, end);
        } else if (name == "OBJECTS") {
            r = readObjects(i);
        } else {
            while (has(i) && !sectionIs(tag(i), "ENDSEC") && !sectionIs(tag(i), "EOF"))
                d_.sections.back().tags.push_back(tag(i++));
        }
        if (!r.ok())
            return r;
        if (!has(i) || !sectionIs(tag(i), "ENDSEC"))
            return expected(i, "group code 0 with 'ENDSEC' to end the " + name + " section");
        ++i;
    }
    if (!sawHeader)
        return expected(0, "a HEADER section");
    if (!d_.blockTable || !d_.modelSpace)
        return DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(i),
                                               "the drawing has no block table with *Model_Space");
    r = numbers.finish(db_, fileName_, unclean_);
    if (r.ok())
        addMissingSeqends();
    return r;
}

DxfReadResult DxfFileReader::readUpgraded(const std::string& version)
{
    // The R12 drawing becomes the text of a current one, which is then read
    // as any other; its faults are reported at the lines of the file.
    const bool crlf = DxfTagReader::usesCrlf(d_.text);
    std::vector<uint32_t> sourceLines;
    std::vector<DxfTag> tags;
    tags_->list().appendTo(0, tags_->size(), tags);
    std::string text = DxfR12Upgrade(tags, d_.text).upgrade(crlf, sourceLines);
    d_.unusualTags.clear();
    d_.buffer = std::move(text);
    d_.text = d_.buffer;
    DxfReadResult r = read();
    const std::string base = std::filesystem::path(fileName_).filename().string();
    if (!r.ok()) {
        size_t tag = r.line > 0 ? (r.line - 1) / 2 : 0;
        tag = std::min(tag, sourceLines.empty() ? 0 : sourceLines.size() - 1);
        while (tag > 0 && sourceLines[tag] == 0)
            --tag;
        const size_t line = sourceLines.empty() ? 0 : sourceLines[tag] + (r.line > 0 && r.line % 2 == 0 ? 1 : 0);
        const std::string prefix = fileName_ + ": line " + std::to_string(r.line) + ": ";
        std::string what = r.message.rfind(prefix, 0) == 0 ? r.message.substr(prefix.size()) : r.message;
        r = DxfTagReader(fileName_).failure(r.status, line, what + " (in the R12 drawing being upgraded)");
        return r;
    }
    const std::string release = version.empty() ? "an R12-style drawing without a version"
                                                 : version == "AC1009" ? "an R12 (AC1009) drawing"
                                                                       : "an R12 or older (" + version + ") drawing";
    d_.notices.insert(d_.notices.begin(), base + " is " + release + "; it will be saved as AutoCAD 2013 DXF");
    return r;
}

void DxfFileReader::addMissingSeqends()
{
    // An INSERT's attributes or a POLYLINE's vertices end with a SEQEND that
    // the entity owns; other programs refuse the sequence without it. The
    // one made here takes the next free handle and the entity's layer.
    std::vector<DxfTag> scratch;
    for (AcDbStub* parent : unterminated_) {
        auto* owner = static_cast<AcDbEntity*>(db_.objectOf(parent));
        auto* seqend = new AcDbEntity();
        db_.attach(seqend, AcDbObjectId(parent), true);
        AcDbStub* stub = seqend->objectId().stub();
        stub->kind = static_cast<uint8_t>(AcDbObjectKind::SequenceEnd);
        stub->inBlocksSection = parent->inBlocksSection;
        seqend->setLayer(owner->layer());
        seqend->close();
        parent->subs->push_back(stub);
        d_.notices.push_back(std::string(d_.tagsOf(*parent, scratch)[0].value()) + " " + DxfValue::fromHandle(parent->handle) +
                             " had no SEQEND; one was added");
    }
}

DxfReadResult DxfFileReader::readHeader(size_t& i)
{
    AcDbHeaderValues& h = d_.header;
    std::string name;
    auto point = [&](size_t k, AcGePoint3d& p) {
        for (size_t j = k; has(j) && tag(j).code != 9 && tag(j).code != 0; ++j) {
            double v = 0;
            if (!DxfValue::toDouble(tag(j).value(), v))
                continue;
            if (tag(j).code == 10) p.x = v;
            if (tag(j).code == 20) p.y = v;
            if (tag(j).code == 30) p.z = v;
        }
    };
    size_t versionLine = lineOfTag(i);
    for (; has(i) && tag(i).code != 0; ++i) {
        const DxfTag& t = tag(i);
        d_.headerTags.push_back(t);
        if (t.code == 1 && name == "$ACADVER")
            versionLine = lineOfTag(i) + 1;
        if (t.code == 9) {
            name = std::string(t.value());
            AcGePoint3d p;
            if (name == "$UCSORG") { point(i + 1, p); h.ucsorg = p; }
            else if (name == "$UCSXDIR") { point(i + 1, p); h.ucsxdir = p.asVector(); }
            else if (name == "$UCSYDIR") { point(i + 1, p); h.ucsydir = p.asVector(); }
            else if (name == "$EXTMIN") { point(i + 1, p); h.extmin = p; }
            else if (name == "$EXTMAX") { point(i + 1, p); h.extmax = p; }
            continue;
        }
        int64_t v = 0;
        if (DxfValueKind k = dxfValueKind(t.code); k == DxfValueKind::Double) {
            double x = 0;
            if (!DxfValue::toDouble(t.value(), x))
                return DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(i) + 1,
                                                       "expected a number for " + name + ", found '" +
                                                           std::string(t.value().substr(0, 40)) + "'");
        }
        if (name == "$ACADVER" && t.code == 1)
            h.acadver = std::string(DxfValue::trimmed(t.value()));
        else if (name == "$DWGCODEPAGE" && t.code == 3)
            h.codepage = std::string(DxfValue::trimmed(t.value()));
        else if (name == "$HANDSEED" && t.code == 5) {
            uint64_t seed = 0;
            if (DxfValue::toHandle(t.value(), seed) && seed > h.handseed)
                h.handseed = seed;
        } else if (name == "$LUNITS" && DxfValue::toInt(t.value(), v))
            h.lunits = static_cast<int>(v);
        else if (name == "$INSUNITS" && DxfValue::toInt(t.value(), v))
            h.insunits = static_cast<int>(v);
        else if (name == "$SORTENTS" && DxfValue::toInt(t.value(), v))
            h.sortents = static_cast<int>(v);
        else if ((name == "$LTSCALE" || name == "$CELTSCALE") && t.code == 40) {
            double x = 0;
            if (DxfValue::toDouble(t.value(), x) && x > 0.0 && std::isfinite(x))
                (name == "$LTSCALE" ? h.ltscale : h.celtscale) = x;
        } else if (name == "$TILEMODE" && DxfValue::toInt(t.value(), v))
            h.tilemode = v == 0 ? 0 : 1;
        else if (name == "$CLAYER" && t.code == 8)
            h.clayer = std::string(t.value());
    }
    const std::string& ver = h.acadver;
    if (ver.empty())
        return DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(i),
                                               "expected the variable $ACADVER in the HEADER section");
    if (ver < "AC1015" || ver > "AC1032" || ver.size() != 6) {
        // R12 and older are upgraded before this; R13 and R14 DXF are not.
        const std::string what = ver == "AC1012" ? "an R13 (AC1012) DXF file"
                                 : ver == "AC1014" ? "an R14 (AC1014) DXF file"
                                 : ver > "AC1032" && ver.size() == 6 ? "a DXF file newer than R2018 (" + ver + ")"
                                                                      : "a DXF file of unknown version '" + ver + "'";
        return DxfTagReader(fileName_).failure(Acad::eDwgNotSupported, versionLine,
                                               "this is " + what +
                                                   ", which cannot be read; R12 and R2000 to R2018 DXF can - open it in a CAD program and save it as R2000 or later DXF");
    }
    DxfCodepage cp(ver >= "AC1021", h.codepage);
    h.clayer = cp.decode(h.clayer);
    d_.headerRead = h;
    return {};
}

DxfReadResult DxfFileReader::readTables(size_t& i)
{
    DxfReadResult r;
    while (has(i) && sectionIs(tag(i), "TABLE")) {
        size_t end = objectEnd(i);
        AcDbStub* head = makeStub(i, end, "TABLES", r);
        if (!head)
            return r;
        auto* table = static_cast<AcDbSymbolTable*>(db_.objectOf(head));
        d_.tables.push_back(head);
        const std::string& type = table->recordType();
        if (type == "BLOCK_RECORD") d_.blockTable = head;
        else if (type == "LAYER") d_.layerTable = head;
        else if (type == "LTYPE") d_.linetypeTable = head;
        else if (type == "STYLE") d_.textStyleTable = head;
        else if (type == "APPID") d_.regAppTable = head;
        // The head's entry count (70), which writers give as the number of
        // records that follow: room for them at once. Counts far off, or made
        // up, share one bound for all tables (see namesToReserve_).
        for (size_t k = i + 1; k < end; ++k)
            if (int64_t count = 0; tag(k).code == 70 && DxfValue::toInt(tag(k).value(), count) && count > 0) {
                const size_t names = std::min(static_cast<uint64_t>(count), uint64_t{namesToReserve_});
                table->reserveRecords(names);
                namesToReserve_ -= names;
                break;
            }
        i = end;
        while (has(i) && tag(i).code == 0 && tag(i).value() != "ENDTAB" && tag(i).value() != "ENDSEC"
               && tag(i).value() != "TABLE") {
            tags_->release(i);
            if (tag(i).value() != type)
                return expected(i, "a " + type + " entry of the " + type + " table or group code 0 with 'ENDTAB'");
            end = objectEnd(i);
            AcDbStub* rec = makeStub(i, end, "TABLES", r);
            if (!rec)
                return r;
            rec->owner = head;
            auto* record = static_cast<AcDbSymbolTableRecord*>(db_.objectOf(rec));
            table->adoptRecord(rec, record->name());
            if (type == "BLOCK_RECORD") {
                if (strcasecmp(record->name().c_str(), "*Model_Space") == 0)
                    d_.modelSpace = rec;
                else if (strcasecmp(record->name().c_str(), "*Paper_Space") == 0)
                    d_.paperSpace = rec;
            }
            i = end;
        }
        if (!has(i) || !sectionIs(tag(i), "ENDTAB"))
            return expected(i, "group code 0 with 'ENDTAB' to end the " + type + " table");
        ++i;
    }
    return r;
}

void DxfFileReader::scanEntity(size_t i, size_t end, uint64_t& owner, bool& paperSpace) const
{
    owner = 0;
    paperSpace = false;
    bool inGroup = false, ownerSeen = false;
    for (size_t k = i + 1; k < end; ++k) {
        const DxfTag& t = tag(k);
        if (t.code == 102)
            inGroup = !t.value().empty() && t.value()[0] == '{';
        else if (t.code == 330 && !inGroup && !ownerSeen) {
            DxfValue::toHandle(t.value(), owner);
            ownerSeen = true;
        } else if (t.code == 67) {
            int64_t v = 0;
            paperSpace = DxfValue::toInt(t.value(), v) && v == 1;
        } else if (t.code == 100 && t.value() != "AcDbEntity")
            break;
    }
}

DxfReadResult DxfFileReader::readEntities(size_t& i, AcDbStub* blockRecord, bool inBlock, size_t& blockEnd)
{
    DxfReadResult r;
    const char* section = inBlock ? "BLOCKS" : "ENTITIES";
    AcDbBlockTableRecord* record = blockRecord ? static_cast<AcDbBlockTableRecord*>(db_.objectOf(blockRecord)) : nullptr;
    AcDbStub* parent = nullptr;  // the INSERT or POLYLINE whose ATTRIB/VERTEX entities follow
    while (has(i) && tag(i).code == 0) {
        tags_->release(i);
        std::string_view type = tag(i).value();
        if (type == "ENDSEC" || type == "EOF" || (inBlock && (type == "ENDBLK" || type == "BLOCK")))
            break;
        size_t end = objectEnd(i);
        AcDbStub* s = makeStub(i, end, section, r);
        if (!s)
            return r;
        s->isEntity = true;
        s->inBlocksSection = inBlock;
        if (parent && (type == "ATTRIB" || type == "VERTEX" || type == "SEQEND")) {
            s->owner = parent;
            parent->subs->push_back(s);
            if (type == "SEQEND")
                parent = nullptr;
            i = end;
            continue;
        }
        if (parent)
            unterminated_.push_back(parent);
        parent = nullptr;
        AcDbStub* owner = blockRecord;
        if (!inBlock) {
            uint64_t ownerHandle = 0;
            bool paper = false;
            scanEntity(i, end, ownerHandle, paper);
            // An entity of this section belongs to model space or to the
            // active paper space; an owner naming any other block (a stray
            // ATTRIB after an entity that is not an INSERT, or a sheet whose
            // entities live in BLOCKS) would have it written in two places.
            AcDbStub* named = d_.byHandle.find(ownerHandle);
            if (named && (named == d_.modelSpace || named == d_.paperSpace))
                owner = named;
            else
                owner = paper && d_.paperSpace ? d_.paperSpace : d_.modelSpace;
            d_.entities.push_back(s);
        }
        s->owner = owner;
        if (owner) {
            auto* ownerRecord = inBlock ? record : static_cast<AcDbBlockTableRecord*>(db_.objectOf(owner));
            ownerRecord->entities.push_back(s);
        }
        if (type == "INSERT" || type == "POLYLINE") {
            size_t next = end;
            if (has(next) && tag(next).code == 0
                && (tag(next).value() == "ATTRIB" || tag(next).value() == "VERTEX" || tag(next).value() == "SEQEND")) {
                parent = s;
                s->subs = std::make_unique<std::vector<AcDbStub*>>();
                // A block reference's attributes and its SEQEND: a space block
                // has three, so one allocation instead of three growths.
                if (type == "INSERT")
                    s->subs->reserve(4);
            }
        }
        i = end;
    }
    if (parent)
        unterminated_.push_back(parent);
    blockEnd = i;
    return r;
}

DxfReadResult DxfFileReader::readBlocks(size_t& i)
{
    DxfReadResult r;
    auto* blockTable = d_.blockTable ? static_cast<AcDbSymbolTable*>(db_.objectOf(d_.blockTable)) : nullptr;
    // Record names are held decoded, so the BLOCK's name is decoded the same
    // way before the look-up (a file before R2007 keeps it in its code page).
    DxfCodepage cp(d_.header.acadver >= "AC1021", d_.header.codepage);
    while (has(i) && sectionIs(tag(i), "BLOCK")) {
        tags_->release(i);
        size_t end = objectEnd(i);
        std::string name;
        for (size_t k = i + 1; k < end; ++k)
            if (tag(k).code == 2) {
                name = cp.decode(tag(k).value());
                break;
            }
        AcDbObjectId recordId;
        AcDbStub* recordStub = nullptr;
        if (blockTable && blockTable->getAt(name.c_str(), recordId) == Acad::eOk)
            recordStub = recordId.stub();
        auto* record = recordStub ? static_cast<AcDbBlockTableRecord*>(db_.objectOf(recordStub)) : nullptr;
        if (record && record->blockBegin)
            record = nullptr, recordStub = nullptr;  // a second BLOCK of the same name is kept as read
        if (name.empty())
            record = nullptr, recordStub = nullptr;  // so is a BLOCK without a name
        if (!record) {
            AcDbBlockEntry orphan;
            size_t k = i;
            while (has(k) && !sectionIs(tag(k), "ENDBLK") && !sectionIs(tag(k), "ENDSEC"))
                orphan.orphanTags.push_back(tag(k++));
            if (!has(k) || !sectionIs(tag(k), "ENDBLK"))
                return expected(k, "group code 0 with 'ENDBLK' to end block '" + name + "'");
            size_t e = objectEnd(k);
            for (; k < e; ++k)
                orphan.orphanTags.push_back(tag(k));
            r = checkOrphan(i, e);
            if (!r.ok())
                return r;
            d_.blocks.push_back(std::move(orphan));
            d_.orphanBlockNames.push_back(name);
            i = e;
            continue;
        }
        AcDbStub* begin = makeStub(i, end, "BLOCKS", r);
        if (!begin)
            return r;
        begin->isEntity = true;
        begin->owner = recordStub;
        record->blockBegin = begin;
        DxfBlockTableRecordCodec::loadBlockBase(*record, begin);
        i = end;
        size_t stop = i;
        r = readEntities(i, recordStub, true, stop);
        if (!r.ok())
            return r;
        if (!has(i) || !sectionIs(tag(i), "ENDBLK"))
            return expected(i, "group code 0 with 'ENDBLK' to end block '" + name + "'");
        end = objectEnd(i);
        AcDbStub* blockEnd = makeStub(i, end, "BLOCKS", r);
        if (!blockEnd)
            return r;
        blockEnd->isEntity = true;
        blockEnd->owner = recordStub;
        record->blockEnd = blockEnd;
        d_.blocks.push_back({recordStub, {}});
        i = end;
    }
    return r;
}

DxfReadResult DxfFileReader::checkOrphan(size_t begin, size_t end)
{
    // A block without a record is written back as read, so what reading
    // checks in other blocks is checked here: its handles are its own (no
    // object read before or after, or made later, may take one) and its
    // numbers well formed.
    for (size_t i = begin; i < end;) {
        const size_t next = objectEnd(i);
        const std::string type(tag(i).value());
        for (size_t k = i + 1; k < next && k < i + 4; ++k) {
            if (tag(k).code != 5)
                continue;
            uint64_t handle = 0;
            if (!DxfValue::toHandle(tag(k).value(), handle))
                return DxfTagReader(fileName_).failure(Acad::eBadDxfSequence, lineOfTag(k) + 1,
                                                       "expected a hexadecimal handle, found '" +
                                                           std::string(tag(k).value().substr(0, 40)) + "'");
            if (handle != 0 && (d_.byHandle.contains(handle) || !orphanHandles_.insert(handle).second))
                return DxfTagReader(fileName_).failure(Acad::eHandleExists, lineOfTag(i),
                                                       "handle " + DxfValue::fromHandle(handle) + " of " + type +
                                                           " is already used by another object");
            if (handle >= d_.header.handseed)
                d_.header.handseed = handle + 1;
            break;
        }
        std::vector<DxfTag> orphan;
        tags_->list().appendTo(i, next - i, orphan);
        DxfNumberCheck::checkRaw(orphan.data(), orphan.size(), dxfCodecFor(type, "BLOCKS").kind);
        i = next;
    }
    return {};
}

DxfReadResult DxfFileReader::readObjects(size_t& i)
{
    DxfReadResult r;
    while (has(i) && tag(i).code == 0 && tag(i).value() != "ENDSEC" && tag(i).value() != "EOF") {
        tags_->release(i);
        size_t end = objectEnd(i);
        AcDbStub* s = makeStub(i, end, "OBJECTS", r);
        if (!s)
            return r;
        if (!d_.namedObjects && s->kind == static_cast<uint8_t>(AcDbObjectKind::Dictionary))
            d_.namedObjects = s;
        d_.objects.push_back(s);
        i = end;
    }
    return r;
}
