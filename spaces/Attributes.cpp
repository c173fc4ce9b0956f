#include "spaces/Attributes.h"

#include <cmath>
#include <cstring>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeView.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/AsciiText.h"
#include "infra/ZelkaExceptions.h"

bool CAttributes::add(std::unique_ptr<CAttribute> attribute, bool allowDuplicate)
{
    return zelkaOperation(__FILE__, "CAttributes::add", [&] {
        if (!attribute) return false;
        if (!allowDuplicate && getAtAttribute(attribute->getKey())) return false;
        items_.push_back(std::move(attribute));
        return true;
    });
}

const CAttribute& CAttributes::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CAttributes::getAt",
                          [&]() -> const CAttribute& { return *items_.at(static_cast<size_t>(index)); });
}

CZelkaAttribute* CAttributes::getAtAttribute(int32_t position) const
{
    for (const auto& item : items_) {
        CZelkaAttribute* zelka = item->asZelkaAttribute();
        if (zelka && zelka->getPosition() == position) return zelka;
    }
    return nullptr;
}

CAttribute* CAttributes::getAtAttribute(const std::string& tag) const
{
    for (const auto& item : items_)
        if (item->getKey() == tag) return item.get();
    return nullptr;
}

void CAttributes::copyAttributesTo(CAttributes& other) const
{
    zelkaOperation(__FILE__, "CAttributes::copyAttributesTo", [&] {
        other.textHeight_ = textHeight_;
        other.rotation_ = rotation_;
        other.widthFactor_ = widthFactor_;
        for (const auto& item : items_) other.add(item->clone(), true);
    });
}

void CAttributes::copyZelkaAttributesTo(CAttributes& other) const
{
    zelkaOperation(__FILE__, "CAttributes::copyZelkaAttributesTo", [&] {
        other.textHeight_ = textHeight_;
        other.rotation_ = rotation_;
        other.widthFactor_ = widthFactor_;
        for (const auto& item : items_) other.add(item->clone(), true);
    });
}

namespace {

constexpr double kPi = 3.141592653589793;

// The text direction of a rotation given in one coordinate system, as an
// angle in another: the direction vector (cos, sin, 0) is carried by the
// matrix and its angle in the XY plane read back, in [0, 2 pi). For text
// lying in the drawing plane this is what transforming the text into the
// system, reading (or setting) its rotation and transforming it back gives,
// without moving the text there and back.
double carriedAngle(double angle, const AcGeMatrix3d& matrix)
{
    AcGeVector3d direction = matrix * AcGeVector3d(std::cos(angle), std::sin(angle), 0.0);
    double result = std::atan2(direction.y, direction.x);
    if (result < 0) result += 2 * kPi;
    return result;
}

// Whether the tag, upper-cased, is the (upper-case ASCII) word. Only ASCII
// letters are upper-cased, as toupper does in the C locale the module runs in.
bool tagIs(const char* tag, const char* word)
{
    size_t i = 0;
    for (; word[i]; ++i)
        if (asciiUpper(tag[i]) != word[i]) return false;
    return tag[i] == '\0';
}

// Where a text stands: its insertion point when left/baseline justified,
// otherwise its alignment point (which CAD programs place the text by).
AcGePoint3d placementPoint(const AcDbAttribute& attribute)
{
    return attribute.isDefaultAlignment() ? attribute.position() : attribute.alignmentPoint();
}

AcGePoint3d placementPoint(const AcDbAttributeFields& attribute)
{
    return attribute.defaultAlignment ? attribute.position : attribute.alignment;
}

// Which of a space block's attributes the tag names (0 NAME, 1 AREA, 2 AUX,
// -1 none) and where the layout places it: the area text at the anchor, the
// name a line and a half above it and the auxiliary value as far below, at
// the text's rotation r.
int32_t layoutPlace(const char* tag, const AcGePoint3d& anchor, double textHeight, double r, AcGePoint3d& at)
{
    const double dx = 1.5 * textHeight * std::sin(r);
    const double dy = 1.5 * textHeight * std::cos(r);
    at = anchor;
    if (std::strcmp(tag, "NAME") == 0) {
        at = AcGePoint3d(anchor.x - dx, anchor.y + dy, anchor.z);
        return 0;
    }
    if (std::strcmp(tag, "AREA") == 0)
        return 1;
    if (std::strcmp(tag, "AUX") == 0) {
        at = AcGePoint3d(anchor.x + dx, anchor.y - dy, anchor.z);
        return 2;
    }
    return -1;
}

// Whether a setter given value leaves the field holding held as it is: the
// same number, or one the setter refuses (a size that is not positive).
bool setKeeps(double value, double held, bool positiveOnly)
{
    return value == held || (positiveOnly && !(value > 0.0));
}

}  // namespace

void CAttributes::extractSpaceBlockAttributeValues(const AcDbBlockReference* reference, const AcGeMatrix3d& ucsMatrix)
{
    zelkaOperation(__FILE__, "CAttributes::extractSpaceBlockAttributeValues", [&] {
        deleteObjects();
        if (!reference) return;
        items_.reserve(3);  // the NAME, AREA and AUX attributes: one allocation, not three
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        bool layoutRead = false;
        AcGeMatrix3d worldToUcs = ucsMatrix.inverse();
        for (it->start(); !it->done(); it->step()) {
            // Only read (from its record where it allows, without building
            // the attribute): one that cannot be written (on a locked layer)
            // is still read, so its text is never replaced by a default;
            // whether the block can be written is asked apart.
            AcDbAttributeView view;
            if (view.read(it->objectId()) != Acad::eOk) continue;
            const AcDbAttributeFields& attribute = view.fields();
            if (!layoutRead) {
                textHeight_ = attribute.height;
                widthFactor_ = attribute.widthFactor;
                rotation_ = carriedAngle(attribute.rotation, worldToUcs) * 180.0 / kPi;
                layoutRead = true;
            }
            const char* tag = attribute.tag.c_str();
            int32_t position = tagIs(tag, "NAME") ? 0 : tagIs(tag, "AREA") ? 1 : tagIs(tag, "AUX") ? 2 : -1;
            if (position < 0) continue;
            auto item = std::make_unique<CZelkaAttribute>(position, attribute.text);
            item->setLayer(attribute.layer);
            // The area point follows the first AREA attribute, the one kept.
            if (position == 1 && !getAtAttribute(std::string("AREA"))) areaPosition_ = attribute.position;
            add(std::move(item), false);
        }
    });
}

void CAttributes::extractAttributeValues(const AcDbBlockReference* reference)
{
    zelkaOperation(__FILE__, "CAttributes::extractAttributeValues", [&] {
        deleteObjects();
        if (!reference) return;
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        for (it->start(); !it->done(); it->step()) {
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
            if (!attribute) continue;
            auto item = std::make_unique<CAttribute>(attribute->tag(), attribute->textString());
            item->setLayer(attribute->layer());
            add(std::move(item), true);
        }
    });
}

void CAttributes::applyToDWG(AcDbEntity* entity, const AcGeMatrix3d& ucsMatrix, const AcGePoint3d* areaPoint)
{
    zelkaOperation(__FILE__, "CAttributes::applyToDWG", [&] {
        if (!entity || !entity->isKindOf(AcDbBlockReference::desc())) return;
        auto* reference = static_cast<AcDbBlockReference*>(entity);
        std::vector<AcDbObjectId> ids;
        ids.reserve(4);  // a space block carries three attributes: one allocation, not three
        {
            std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
            for (it->start(); !it->done(); it->step()) ids.push_back(it->objectId());
        }
        AcGePoint3d anchor;
        bool anchored = areaPoint != nullptr;
        if (areaPoint) anchor = *areaPoint;
        for (size_t i = 0; i < ids.size() && !anchored; ++i) {
            AcDbAttributeView attribute;
            if (attribute.read(ids[i]) == Acad::eOk && attribute.fields().tag == "AREA") {
                anchor = placementPoint(attribute.fields());
                anchored = true;
            }
        }
        double worldRotation = carriedAngle(rotation_ * kPi / 180.0, ucsMatrix);
        for (AcDbObjectId id : ids) {
            // Most attributes are laid out as they already are: those read
            // from their records are then written back without building them.
            AcDbAttributeView view;
            if (view.read(id) == Acad::eOk && view.fromRecord() && layoutKeeps(view.fields(), anchor, anchored, worldRotation)) {
                const Acad::ErrorStatus es = view.writeUnchanged();
                if (es != Acad::eNotApplicable) continue;  // written, or refused as an open for write is
            }
            AcDbObjectPointer<AcDbAttribute> attribute(id, AcDb::kForWrite);
            if (!attribute) continue;
            attribute->setHeight(textHeight_);
            attribute->setWidthFactor(widthFactor_);
            attribute->setRotation(worldRotation);
            AcGePoint3d at;
            const int32_t position = layoutPlace(attribute->tag(), anchor, textHeight_, attribute->rotation(), at);
            if (position < 0) continue;
            if (const CZelkaAttribute* item = getAtAttribute(position))
                attribute->setTextString(item->getText().c_str());
            if (anchored) {
                // A justified text stands where its alignment point is: both
                // points move together, so the text moves and they agree.
                const AcGeVector3d move = at - placementPoint(*attribute);
                attribute->setPosition(attribute->position() + move);
                if (!attribute->isDefaultAlignment())
                    attribute->setAlignmentPoint(attribute->alignmentPoint() + move);
            }
        }
    });
}

bool CAttributes::layoutKeeps(const AcDbAttributeFields& attribute, const AcGePoint3d& anchor, bool anchored,
                              double worldRotation) const
{
    // As the setters of the write-back compare: each field given the value
    // it holds, or one it refuses.
    if (!setKeeps(textHeight_, attribute.height, true) || !setKeeps(widthFactor_, attribute.widthFactor, true) ||
        worldRotation != attribute.rotation)
        return false;
    AcGePoint3d at;
    const int32_t position = layoutPlace(attribute.tag.c_str(), anchor, textHeight_, worldRotation, at);
    if (position < 0)
        return true;
    const CZelkaAttribute* item = getAtAttribute(position);
    if (item && item->getText() != attribute.text)
        return false;
    if (!anchored)
        return true;
    // Moving a justified text sets its alignment point, which counts as a
    // change whatever its value.
    if (!attribute.defaultAlignment)
        return false;
    const AcGePoint3d moved = attribute.position + (at - placementPoint(attribute));
    return moved.x == attribute.position.x && moved.y == attribute.position.y && moved.z == attribute.position.z;
}

void CAttributes::applyToDWG(AcDbObjectId referenceId, const AcGeMatrix3d& ucsMatrix, const AcGePoint3d* areaPoint)
{
    zelkaOperation(__FILE__, "CAttributes::applyToDWG", [&] {
        AcDbObjectPointer<AcDbEntity> entity(referenceId, AcDb::kForWrite);
        if (entity) applyToDWG(entity.object(), ucsMatrix, areaPoint);
    });
}

void CAttributes::applyToDWG(AcDbEntity* entity)
{
    zelkaOperation(__FILE__, "CAttributes::applyToDWG", [&] {
        if (!entity || !entity->isKindOf(AcDbBlockReference::desc())) return;
        std::unique_ptr<AcDbObjectIterator> it(static_cast<AcDbBlockReference*>(entity)->attributeIterator());
        for (it->start(); !it->done(); it->step()) {
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForWrite);
            if (!attribute) continue;
            const CAttribute* item = getAtAttribute(std::string(attribute->tag()));
            if (!item) continue;
            if (!item->getLayer().empty()) attribute->setLayer(item->getLayer().c_str());
            attribute->setTextString(item->getText().c_str());
        }
    });
}

void CAttributes::setAttributesIDsInvisible(const AcDbBlockReference* reference)
{
    zelkaOperation(__FILE__, "CAttributes::setAttributesIDsInvisible", [&] {
        if (!reference) return;
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        for (it->start(); !it->done(); it->step()) {
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForWrite);
            if (!attribute || attribute->isInvisible()) continue;
            auto item = std::make_unique<CAttribute>(attribute->tag(), attribute->textString());
            item->setAttributeId(it->objectId());
            add(std::move(item), true);
            attribute->setInvisible(true);
        }
    });
}

void CAttributes::setAttributesIDsVisible()
{
    zelkaOperation(__FILE__, "CAttributes::setAttributesIDsVisible", [&] {
        for (const auto& item : items_) {
            AcDbObjectPointer<AcDbAttribute> attribute(item->getAttributeId(), AcDb::kForWrite);
            if (attribute) attribute->setInvisible(false);
        }
    });
}
