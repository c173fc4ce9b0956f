#include "host/db/AcDbTextStyleTableRecord.h"

const AcRxClass* AcDbTextStyleTableRecord::desc()
{
    static const AcRxClass cls("AcDbTextStyleTableRecord", "STYLE", AcDbSymbolTableRecord::desc());
    return &cls;
}
