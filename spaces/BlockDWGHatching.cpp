// The hatch and hyperlinks of a space block: hatching the block's outline
// (with its added and subtracted areas) for a graphic report, and giving its
// hyperlinks to the reference, the entities of its definition and the hatch.
// Failures carry the class "BlockDWG" like the rest of the class's operations.

#include <memory>
#include <string>
#include <vector>

#include "database/Hyperlinks.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbPolyline.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"

namespace {

constexpr const char* kSource = "BlockDWG.cpp";

// Whether every link of the entity is still on the list (by href).
bool dropsNoLink(const CHyperlinks& list, const AcDbEntity* entity)
{
    CHyperlinks held;
    held.getEntityHyperlinks(entity);
    for (int i = 0; i < held.getCount(); ++i) {
        bool listed = false;
        for (int j = 0; j < list.getCount() && !listed; ++j)
            listed = list.getAt(j).getHref() == held.getAt(i).getHref();
        if (!listed)
            return false;
    }
    return true;
}

}  // namespace

AcDbObjectId CBlockDWG::hatchBlock(CAcadDrawing& drawing, AcDbBlockReference* reference, CZelkaExceptions& errors)
{
    return zelkaOperation(kSource, "CBlockDWG::hatchBlock", [&] {
        if (!reference)
            return AcDbObjectId::kNull;
        AcDbObjectId boundaryId = CAcadUtilities::getBlockOutlineId(reference->blockTableRecord());
        AcDbDatabase* db = drawing.getDatabase();
        if (!db)
            raiseHostStatus(Acad::eNotInDatabase, __LINE__, drawing.getFullPath());
        AcDbObjectIdArray addIds = convertHandlesToObjectIds(getHandlesToAdd(), db);
        AcDbObjectIdArray subtractIds = convertHandlesToObjectIds(getHandlesToMinus(), db);
        return hatchObject(drawing, reference, boundaryId, subtractIds, addIds, errors);
    });
}

AcDbObjectId CBlockDWG::hatchObject(CAcadDrawing& drawing, const AcDbBlockReference* reference,
                                    AcDbObjectId boundaryId, const AcDbObjectIdArray& subtractIds,
                                    const AcDbObjectIdArray& addIds, CZelkaExceptions& errors)
{
    return zelkaOperation(kSource, "CBlockDWG::hatchObject", [&] {
        const CHatch* style = getHatch();
        if (!style || !reference)
            return AcDbObjectId::kNull;
        const std::string path = drawing.getFullPath();
        auto hostError = [&](Acad::ErrorStatus status, int line) {
            errors.add(CEXUnhandled(ZELKA_MODULE_TITLE, kSource, "CBlockDWG::hatchObject", status, line, path, nullptr));
        };
        auto problem = [&](const std::string& message) {
            errors.add(CEXCustom(ZELKA_MODULE_TITLE, kSource, "CBlockDWG::hatchObject", message, 0, nullptr));
        };

        const AcGeVector3d normal = (currentUcsMatrix(drawing) * AcGeVector3d(0, 0, 1)).normal();
        Acad::ErrorStatus patternStatus = Acad::eOk;
        std::unique_ptr<AcDbHatch> hatch = style->makeHatchEntity(normal, true, patternStatus);
        if (patternStatus != Acad::eOk) {
            hostError(patternStatus, __LINE__);
            return AcDbObjectId::kNull;
        }
        // The layer made is the name cleaned of forbidden characters; the
        // hatch goes on that layer, never on a name the table does not hold.
        CLayers::ensureLayerExists(drawing, style->getLayer(), style->getColour());
        hatch->setLayer(CLayer::validateLayerName(style->getLayer()).c_str());

        // The outline lives in the block definition; a copy placed by the
        // block transform is where the block is drawn. The definition itself
        // is never moved, so its vertices cannot drift by a transform and
        // its inverse.
        Acad::ErrorStatus es = Acad::eNullObjectId;
        {
            AcDbObjectPointer<AcDbPolyline> boundary(boundaryId, AcDb::kForRead);
            if (boundary) {
                std::unique_ptr<AcDbEntity> placed(boundary->clone());
                auto* polyline = dynamic_cast<AcDbPolyline*>(placed.get());
                es = polyline ? polyline->transformBy(reference->blockTransform()) : Acad::eNotApplicable;
                if (es == Acad::eOk)
                    es = CHatch::appendPolylineLoop(*hatch, AcDbHatch::kOutermost, *polyline);
            }
        }
        if (es != Acad::eOk) {
            problem("Unable to hatch Zelka Block: " + getBlockName() + ". Handle: " + getHandle() +
                    ". Please check the polyline is closed.");
            return AcDbObjectId::kNull;
        }
        for (const AcDbObjectId& id : addIds)
            if (hatch->appendLoop(AcDbHatch::kExternal, AcDbObjectIdArray{id}) != Acad::eOk)
                problem("Unable to apply additional hatch areas to Zelka Block: " + getBlockName());
        for (const AcDbObjectId& id : subtractIds)
            if (hatch->appendLoop(AcDbHatch::kDefault, AcDbObjectIdArray{id}) != Acad::eOk)
                problem("Unable to apply no hatch areas to Zelka Block: " + getBlockName());

        // A hatch too dense or too sparse to show is still kept.
        es = hatch->evaluateHatch();
        std::string density = style->densityMessage("zelka block " + getBlockName(), es);
        if (!density.empty())
            problem(density);
        else if (es != Acad::eOk)
            hostError(es, __LINE__);

        AcDbHatch* posted = hatch.release();
        try {
            drawing.postToDrawing(posted);
        } catch (const CEXZelka& e) {
            errors.add(e);
            return AcDbObjectId::kNull;
        }
        AcDbObjectId hatchId = posted->objectId();
        CAcadUtilities::sendToBack(hatchId);
        return hatchId;
    });
}

void CBlockDWG::hyperlinkBlock(CAcadDrawing& drawing, AcDbBlockReference* reference)
{
    zelkaOperation(kSource, "CBlockDWG::hyperlinkBlock", [&] {
        if (!reference)
            return;
        AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
        if (!definition)
            raiseHostStatus(definition.openStatus(), __LINE__, drawing.getFullPath());
        std::vector<AcDbObjectId> parts = definition->entityIds();
        definition.close();
        // The definition's parts keep their own links (whole, with their
        // sub-locations); they only lose those taken off the list, which
        // would otherwise come back on the next read. The parts go first, so
        // a part that cannot be written leaves the reference as it was.
        CHyperlinks none;
        const CHyperlinks& links = getHyperlinks() ? *getHyperlinks() : none;
        for (AcDbObjectId partId : parts) {
            bool hasLinks = true;
            if (acdbPeekHasXData(partId, "PE_URL", hasLinks) && !hasLinks)
                continue;
            {
                AcDbObjectPointer<AcDbEntity> part(partId, AcDb::kForRead);
                if (!part || dropsNoLink(links, part.object()))
                    continue;
            }
            AcDbObjectPointer<AcDbEntity> part(partId, AcDb::kForWrite);
            if (!part)
                raiseHostStatus(part.openStatus(), __LINE__, drawing.getFullPath());
            Acad::ErrorStatus es = links.keepOnlyListedHyperlinks(part.object());
            if (es != Acad::eOk)
                raiseHostStatus(es, __LINE__, drawing.getFullPath());
        }
        hyperlinkEntity(reference);
    });
}

void CBlockDWG::hyperlinkEntity(AcDbEntity* entity)
{
    zelkaOperation(kSource, "CBlockDWG::hyperlinkEntity", [&] {
        CHyperlinks none;
        const CHyperlinks& links = getHyperlinks() ? *getHyperlinks() : none;
        Acad::ErrorStatus es = links.setEntityHyperlinks(entity);
        if (es != Acad::eOk)
            raiseHostStatus(es, __LINE__);
    });
}

void CBlockDWG::hyperlinkHatch(CAcadDrawing& drawing, AcDbObjectId hatchId)
{
    zelkaOperation(kSource, "CBlockDWG::hyperlinkHatch", [&] {
        if (hatchId.isNull())
            return;
        AcDbObjectPointer<AcDbHatch> hatch(hatchId, AcDb::kForWrite);
        if (!hatch)
            raiseHostStatus(hatch.openStatus(), __LINE__, drawing.getFullPath());
        hyperlinkEntity(hatch.object());
    });
}
