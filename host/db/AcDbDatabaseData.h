#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/db/AcDbAttributeView.h"
#include "host/db/AcDbHandleIndex.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbStub.h"
#include "host/base/DxfCodepage.h"
#include "host/base/DxfTagList.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

// One section of the file in its order. HEADER, CLASSES, TABLES, BLOCKS,
// ENTITIES and OBJECTS are rebuilt from the database on save; any other
// section keeps its tags.
struct AcDbFileSection {
    std::string name;
    std::vector<DxfTag> tags;  // only for sections kept as read: the tags between "2 name" and ENDSEC
};

// A block definition in BLOCKS order: its block table record, or for a BLOCK
// that has no record (a damaged file) the tags as read.
class AcDbUndoRecord;

struct AcDbBlockEntry {
    AcDbStub* record = nullptr;
    std::vector<DxfTag> orphanTags;
};

// Header values the database models, with the values read so that saving
// rewrites only what changed.
struct AcDbHeaderValues {
    std::string acadver;
    std::string codepage = "ANSI_1252";
    int lunits = 2;
    int insunits = 0;
    int sortents = 127;
    int tilemode = 1;                   // 1 model space current, 0 a paper-space layout
    double ltscale = 1.0;               // the global linetype scale
    double celtscale = 1.0;             // the linetype scale new entities take
    std::string clayer = "0";
    AcGePoint3d ucsorg;
    AcGeVector3d ucsxdir{1, 0, 0};
    AcGeVector3d ucsydir{0, 1, 0};
    AcGePoint3d extmin{1e20, 1e20, 1e20};
    AcGePoint3d extmax{-1e20, -1e20, -1e20};
    uint64_t handseed = 1;
};

// Everything the database holds besides the objects' own fields: the file
// image the tags point into, the stubs, the handle index and the order of
// sections and objects for writing. Filled by the DXF reader, written by the
// DXF writer, kept apart from the class interface.
struct AcDbDatabaseData {
    std::string fileName;
    std::string buffer;                 // text handed in by readDxfText
    std::string_view text;              // the file image the tags point into: buffer or the mapped file
    void* mapped = nullptr;             // the file mapped by readDxfFile
    size_t mappedSize = 0;
    // Bytes of the mapped file read since its pages were last handed back
    // (see noteTextRead).
    mutable size_t mappedReadSinceRelease = 0;
    // Byte offsets in text, ascending, of the tags whose two lines are not
    // as a save writes them (see DxfTagReader::read); the lines of an object
    // without one are saved by copying its text.
    std::vector<size_t> unusualTags;
    // Text of tags made after reading, packed into blocks that never move
    // (see keep): one allocation per block instead of one per tag.
    std::vector<std::unique_ptr<char[]>> textBlocks;
    char* textFree = nullptr;           // the free end of the last block
    size_t textFreeSize = 0;
    std::deque<AcDbStub> stubs;
    // How many stubs were ever given the kind Table or TableStyle (erased
    // ones still count): when none were, saving need not look through every
    // stub for tables to prepare and CLASS records to add.
    size_t tableKindStubs = 0;
    void noteKind(const AcDbStub& stub)
    {
        if (stub.kind == static_cast<uint8_t>(AcDbObjectKind::Table) ||
            stub.kind == static_cast<uint8_t>(AcDbObjectKind::TableStyle))
            ++tableKindStubs;
    }
    AcDbHandleIndex byHandle;
    // Objects closed last, oldest first, each with the time its object was
    // last handed out then (see AcDbDatabase::noteClosed). Times count the
    // objects handed out, so an object built again never has an old one.
    struct ClosedObject {
        AcDbStub* stub;
        uint64_t lastUse;
    };
    std::deque<ClosedObject> closedObjects;
    uint64_t uses = 0;
    std::vector<DxfTag> releaseTags;    // scratch of AcDbDatabase::release, kept for the next
    std::string releaseText;
    // The attributes last read from their records (see AcDbAttributeView),
    // replaced in turn: a command reads a block's few attributes several
    // times between reading the block and writing it back. A view points at
    // the record it read instead of copying it; while any does (pins), the
    // record is not replaced.
    std::array<AcDbAttributeRecordRead, 8> attributeReads;
    std::array<uint32_t, 8> attributeReadPins{};
    size_t nextAttributeRead = 0;
    bool crlf = false;
    uint64_t changes = 0;               // counts changes to objects and header values, see changeCount()

    std::vector<DxfTag> leadingTags;    // before the first section (comments)
    std::vector<AcDbFileSection> sections;
    std::vector<DxfTag> headerTags;     // the HEADER variables as read
    std::vector<DxfTag> classTags;      // the CLASSES section as read
    std::vector<AcDbStub*> tables;      // TABLE heads in file order
    std::vector<AcDbBlockEntry> blocks; // BLOCKS in file order
    // Names of the BLOCKs kept as read without a record (a damaged file):
    // no record may take one, or reading the saved file would give that
    // record the orphan's contents.
    std::vector<std::string> orphanBlockNames;
    std::vector<AcDbStub*> entities;    // ENTITIES in file order
    std::vector<AcDbStub*> objects;     // OBJECTS in file order
    // What reading repaired or changed, one sentence each, for the user.
    std::vector<std::string> notices;

    AcDbHeaderValues header;            // current values
    AcDbHeaderValues headerRead;        // values as read, to see what changed

    AcDbStub* blockTable = nullptr;
    AcDbStub* layerTable = nullptr;
    AcDbStub* linetypeTable = nullptr;
    AcDbStub* textStyleTable = nullptr;
    AcDbStub* regAppTable = nullptr;
    AcDbStub* namedObjects = nullptr;
    AcDbStub* modelSpace = nullptr;
    AcDbStub* paperSpace = nullptr;

    // Undo: the record of the command running now (null when none records),
    // the records that can be undone (oldest first) and redone (the last
    // undone last), and the tags of object states the records put back.
    std::unique_ptr<AcDbUndoRecord> undo;
    std::vector<std::unique_ptr<AcDbUndoRecord>> undoRecords;
    std::vector<std::unique_ptr<AcDbUndoRecord>> redoRecords;
    std::vector<size_t> redoGroups;     // how many records each undo took back, in order
    std::deque<std::vector<DxfTag>> keptTags;

    AcDbDatabaseData() = default;
    AcDbDatabaseData(const AcDbDatabaseData&) = delete;
    AcDbDatabaseData& operator=(const AcDbDatabaseData&) = delete;
    ~AcDbDatabaseData();

    // The code page of the current $ACADVER and $DWGCODEPAGE: made on first
    // use and remade only when either value changed, so building objects
    // and reading extended data need not set one up per call.
    const DxfCodepage& codepage() const;

    // The tags of stub (see AcDbStub::textOffset): its kept tags themselves,
    // or its lines of the file split into scratch; null when it has none.
    const DxfTag* tagsOf(const AcDbStub& stub, std::vector<DxfTag>& scratch) const
    {
        if (stub.tagCount == 0)
            return nullptr;
        if (stub.tagsKept)
            return keptTags[stub.textOffset].data();
        scratch.clear();
        scratch.reserve(stub.tagCount);
        dxfSplitTags(textOf(stub), scratch);
        return scratch.data();
    }

    // The lines of stub's tags, unless it keeps them as tags.
    std::string_view textOf(const AcDbStub& stub) const
    {
        if (stub.textWritten)
            return {reinterpret_cast<const char*>(static_cast<uintptr_t>(stub.textOffset)), stub.textLength};
        noteTextRead(stub.textLength);
        return text.substr(stub.textOffset, stub.textLength);
    }

    // Whether every line of stub (its lines, not kept tags) is as
    // DxfTagWriter writes lines: lines written out for a changed object are;
    // lines of the file are unless the reader noted one of them (unusualTags).
    bool linesAsWritten(const AcDbStub& stub) const
    {
        if (stub.tagsKept)
            return false;
        if (stub.textWritten)
            return true;
        const uint64_t begin = stub.textOffset, end = begin + stub.textLength;
        if (end > text.size())
            return false;
        const auto odd = std::lower_bound(unusualTags.begin(), unusualTags.end(), begin);
        return odd == unusualTags.end() || *odd >= end;
    }

    // The lines tagsOf splits for stub, for a caller that has split them
    // already (not counted as read again); empty when it keeps its tags.
    std::string_view splitSource(const AcDbStub& stub) const
    {
        if (stub.tagCount == 0 || stub.tagsKept)
            return {};
        if (stub.textWritten)
            return {reinterpret_cast<const char*>(static_cast<uintptr_t>(stub.textOffset)), stub.textLength};
        return text.substr(stub.textOffset, stub.textLength);
    }

    // Counts bytes read from the file image. Reading the file, building
    // objects and saving call it; after every kMappedResident bytes read from
    // a mapped file, its pages are handed back to the page cache. They stay
    // mapped, and as the mapping is private and read-only the next read of
    // a page maps the file's page again, with the same bytes; so the file
    // counts in the process's memory with the part being worked on, not all
    // of it, and every view into it stays valid.
    static constexpr size_t kMappedResident = size_t{8} << 20;
    void noteTextRead(size_t bytes) const
    {
        if (mapped && (mappedReadSinceRelease += bytes) > kMappedResident)
            releaseMappedPages();
    }
    void releaseMappedPages() const;

    // Makes text, the lines written out for the stub's changed object with
    // count tags, the lines that stand for it from now on (see
    // AcDbStub::textWritten).
    void takeWrittenLines(AcDbStub& stub, std::string_view text, size_t count)
    {
        const std::string_view kept = keep(text);
        stub.textOffset = reinterpret_cast<uintptr_t>(kept.data());
        stub.textLength = static_cast<uint32_t>(kept.size());
        stub.tagCount = static_cast<uint32_t>(count);
        stub.tagsKept = false;
        stub.textWritten = true;
        stub.ownerValueAt = 0;
    }

    // Keeps text for a tag made after reading; the view stays valid as long
    // as the database.
    std::string_view keep(std::string_view text)
    {
        constexpr size_t kBlock = 64 * 1024;
        if (text.empty())
            return {"", 0};
        if (text.size() > textFreeSize) {
            // A long text gets a block of its own and leaves the current
            // block's free end as it is.
            if (text.size() > kBlock / 4) {
                textBlocks.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
                std::memcpy(textBlocks.back().get(), text.data(), text.size());
                return {textBlocks.back().get(), text.size()};
            }
            textBlocks.push_back(std::make_unique_for_overwrite<char[]>(kBlock));
            textFree = textBlocks.back().get();
            textFreeSize = kBlock;
        }
        char* at = textFree;
        std::memcpy(at, text.data(), text.size());
        textFree += text.size();
        textFreeSize -= text.size();
        return {at, text.size()};
    }

private:
    mutable std::unique_ptr<DxfCodepage> codepage_;  // for the values below
    mutable std::string codepageVersion_;
    mutable std::string codepageName_;
};

// Whether an object of the stub's kind is freed a while after its last close
// (see AcDbDatabase::noteClosed).
bool acdbFreedWhenClosed(const AcDbStub& stub);
