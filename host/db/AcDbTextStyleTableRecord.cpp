#include "host/db/AcDbTextStyleTableRecord.h"

const AcRxClass* AcDbTextStyleTableRecord::desc()
{
    static const AcRxClass cls("AcDbTextStyleTableRecord", "STYLE", AcDbSymbolTableRecord::desc());
    return &cls;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const char* name)
{
    fileName_ = name ? name : "";
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const char* name)
{
    bigFont_ = name ? name : "";
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size)
{
    if (size < 0)
        return Acad::eInvalidInput;
    textSize_ = size;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale)
{
    if (!(scale > 0))
        return Acad::eInvalidInput;
    xScale_ = scale;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double radians)
{
    oblique_ = radians;
    return assertWriteEnabled();
}
