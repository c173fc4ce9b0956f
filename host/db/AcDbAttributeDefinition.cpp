#include "host/db/AcDbAttributeDefinition.h"

#include <cstring>

const AcRxClass* AcDbAttributeDefinition::desc()
{
    static const AcRxClass cls("AcDbAttributeDefinition", "ATTDEF", AcDbText::desc());
    return &cls;
}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const char* text, const char* tag,
                                                 const char* prompt, AcDbObjectId style)
    : AcDbText(position, text, style), tag_(tag ? tag : ""), prompt_(prompt ? prompt : "")
{
}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const char* tag)
{
    if (!tag || !*tag || std::strpbrk(tag, " \t\r\n"))
        return Acad::eInvalidInput;
    tag_ = tag;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbAttributeDefinition::setFlag(int bit, bool on)
{
    flags_ = on ? (flags_ | bit) : (flags_ & ~bit);
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool on) { return setFlag(1, on); }
Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool on) { return setFlag(2, on); }

Acad::ErrorStatus AcDbAttributeDefinition::setFieldLength(int length)
{
    fieldLength_ = length;
    return assertWriteEnabled();
}

AcDbEntity* AcDbAttributeDefinition::clone() const
{
    auto* d = new AcDbAttributeDefinition();
    copyTextTo(*d);
    d->tag_ = tag_;
    d->prompt_ = prompt_;
    d->flags_ = flags_;
    d->fieldLength_ = fieldLength_;
    return d;
}
