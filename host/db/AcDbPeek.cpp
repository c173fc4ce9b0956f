#include "host/db/AcDbPeek.h"

#include <strings.h>

#include <cstring>
#include <string>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbStub.h"

bool acdbPeekBlockName(AcDbObjectId id, std::string_view& name)
{
    const AcDbStub* stub = id.stub();
    if (!stub || stub->object || stub->erased || stub->tagCount == 0 || !stub->database
        || static_cast<AcDbObjectKind>(stub->kind) != AcDbObjectKind::BlockReference)
        return false;
    std::vector<DxfTag> scratch;
    const DxfTag* tag = dxfInsertBlockNameTag(stub->database->data().tagsOf(*stub, scratch), stub->tagCount);
    if (!tag)
        return false;
    // Bytes above 127 are in the file's code page and a backslash may start a
    // \U+ escape: those names are left to the object's reader.
    for (char c : tag->value())
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\')
            return false;
    // A block renamed since the file was read is known by another name now.
    AcDbDatabase* db = stub->database;
    if (db && db->data().blockTable
        && static_cast<AcDbBlockTable*>(db->objectOf(db->data().blockTable))->renamedFrom(tag->value()))
        return false;
    name = tag->value();
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
    const DxfTag* tags = stub->database->data().tagsOf(*stub, scratch);
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
