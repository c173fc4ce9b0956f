#pragma once
#include <string>

#include "host/db/AcDbText.h"

template <class T>
class DxfAttributeCodec;

// An attribute definition inside a block definition: the tag, prompt and
// default text from which references get their attributes.
class AcDbAttributeDefinition : public AcDbText {
public:
    AcDbAttributeDefinition() = default;
    AcDbAttributeDefinition(const AcGePoint3d& position, const char* text, const char* tag, const char* prompt,
                            AcDbObjectId style = AcDbObjectId::kNull);

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::AttributeDefinition; }

    const char* tag() const { return tag_.c_str(); }
    // eInvalidInput for an empty tag or one with blanks.
    Acad::ErrorStatus setTag(const char* tag);
    const char* prompt() const { return prompt_.c_str(); }
    bool isInvisible() const { return (flags_ & 1) != 0; }
    Acad::ErrorStatus setInvisible(bool on);
    bool isConstant() const { return (flags_ & 2) != 0; }
    Acad::ErrorStatus setConstant(bool on);
    bool isVerifiable() const { return (flags_ & 4) != 0; }
    bool isPreset() const { return (flags_ & 8) != 0; }
    int fieldLength() const { return fieldLength_; }
    Acad::ErrorStatus setFieldLength(int length);
    AcDbEntity* clone() const override;

private:
    friend class DxfAttributeCodec<AcDbAttributeDefinition>;
    Acad::ErrorStatus setFlag(int bit, bool on);

    std::string tag_;
    std::string prompt_;
    int flags_ = 0;
    int fieldLength_ = 0;
};
