#include "host/db/AcDbLayout.h"

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"

const AcRxClass* AcDbLayout::desc()
{
    static const AcRxClass cls("AcDbLayout", "LAYOUT", AcDbPlotSettings::desc());
    return &cls;
}

AcDbObjectIdArray AcDbLayout::getViewportArray() const
{
    AcDbObjectIdArray ids;
    AcDbDatabase* db = database();
    if (!db || block_.isNull() || block_.database() != db)
        return ids;
    auto* record = dynamic_cast<AcDbBlockTableRecord*>(db->objectOf(block_.stub()));
    if (!record)
        return ids;
    for (AcDbStub* s : record->entities)
        if (!s->erased && s->kind == static_cast<uint8_t>(AcDbObjectKind::Viewport))
            ids.append(AcDbObjectId(s));
    return ids;
}
