#pragma once
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/ge/AcGeScale3d.h"

class AcDbAttribute;

// A block reference (insert): places a block definition at a position with
// scale, rotation (radians) and normal, and owns its attributes.
class AcDbBlockReference : public AcDbEntity {
public:
    AcDbBlockReference() = default;
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
    ~AcDbBlockReference() override;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::BlockReference; }

    // The inserted block definition; null when its name is not in the block
    // table. The definition stays this reference's when it is renamed.
    AcDbObjectId blockTableRecord() const;
    // eInvalidInput unless id is a block table record.
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
    // The current name of the inserted block; the name as stored when the
    // definition is missing.
    const char* blockName() const;
    AcGePoint3d position() const { return position_; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGeScale3d scaleFactors() const { return scale_; }
    // eInvalidInput when a factor is 0.
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& s);
    double rotation() const { return rotation_; }
    Acad::ErrorStatus setRotation(double radians);
    AcGeVector3d normal() const { return normal_; }
    // eInvalidInput for a zero vector.
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // Block coordinates to world: position x OCS x rotation x scale x (-base point).
    AcGeMatrix3d blockTransform() const;

    // The attributes in order (erased ones skipped); the caller deletes the iterator.
    AcDbObjectIterator* attributeIterator() const;
    // Adds an attribute (not yet in a database) after the others; the
    // reference must be in a database and open for write. The attribute is
    // then open for write and the caller closes it.
    Acad::ErrorStatus appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute);
    Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute)
    {
        AcDbObjectId id;
        return appendAttribute(id, attribute);
    }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // The box of the block definition's entities under the block transform,
    // with the attributes. A definition that contains itself, directly or
    // through others, is not entered again.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;
    Acad::ErrorStatus erase(bool erasing = true) override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfBlockReferenceCodec;
    // The attributes and SEQEND that follow the reference; null when none.
    std::vector<AcDbStub*>* stub_ref() const;
    // The extents of a reference inside the definitions of path.
    Acad::ErrorStatus nestedExtents(AcDbExtents& extents, std::vector<const AcDbStub*>& path) const;

    std::string blockName_;                 // as read or set; the definition may have been renamed since
    mutable AcDbStub* block_ = nullptr;     // the definition once resolved
    AcGePoint3d position_;
    AcGeScale3d scale_;
    double rotation_ = 0.0;
    AcGeVector3d normal_{0, 0, 1};
};
