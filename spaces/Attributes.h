#pragma once
// The attributes a space block (or an asset) owns, in insertion order, and
// the text layout the three space block attributes share: reading them from a
// block reference and writing texts and layout back. The layout places the
// name one and a half text heights above the area text and the auxiliary
// value as far below it, across the text direction.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"
#include "spaces/Attribute.h"
#include "spaces/ZelkaAttribute.h"

class AcDbBlockReference;
class AcDbEntity;
struct AcDbAttributeFields;

class CAttributes {
public:
    CAttributes() = default;
    CAttributes(const CAttributes&) = delete;
    CAttributes& operator=(const CAttributes&) = delete;
    virtual ~CAttributes() { deleteObjects(); }

    // Appends the attribute unless allowDuplicate is false and an item with
    // the same key is held (the attribute is then dropped). Returns true when added.
    bool add(std::unique_ptr<CAttribute> attribute, bool allowDuplicate);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The item at index; throws a CEXUnhandled chain for an index out of range.
    const CAttribute& getAt(int index) const;
    // The first CZelkaAttribute with that position, or null.
    CZelkaAttribute* getAtAttribute(int32_t position) const;
    // The first item whose key equals the tag exactly, or null.
    CAttribute* getAtAttribute(const std::string& tag) const;
    // Frees every item and empties the collection.
    void deleteObjects() { items_.clear(); }

    // Copies the text layout, then adds a clone of every item to other.
    void copyAttributesTo(CAttributes& other) const;
    // The same for a space block's name-area-aux set.
    void copyZelkaAttributesTo(CAttributes& other) const;

    // Empties the collection and reads the NAME, AREA and AUX attributes of
    // the reference (tags compared upper-cased; the first of a tag wins;
    // others ignored). The text layout comes from the first attribute that
    // opens, its rotation measured in the UCS that ucsMatrix maps to world.
    // Each attribute is opened for read, so one on a locked layer is read
    // too; one that cannot be opened at all is skipped.
    void extractSpaceBlockAttributeValues(const AcDbBlockReference* reference, const AcGeMatrix3d& ucsMatrix);
    // Empties the collection and adds one plain attribute per attribute of
    // the reference (tag, text, layer), duplicates included.
    void extractAttributeValues(const AcDbBlockReference* reference);
    // Writes the layout and the texts to the reference's NAME, AREA and AUX
    // attributes (tags compared exactly), anchored at areaPoint or, when null,
    // at the reference's AREA attribute. Does nothing for an entity that is
    // not a block reference; attributes that cannot be opened are skipped.
    void applyToDWG(AcDbEntity* entity, const AcGeMatrix3d& ucsMatrix, const AcGePoint3d* areaPoint = nullptr);
    // The same through the reference's id (opened for write, as are its
    // attributes). Does nothing when it cannot be opened.
    void applyToDWG(AcDbObjectId referenceId, const AcGeMatrix3d& ucsMatrix, const AcGePoint3d* areaPoint = nullptr);
    // Sets the text (and, where the item has one, the layer) of every
    // attribute whose tag matches an item's key; positions are left alone.
    void applyToDWG(AcDbEntity* entity);
    // Records and hides every visible attribute of the reference.
    void setAttributesIDsInvisible(const AcDbBlockReference* reference);
    // Shows again every attribute recorded by setAttributesIDsInvisible.
    void setAttributesIDsVisible();

    double getTextHeight() const { return textHeight_; }
    void setTextHeight(double height) { textHeight_ = height; }
    double getWidthFactor() const { return widthFactor_; }
    void setWidthFactor(double factor) { widthFactor_ = factor; }
    double getRotation() const { return rotation_; }
    void setRotation(double degrees) { rotation_ = degrees; }
    // Insertion point of the AREA attribute as last read (world coordinates).
    const AcGePoint3d& getAreaPosition() const { return areaPosition_; }
    void setAreaPosition(const AcGePoint3d& point) { areaPosition_ = point; }

private:
    // Whether applyToDWG's layout leaves the attribute with these fields as
    // it is: every value it sets is the one held (or one refused).
    bool layoutKeeps(const AcDbAttributeFields& attribute, const AcGePoint3d& anchor, bool anchored,
                     double worldRotation) const;

    std::vector<std::unique_ptr<CAttribute>> items_;
    double textHeight_ = 250.0;
    double widthFactor_ = 1.0;
    double rotation_ = 0.0;
    AcGePoint3d areaPosition_;
};
