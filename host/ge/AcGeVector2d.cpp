#include "host/ge/AcGeVector2d.h"

#include "host/ge/AcGeMatrix2d.h"

AcGeVector2d& AcGeVector2d::transformBy(const AcGeMatrix2d& m)
{
    *this = m * *this;
    return *this;
}
