#include "host/ge/AcGePoint2d.h"

#include "host/ge/AcGeMatrix2d.h"

AcGePoint2d& AcGePoint2d::transformBy(const AcGeMatrix2d& m)
{
    *this = m * *this;
    return *this;
}
