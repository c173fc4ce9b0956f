#include "editing/MarkerBlockLegend.h"

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/AcadUtilities.h"

CMarkerBlockLegend::CMarkerBlockLegend(const AcDbBlockReference* reference, CAcadDrawing& drawing)
    : CMarkerBlock(reference, drawing)
{
    zelkaOperation(__FILE__, "CMarkerBlockLegend::CMarkerBlockLegend", [&] {
        setRotation(rotationInUcs(reference, drawing));
        AcDbObjectPointer<AcDbPolyline> outline(CAcadUtilities::getBlockOutlineId(reference->blockTableRecord()),
                                                AcDb::kForRead);
        AcGePoint3d first;
        if (outline && outline->numVerts() > 0 && outline->getPointAt(0, first) == Acad::eOk)
            setInsertionPoint(first.transformBy(reference->blockTransform()));
        CUtilities utilities;
        for (const auto& [tag, text] : attributeTexts(reference)) {
            if (tag == "LEGENDTEXTSIZE")
                setTextSize(utilities.CStringToDouble(text));
            else if (tag == "LEGENDPRECISION")
                setMarkerPrecision(utilities.CStringToInt(text));
            else if (tag == "LEGENDUNITS")
                setMarkerUnits(utilities.CStringToInt(text));
        }
    });
}
