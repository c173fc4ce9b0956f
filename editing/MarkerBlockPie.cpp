#include "editing/MarkerBlockPie.h"

#include <string>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

// The first circle of a block definition, or the null id.
AcDbObjectId firstCircleOf(AcDbObjectId definitionId)
{
    AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
    if (!definition) return AcDbObjectId::kNull;
    for (AcDbObjectId id : definition->entityIds()) {
        const AcRxClass* cls = id.objectClass();
        if (cls && std::string(cls->name()) == "AcDbCircle") return id;
    }
    return AcDbObjectId::kNull;
}

}  // namespace

CMarkerBlockPie::CMarkerBlockPie(const AcDbBlockReference* reference, CAcadDrawing& drawing)
    : CMarkerBlock(reference, drawing)
{
    zelkaOperation(__FILE__, "CMarkerBlockPie::CMarkerBlockPie", [&] {
        setRotation(rotationInUcs(reference, drawing));
        AcDbObjectPointer<AcDbCircle> circle(firstCircleOf(reference->blockTableRecord()), AcDb::kForRead);
        if (circle) {
            AcGePoint3d centre = circle->center();
            setInsertionPoint(centre.transformBy(reference->blockTransform()));
        }
        CUtilities utilities;
        for (const auto& [tag, text] : attributeTexts(reference)) {
            if (tag == "PIETEXTSIZE")
                setTextSize(utilities.CStringToDouble(text));
            else if (tag == "PIEPRECISION")
                setMarkerPrecision(utilities.CStringToInt(text));
            else if (tag == "PIERADIUS")
                setRadius(utilities.CStringToDouble(text));
        }
    });
}
