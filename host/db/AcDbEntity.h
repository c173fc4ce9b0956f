#pragma once
#include <string>

#include "host/db/AcCmColor.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbObject.h"
#include "host/ge/AcGeMatrix3d.h"

class AcDbGeometrySink;

// An object that lives in a block (model space, a layout or a block
// definition) and has the common drawing properties: layer, colour,
// linetype, line weight, visibility. Entities of types the database does not
// model are of this class and report the class named in their file data.
class AcDbEntity : public AcDbObject {
public:
    AcDbEntity() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override;
    AcDbObjectKind kind() const override
    {
        AcDbObjectKind k = AcDbObject::kind();
        return k == AcDbObjectKind::Other ? AcDbObjectKind::OtherEntity : k;
    }

    // The block table record the entity lives in (null until appended).
    AcDbObjectId blockId() const { return ownerId(); }

    // The layer name; valid while the entity is open.
    const char* layer() const { return layer_.c_str(); }
    // The layer's id; null when the layer is not in the table.
    AcDbObjectId layerId() const;
    // eKeyNotFound when the database has no such layer (the name is kept anyway for entities not in a database).
    Acad::ErrorStatus setLayer(const char* name, bool doSubents = true);
    // eInvalidInput unless id names a layer record.
    Acad::ErrorStatus setLayer(AcDbObjectId layerId, bool doSubents = true);

    AcCmColor color() const { return color_; }
    Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
    // 256 by layer, 0 by block, 1..255 palette.
    uint16_t colorIndex() const;
    // eInvalidInput above 256.
    Acad::ErrorStatus setColorIndex(uint16_t index, bool doSubents = true);

    const char* linetype() const { return linetype_.c_str(); }
    Acad::ErrorStatus setLinetype(const char* name, bool doSubents = true);
    double linetypeScale() const { return linetypeScale_; }
    AcDb::LineWeight lineWeight() const { return lineWeight_; }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight, bool doSubents = true);
    AcDb::Visibility visibility() const { return invisible_ ? AcDb::kInvisible : AcDb::kVisible; }
    Acad::ErrorStatus setVisibility(AcDb::Visibility v, bool doSubents = true);
    // Takes the current layer (CLAYER) and linetype scale (CELTSCALE) of db,
    // or of the working database when db is null; eNotInDatabase when there is neither.
    Acad::ErrorStatus setDatabaseDefaults(AcDbDatabase* db = nullptr);

    // Moves, scales or rotates the entity; eNotApplicable for entity types kept as read.
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
    // The world-coordinate box of the entity; eNotApplicable for types kept as read.
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    // Tells what the entity draws to the sink (nothing when it is invisible);
    // picking, window selection and plotting all see the entity through this.
    void drawGeometry(AcDbGeometrySink& sink) const;
    // A copy that is in no database (the caller owns it); null for types kept as read.
    virtual AcDbEntity* clone() const { return nullptr; }
    // Highlighting is a view matter; accepted and ignored here. eOk.
    Acad::ErrorStatus highlight() const { return Acad::eOk; }
    Acad::ErrorStatus unhighlight() const { return Acad::eOk; }

protected:
    Acad::ErrorStatus checkWriteOpen() const override;
    // The geometry of a visible entity. By default the box of getGeomExtents
    // as a filled area; nothing for types kept as read.
    virtual void subDrawGeometry(AcDbGeometrySink& sink) const;
    // Copies the common properties into a clone.
    void copyEntityPropertiesTo(AcDbEntity& other) const;

private:
    friend class DxfObjectIO;

    std::string layer_ = "0";
    AcCmColor color_;
    std::string linetype_ = "ByLayer";
    double linetypeScale_ = 1.0;
    AcDb::LineWeight lineWeight_ = AcDb::kLnWtByLayer;
    bool invisible_ = false;
};

// What opening an entity on the named layer for write gives: eOnLockedLayer
// when the layer exists and is locked, eOk otherwise (and without a drawing).
Acad::ErrorStatus acdbCheckLayerWritable(AcDbDatabase* db, const char* layerName);
