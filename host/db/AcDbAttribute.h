#pragma once
#include <string>

#include "host/db/AcDbText.h"

class AcDbAttributeDefinition;

template <class T>
class DxfAttributeCodec;

// An attribute of a block reference: a tagged text owned by the reference.
class AcDbAttribute : public AcDbText {
public:
    AcDbAttribute() = default;
    AcDbAttribute(const AcGePoint3d& position, const char* text, const char* tag,
                  AcDbObjectId style = AcDbObjectId::kNull);

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Attribute; }

    const char* tag() const { return tag_.c_str(); }
    // eInvalidInput for an empty tag or one with blanks.
    Acad::ErrorStatus setTag(const char* tag);
    bool isInvisible() const { return (flags_ & 1) != 0; }
    Acad::ErrorStatus setInvisible(bool on);
    bool isConstant() const { return (flags_ & 2) != 0; }
    bool isVerifiable() const { return (flags_ & 4) != 0; }
    bool isPreset() const { return (flags_ & 8) != 0; }
    int fieldLength() const { return fieldLength_; }
    Acad::ErrorStatus setFieldLength(int length);
    // Takes the definition's properties, text and geometry, transformed by
    // the reference's block transform. eInvalidInput for null.
    Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* definition, const AcGeMatrix3d& blockTransform);
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfAttributeCodec<AcDbAttribute>;

    std::string tag_;
    int flags_ = 0;
    int fieldLength_ = 0;
};
