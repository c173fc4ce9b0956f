#include "host/db/AcDb2dVertex.h"

const AcRxClass* AcDb2dVertex::desc()
{
    static const AcRxClass cls("AcDb2dVertex", "VERTEX", AcDbEntity::desc());
    return &cls;
}
