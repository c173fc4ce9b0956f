#include "host/db/AcDbLinetypeTableRecord.h"

const AcRxClass* AcDbLinetypeTableRecord::desc()
{
    static const AcRxClass cls("AcDbLinetypeTableRecord", "LTYPE", AcDbSymbolTableRecord::desc());
    return &cls;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const char* text)
{
    comments_ = text ? text : "";
    return assertWriteEnabled();
}

void AcDbLinetypeTableRecord::setNumDashes(int count)
{
    dashes_.resize(count < 0 ? 0 : static_cast<size_t>(count), 0.0);
    assertWriteEnabled();
}

double AcDbLinetypeTableRecord::dashLengthAt(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < dashes_.size() ? dashes_[static_cast<size_t>(index)] : 0.0;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setDashLengthAt(int index, double length)
{
    if (index < 0 || static_cast<size_t>(index) >= dashes_.size())
        return Acad::eInvalidIndex;
    dashes_[static_cast<size_t>(index)] = length;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setPatternLength(double length)
{
    patternLength_ = length;
    return assertWriteEnabled();
}
