// The picking operations of CAcadUtilities: one entity, of a required class
// or of any class. Failures carry the class "AcadUtilities" like the rest of
// the class's operations.

#include <string>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/ed/acedSelection.h"
#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"

namespace {

constexpr const char* kSource = "AcadUtilities.cpp";

}  // namespace

int CAcadUtilities::selectObjectId(AcDbObjectId& id, const std::string& prompt, const std::string& className)
{
    return zelkaOperation(kSource, "CAcadUtilities::selectObjectId", [&] {
        const std::string shown = "\n" + prompt;
        for (;;) {
            ads_name entity = {0, 0};
            ads_point picked = {0, 0, 0};
            if (acedEntSel(shown.c_str(), entity, picked) != RTNORM) {
                acutPrintf("Cancelled by User.\n");
                return 1;
            }
            AcDbObjectId pickedId;
            if (acdbGetObjectId(pickedId, entity) != Acad::eOk) continue;
            AcDbObjectPointer<AcDbEntity> object(pickedId, AcDb::kForRead);
            if (!object) continue;
            const std::string pickedClass = object->isA()->name();
            if (pickedClass == className) {
                id = pickedId;
                return 0;
            }
            acutPrintf("Invalid selection - %s.\n", pickedClass.c_str());
        }
    });
}

int CAcadUtilities::selectObjectId(const std::string& prompt, AcDbObjectId& id)
{
    return zelkaOperation(kSource, "CAcadUtilities::selectObjectId", [&] {
        ads_name entity = {0, 0};
        ads_point picked = {0, 0, 0};
        const int result = acedEntSel(prompt.c_str(), entity, picked);
        if (result == RTNORM) acdbGetObjectId(id, entity);
        return result;
    });
}

bool CAcadUtilities::selectObjectIds(const std::string& prompt, AcDbObjectIdArray& ids)
{
    return zelkaOperation(kSource, "CAcadUtilities::selectObjectIds", [&] {
        acutPrintf("\n%s\n", prompt.c_str());
        ads_name set = {0, 0};
        if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return false;
        int32_t length = 0;
        acedSSLength(set, &length);
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity = {0, 0};
            AcDbObjectId id;
            if (acedSSName(set, i, entity) == RTNORM && acdbGetObjectId(id, entity) == Acad::eOk) ids.append(id);
        }
        acedSSFree(set);
        return true;
    });
}

bool CAcadUtilities::userSelectZelkaBlock(CAcadDrawing& drawing, CBlockDWG& target)
{
    return zelkaOperation(kSource, "CAcadUtilities::userSelectZelkaBlock", [&] {
        for (;;) {
            ads_name entity = {0, 0};
            ads_point picked = {0, 0, 0};
            if (acedEntSel("\nPlease select a Zelka Space\n", entity, picked) != RTNORM) {
                acutPrintf("Cancelled by User.\n");
                return false;
            }
            AcDbObjectId pickedId;
            if (acdbGetObjectId(pickedId, entity) != Acad::eOk) continue;
            AcDbObjectPointer<AcDbEntity> object(pickedId, AcDb::kForRead);
            if (!object || std::string(object->isA()->name()) != "AcDbBlockReference") {
                acutPrintf("Invalid selection.\n");
                continue;
            }
            // Any block reference is accepted; whether it is a space block is the caller's question.
            CBlockDWG pickedBlock(static_cast<const AcDbBlockReference*>(object.object()), drawing);
            pickedBlock.copyInto(target);
            return true;
        }
    });
}
