#include "spaces/Attributes.h"

#include <cctype>
#include <cmath>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
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
        auto* zelka = dynamic_cast<CZelkaAttribute*>(item.get());
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

// Whether the tag, upper-cased, is the (upper-case) word.
bool tagIs(const char* tag, const char* word)
{
    size_t i = 0;
    for (; word[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(tag[i])) != word[i]) return false;
    return tag[i] == '\0';
}

// Where a text stands: its insertion point when left/baseline justified,
// otherwise its alignment point (which CAD programs place the text by).
AcGePoint3d placementPoint(const AcDbAttribute& attribute)
{
    return attribute.isDefaultAlignment() ? attribute.position() : attribute.alignmentPoint();
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
            // Opened for read: an attribute that cannot be written (on a
            // locked layer) is still read, so its text is never replaced by
            // a default; whether the block can be written is asked apart.
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
            if (!attribute) continue;
            if (!layoutRead) {
                textHeight_ = attribute->height();
                widthFactor_ = attribute->widthFactor();
                rotation_ = carriedAngle(attribute->rotation(), worldToUcs) * 180.0 / kPi;
                layoutRead = true;
            }
            const char* tag = attribute->tag();
            int32_t position = tagIs(tag, "NAME") ? 0 : tagIs(tag, "AREA") ? 1 : tagIs(tag, "AUX") ? 2 : -1;
            if (position < 0) continue;
            auto item = std::make_unique<CZelkaAttribute>(position, attribute->textString());
            item->setLayer(attribute->layer());
            // The area point follows the first AREA attribute, the one kept.
            if (position == 1 && !getAtAttribute(std::string("AREA"))) areaPosition_ = attribute->position();
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
            AcDbObjectPointer<AcDbAttribute> attribute(ids[i], AcDb::kForRead);
            if (attribute && std::string(attribute->tag()) == "AREA") {
                anchor = placementPoint(*attribute);
                anchored = true;
            }
        }
        double worldRotation = carriedAngle(rotation_ * kPi / 180.0, ucsMatrix);
        for (AcDbObjectId id : ids) {
            AcDbObjectPointer<AcDbAttribute> attribute(id, AcDb::kForWrite);
            if (!attribute) continue;
            attribute->setHeight(textHeight_);
            attribute->setWidthFactor(widthFactor_);
            attribute->setRotation(worldRotation);
            double r = attribute->rotation();
            double dx = 1.5 * textHeight_ * std::sin(r);
            double dy = 1.5 * textHeight_ * std::cos(r);
            std::string tag = attribute->tag();
            int32_t position = -1;
            AcGePoint3d at = anchor;
            if (tag == "NAME") {
                position = 0;
                at = AcGePoint3d(anchor.x - dx, anchor.y + dy, anchor.z);
            } else if (tag == "AREA") {
                position = 1;
            } else if (tag == "AUX") {
                position = 2;
                at = AcGePoint3d(anchor.x + dx, anchor.y - dy, anchor.z);
            }
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
