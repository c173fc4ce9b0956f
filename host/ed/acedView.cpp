#include "host/ed/acedView.h"

#include <algorithm>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/AcApDocManager.h"

namespace {

AcDbExtents modelSpaceExtents(AcDbDatabase& database)
{
    AcDbExtents extents;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, database.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return extents;
    std::vector<AcDbObjectId> ids = space->entityIds();
    space->close();
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        AcDbExtents one;
        if (entity->getGeomExtents(one) == Acad::eOk) extents.addExt(one);
        entity->close();
    }
    return extents;
}

}  // namespace

Acad::ErrorStatus acedZoomExtents()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document || !document->database()) return Acad::eNotApplicable;
    AcDbExtents extents = modelSpaceExtents(*document->database());
    if (!extents.isValid()) {
        AcGePoint3d low = document->database()->extmin();
        AcGePoint3d high = document->database()->extmax();
        if (low.x <= high.x && low.y <= high.y) extents.set(low, high);
    }
    AcApView view;
    if (extents.isValid()) {
        // A margin of 1% of the larger side keeps the outermost lines off the edge.
        double width = extents.maxPoint().x - extents.minPoint().x;
        double height = extents.maxPoint().y - extents.minPoint().y;
        double margin = std::max(std::max(width, height) * 0.01, 1e-6);
        view.lowerLeft.set(extents.minPoint().x - margin, extents.minPoint().y - margin, 0.0);
        view.upperRight.set(extents.maxPoint().x + margin, extents.maxPoint().y + margin, 0.0);
    }
    document->setView(view);
    return Acad::eOk;
}

Acad::ErrorStatus acedZoomWindow(const AcGePoint3d& corner1, const AcGePoint3d& corner2)
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document) return Acad::eNotApplicable;
    if (corner1.x == corner2.x || corner1.y == corner2.y) return Acad::eInvalidInput;
    AcApView view;
    view.lowerLeft.set(std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y), 0.0);
    view.upperRight.set(std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y), 0.0);
    document->setView(view);
    return Acad::eOk;
}

Acad::ErrorStatus acedZoomPrevious()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document || !document->restorePreviousView()) return Acad::eNotApplicable;
    return Acad::eOk;
}

Acad::ErrorStatus acedRegen()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document) return Acad::eNotApplicable;
    document->regen();
    return Acad::eOk;
}
