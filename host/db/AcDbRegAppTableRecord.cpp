#include "host/db/AcDbRegAppTableRecord.h"

const AcRxClass* AcDbRegAppTableRecord::desc()
{
    static const AcRxClass cls("AcDbRegAppTableRecord", "APPID", AcDbSymbolTableRecord::desc());
    return &cls;
}
