#include "host/db/AcDbLayout.h"

const AcRxClass* AcDbLayout::desc()
{
    static const AcRxClass cls("AcDbLayout", "LAYOUT", AcDbObject::desc());
    return &cls;
}

Acad::ErrorStatus AcDbLayout::setLayoutName(const char* name)
{
    if (!name || !*name)
        return Acad::eInvalidInput;
    name_ = name;
    return assertWriteEnabled();
}

void AcDbLayout::setTabOrder(int order)
{
    tabOrder_ = order;
    assertWriteEnabled();
}
