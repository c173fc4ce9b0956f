#include "host/db/AcDbPeek.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "host/base/DxfTagList.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbStub.h"

namespace {

// Whether the block name is read where reading noted it in the file's lines
// (AcDbStub::insertNameAt), not from tags split again.
bool nameNotedInLines(const AcDbStub& stub, size_t textSize)
{
    return !stub.tagsKept && !stub.textWritten && stub.insertNameAt != 0 && stub.insertNameAt < textSize;
}

// The tag naming the block in a block reference's record. A record still in
// the file's lines is split only as far as that tag: a space block's record
// carries its data as extended data after it, several times as many lines.
bool insertBlockNameTag(const AcDbStub& stub, DxfTag& name)
{
    const AcDbDatabaseData& d = stub.database->data();
    // Kept between calls: a selection peeks at every block reference of a
    // drawing, and the list's memory is then allocated once, not each time.
    thread_local std::vector<DxfTag> tags;
    tags.clear();
    if (stub.tagsKept) {
        const DxfTag* tag = dxfInsertBlockNameTag(d.tagsOf(stub, tags), stub.tagCount);
        if (tag)
            name = *tag;
        return tag != nullptr;
    }
    const std::string_view text = d.textOf(stub);
    // Where reading found the name in the file's lines: its value is the
    // rest of that line, as splitting the lines would give it.
    if (nameNotedInLines(stub, text.size())) {
        const size_t from = stub.insertNameAt;
        size_t end = std::min(text.find('\n', from), text.size());
        if (end > from && text[end - 1] == '\r')
            --end;
        name = DxfTag(2, text.substr(from, end - from));
        return true;
    }
    constexpr size_t kSome = 8;  // the name is about the seventh tag
    tags.reserve(kSome);
    DxfInsertBlockNameScan scan;
    bool typeSeen = false;
    for (size_t from = 0; from < text.size();) {
        tags.clear();
        from += dxfSplitSomeTags(text.substr(from), tags, kSome);
        if (tags.empty())
            break;
        for (const DxfTag& tag : tags) {
            if (!typeSeen) {
                typeSeen = true;
                continue;
            }
            const DxfInsertBlockNameScan::Seen seen = scan.see(tag);
            if (seen == DxfInsertBlockNameScan::kName) {
                name = tag;
                return true;
            }
            if (seen == DxfInsertBlockNameScan::kNoName)
                return false;
        }
    }
    return false;
}

}  // namespace

bool acdbPeekBlockName(AcDbObjectId id, std::string_view& name)
{
    const AcDbStub* stub = id.stub();
    if (!stub || stub->object || stub->erased || stub->tagCount == 0 || !stub->database
        || static_cast<AcDbObjectKind>(stub->kind) != AcDbObjectKind::BlockReference)
        return false;
    DxfTag found;
    if (!insertBlockNameTag(*stub, found))
        return false;
    // Bytes above 127 are in the file's code page and a backslash may start a
    // \U+ escape: those names are left to the object's reader.
    for (char c : found.value())
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\')
            return false;
    // A block renamed since the file was read is known by another name now.
    AcDbDatabase* db = stub->database;
    if (db && db->data().blockTable
        && static_cast<AcDbBlockTable*>(db->objectOf(db->data().blockTable))->renamedFrom(found.value()))
        return false;
    name = found.value();
    return true;
}

bool acdbPeekHasXData(AcDbObjectId id, const char* appName, bool& has)
{
    const AcDbStub* stub = id.stub();
    if (!stub || !stub->database)
        return false;
    if (!appName) {
        has = false;
        return true;
    }
    if (stub->object) {
        has = stub->object->hasXData(appName);
        return true;
    }
    // Extended data follows the subclass data: every 1001 from the first 101
    // or 1001 on heads one application, as the object's reader takes them.
    has = false;
    bool data = false;
    std::vector<DxfTag> scratch;
    const AcDbDatabaseData& d = stub->database->data();
    const DxfTag* tags = nullptr;
    if (stub->tagsKept) {
        tags = d.tagsOf(*stub, scratch);
    } else if (!stub->textWritten && !stub->xdataRead) {
        // Still the file's lines, in which the reader found no 1001 group.
        return true;
    } else {
        // However a file writes group code 1001 (padded, signed, with
        // leading zeros), its line holds the digits 1001: lines without
        // them anywhere have no extended data, and need not be split.
        const std::string_view text = d.textOf(*stub);
        if (text.find("1001") == std::string_view::npos)
            return true;
        scratch.reserve(stub->tagCount);
        dxfSplitTags(text, scratch);
        tags = scratch.data();
    }
    for (uint32_t i = 1; i < stub->tagCount && !has; ++i) {
        const DxfTag& tag = tags[i];
        data = data || tag.code == 101 || tag.code == 1001;
        if (!data || tag.code != 1001)
            continue;
        std::string_view raw = tag.value();
        bool plain = true;
        for (char c : raw)
            plain = plain && static_cast<unsigned char>(c) < 0x80 && c != '\\';
        if (plain)
            has = raw.size() == std::strlen(appName) && strncasecmp(raw.data(), appName, raw.size()) == 0;
        else
            has = strcasecmp(stub->database->data().codepage().decode(raw).c_str(), appName) == 0;
    }
    return true;
}

void acdbPrefetchStub(AcDbObjectId id)
{
    if (const AcDbStub* stub = id.stub())
        __builtin_prefetch(stub);
}

void acdbPrefetchBlockNameLine(AcDbObjectId id)
{
    const AcDbStub* stub = id.stub();
    // Only where acdbPeekBlockName reads the name straight from the file's
    // lines (see insertBlockNameTag).
    if (!stub || !stub->database || stub->object || !nameNotedInLines(*stub, stub->textLength))
        return;
    const std::string_view text = stub->database->data().text;
    if (stub->textOffset + stub->insertNameAt < text.size())
        __builtin_prefetch(text.data() + stub->textOffset + stub->insertNameAt);
}
