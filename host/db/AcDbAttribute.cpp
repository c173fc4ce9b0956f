#include "host/db/AcDbAttribute.h"

#include <cstring>

#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbGeometrySink.h"

const AcRxClass* AcDbAttribute::desc()
{
    static const AcRxClass cls("AcDbAttribute", "ATTRIB", AcDbText::desc());
    return &cls;
}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const char* text, const char* tag, AcDbObjectId style)
    : AcDbText(position, text, style), tag_(tag ? tag : "")
{
}

Acad::ErrorStatus AcDbAttribute::setTag(const char* tag)
{
    if (!tag || !*tag || std::strpbrk(tag, " \t\r\n"))
        return Acad::eInvalidInput;
    tag_ = tag;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbAttribute::setInvisible(bool on)
{
    flags_ = on ? (flags_ | 1) : (flags_ & ~1);
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbAttribute::setFieldLength(int length)
{
    fieldLength_ = length;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* def, const AcGeMatrix3d& xform)
{
    if (!def)
        return Acad::eInvalidInput;
    static_cast<const AcDbText*>(def)->copyTextTo(*this);
    tag_ = def->tag();
    flags_ = (def->isInvisible() ? 1 : 0) | (def->isVerifiable() ? 4 : 0) | (def->isPreset() ? 8 : 0);
    fieldLength_ = def->fieldLength();
    transformBy(xform);
    return assertWriteEnabled();
}

AcDbEntity* AcDbAttribute::clone() const
{
    auto* a = new AcDbAttribute();
    copyTextTo(*a);
    a->tag_ = tag_;
    a->flags_ = flags_;
    a->fieldLength_ = fieldLength_;
    return a;
}

void AcDbAttribute::subDrawGeometry(AcDbGeometrySink& sink) const
{
    if (!isInvisible())
        AcDbText::subDrawGeometry(sink);
}
