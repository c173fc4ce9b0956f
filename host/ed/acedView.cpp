#include "host/ed/acedView.h"

#include <algorithm>

#include "host/ed/AcApDocManager.h"

Acad::ErrorStatus acedZoomExtents()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document || !document->database()) return Acad::eNotApplicable;
    AcApView view;
    view.showsExtents = true;
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
