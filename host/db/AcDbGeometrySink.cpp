#include "host/db/AcDbGeometrySink.h"

bool AcDbGeometrySink::pushTransform(const AcGeMatrix3d& blockTransform)
{
    if (stack_.size() > kMaxDepth)
        return false;
    stack_.push_back(stack_.back() * blockTransform);
    return true;
}

void AcDbGeometrySink::popTransform()
{
    if (stack_.size() > 1)
        stack_.pop_back();
}

void AcDbGeometrySink::hatch(const AcDbSinkHatch& fill)
{
    for (const AcDbSinkHatch::Loop& loop : fill.loops)
        polyline(loop.points, loop.bulges, fill.normal, true);
}
