// CBlockDWG's operations that change the drawing around a space block
// rather than its own record: highlighting the added and subtracted
// outlines, deleting the block (leaving its outline) and its definition, and
// zooming the view to it. Failures are raised under the class "BlockDWG".

#include <cmath>
#include <string>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"
#include "spaces/BlockWriteCheck.h"

namespace {

// The exception class of these operations is that of the rest of CBlockDWG.
constexpr const char* kSource = "BlockDWG.cpp";

bool isLightweightPolyline(AcDbObjectId id)
{
    const AcRxClass* cls = id.objectClass();
    return cls && std::string(cls->name()) == "AcDbPolyline";
}

// The block transform with the Z scale made equal to the X scale: in a plan
// only X and Y matter, and many DXF writers give a Z scale unlike them. The
// factor T(base) S' T(-base) on the right changes the scale and nothing else.
AcGeMatrix3d planTransform(const AcDbBlockReference& reference)
{
    const AcGeMatrix3d transform = reference.blockTransform();
    const AcGeScale3d scale = reference.scaleFactors();
    if (scale.sz == 0.0 || std::fabs(scale.sz) == std::fabs(scale.sx))
        return transform;
    AcGePoint3d base;
    if (AcDbObjectPointer<AcDbBlockTableRecord> definition(reference.blockTableRecord(), AcDb::kForRead); definition)
        base = definition->origin();
    const double zFactor = std::fabs(scale.sx) / std::fabs(scale.sz);
    return transform * AcGeMatrix3d::scaling(AcGeScale3d(1.0, 1.0, zFactor), base);
}

}  // namespace

void CBlockDWG::highlightList(std::vector<AcDbHandle>& handles, CAcadDrawing& drawing, bool highlight)
{
    AcDbDatabase* db = drawing.getDatabase();
    size_t i = 0;
    while (db && i < handles.size()) {
        AcDbObjectId id;
        if (db->getAcDbObjectId(id, false, handles[i]) == Acad::eUnknownHandle) {
            handles.erase(handles.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        AcDbObjectPointer<AcDbEntity> outline(id, AcDb::kForWrite);
        if (outline) {
            if (highlight)
                outline->highlight();
            else
                outline->unhighlight();
        }
        ++i;
    }
}

void CBlockDWG::highlightAreasAdded(CAcadDrawing& drawing, bool highlight, bool report)
{
    zelkaOperation(kSource, "CBlockDWG::highlightAreasAdded", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            return;
        if (report)
            acutPrintf("\nThere are %i area(s) added to this block\n", static_cast<int>(handlesToAdd_.size()));
        highlightList(handlesToAdd_, drawing, highlight);
        drawing.regenDrawing();
    });
}

void CBlockDWG::highlightAreasSubtracted(CAcadDrawing& drawing, bool highlight, bool report)
{
    zelkaOperation(kSource, "CBlockDWG::highlightAreasSubtracted", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            return;
        if (report)
            acutPrintf("\nThere are %i area(s) subtracted from this block\n", static_cast<int>(handlesToMinus_.size()));
        highlightList(handlesToMinus_, drawing, highlight);
        drawing.regenDrawing();
    });
}

bool CBlockDWG::deleteBlock(CAcadDrawing& drawing)
{
    return zelkaOperation(kSource, "CBlockDWG::deleteBlock", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        // Erasing the reference erases its attributes: none may be locked.
        CBlockWriteCheck::requireWritable(*this);
        AcDbObjectPointer<AcDbBlockReference> reference(blockReferenceId_, AcDb::kForWrite);
        if (!reference)
            return false;
        AcGeMatrix3d transform = planTransform(*reference);
        if (!transform.isUniScaledOrtho())
            return false;
        AcDbObjectId definitionId = reference->blockTableRecord();
        AcDbObjectId ownerId = reference->ownerId();
        std::vector<AcDbObjectId> parts;
        {
            AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
            if (!definition)
                return false;
            parts = definition->entityIds();
        }
        {
            AcDbObjectPointer<AcDbBlockTableRecord> owner(ownerId, AcDb::kForWrite);
            if (!owner)
                raiseHostStatus(owner.openStatus(), __LINE__, drawing.getFullPath());
            // Only the outlines are kept; the attribute definitions and any
            // other part of the definition go with the reference.
            for (AcDbObjectId partId : parts) {
                if (!isLightweightPolyline(partId))
                    continue;
                AcDbObjectPointer<AcDbEntity> part(partId, AcDb::kForRead);
                if (!part)
                    continue;
                AcDbEntity* copy = part->clone();
                if (!copy)
                    continue;
                copy->transformBy(transform);
                if (owner->appendAcDbEntity(copy) != Acad::eOk) {
                    delete copy;
                    continue;
                }
                copy->close();
            }
        }
        Acad::ErrorStatus es = reference->erase();
        if (es != Acad::eOk)
            raiseHostStatus(es, __LINE__, drawing.getFullPath());
        reference.close();
        deleteBlockDefinition(drawing, definitionId);
        return true;
    });
}

bool CBlockDWG::deleteBlockDefinition(CAcadDrawing& drawing, AcDbObjectId definitionId)
{
    return zelkaOperation(kSource, "CBlockDWG::deleteBlockDefinition", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        if (!db)
            return false;
        {
            AcDbObjectPointer<AcDbBlockTableRecord> modelSpace(db->modelSpaceId(), AcDb::kForRead);
            if (!modelSpace)
                return false;
            for (AcDbObjectId id : modelSpace->entityIds()) {
                const AcRxClass* cls = id.objectClass();
                if (!cls || std::string(cls->name()) != "AcDbBlockReference")
                    continue;
                AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
                if (reference && reference->blockTableRecord() == definitionId)
                    return false;
            }
        }
        AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForWrite);
        if (!definition)
            return false;
        return definition->erase() == Acad::eOk;
    });
}

void CBlockDWG::zoomToBlock(CAcadDrawing& drawing, const AcDbEntity* blockReference)
{
    zelkaOperation(kSource, "CBlockDWG::zoomToBlock", [&] {
        AcGePoint3d lower;
        AcGePoint3d upper;
        if (!CAcadUtilities::getBlockExtents(blockReference, lower, upper, zoomMargin_))
            return;
        drawing.zoomWindow(lower, upper);
    });
}
