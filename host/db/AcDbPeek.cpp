#include "host/db/AcDbPeek.h"

#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbStub.h"

bool acdbPeekBlockName(AcDbObjectId id, std::string_view& name)
{
    const AcDbStub* stub = id.stub();
    if (!stub || stub->object || stub->erased || !stub->tags
        || static_cast<AcDbObjectKind>(stub->kind) != AcDbObjectKind::BlockReference)
        return false;
    bool inReference = false;
    for (uint32_t i = 1; i < stub->tagCount; ++i) {
        const DxfTag& tag = stub->tags[i];
        if (tag.code == 101 || tag.code == 1001)
            break;
        if (tag.code == 100) {
            inReference = tag.value() == "AcDbBlockReference" || tag.value() == "AcDbMInsertBlock";
            continue;
        }
        if (!inReference || tag.code != 2)
            continue;
        // Bytes above 127 are in the file's code page and a backslash may
        // start a \U+ escape: those names are left to the object's reader.
        for (char c : tag.value())
            if (static_cast<unsigned char>(c) >= 0x80 || c == '\\')
                return false;
        name = tag.value();
        return true;
    }
    return false;
}
