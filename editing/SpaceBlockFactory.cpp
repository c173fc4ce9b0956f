#include "editing/SpaceBlockFactory.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "reports/Layers.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/SpaceUnits.h"
#include "spaces/ZelkaAttribute.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct AttributeDefinitionLayout {
    const char* tag;
    const char* prompt;
    const char* text;
    const char* layer;
    double across;  // multiples of 1.5 h across the text direction: +1 above, -1 below
};

constexpr AttributeDefinitionLayout kDefinitions[] = {
    {"AREA", "Enter Area", "DEFAULT AREA", "ATT-AREA", 0.0},
    {"NAME", "Enter Name", "DEFAULT NAME", "ATT-NAME", 1.0},
    {"AUX", "Enter Auxillary Value", "DEFAULT AUX", "ATT-AUX", -1.0},
};

// The attribute text of the block for a tag of the definition, or null.
const std::string* textForTag(const CBlockDWG& block, const std::string& tag)
{
    const CAttributes* attributes = block.getAttributes();
    if (!attributes) return nullptr;
    const int32_t position = tag == "NAME" ? 0 : tag == "AREA" ? 1 : tag == "AUX" ? 2 : -1;
    const CZelkaAttribute* attribute = position < 0 ? nullptr : attributes->getAtAttribute(position);
    return attribute ? &attribute->getText() : nullptr;
}

// Moves an entity by a vector; the status of the open or the move.
Acad::ErrorStatus moveEntity(AcDbObjectId id, const AcGeVector3d& by)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    if (!entity) return entity.openStatus();
    return entity->transformBy(AcGeMatrix3d::translation(by));
}

}  // namespace

CSpaceBlockFactory::~CSpaceBlockFactory()
{
    try {
        finish();
    } catch (...) {
    }
}

void CSpaceBlockFactory::finish()
{
    zelkaOperation(__FILE__, "CSpaceBlockFactory::finish", [&] {
        std::vector<AcDbObjectId> owners;
        owners.swap(oldOwners_);
        for (AcDbObjectId id : owners) {
            AcDbObjectPointer<AcDbBlockTableRecord> owner(id, AcDb::kForWrite);
            if (!owner) raiseHostStatus(owner.openStatus(), __LINE__);
            const Acad::ErrorStatus status = owner->dropEntitiesOwnedElsewhere();
            if (status != Acad::eOk) raiseHostStatus(status, __LINE__);
        }
    });
}

void CSpaceBlockFactory::ensureAttributeLayers()
{
    if (layersMade_) return;
    for (const AttributeDefinitionLayout& item : kDefinitions) {
        CLayer layer;
        layer.setName(item.layer);
        layer.ensureLayerExists(drawing_);
    }
    layersMade_ = true;
}

void CSpaceBlockFactory::addSpaceAttributeDefinitions(AcDbBlockTableRecord* definition, double textHeight,
                                                      double widthFactor, double rotationDegrees)
{
    zelkaOperation(__FILE__, "CSpaceBlockFactory::addSpaceAttributeDefinitions", [&] {
        ensureAttributeLayers();
        const double r = rotationDegrees / 180.0 * kPi;
        const double dx = 1.5 * textHeight * std::sin(r);
        const double dy = 1.5 * textHeight * std::cos(r);
        for (const AttributeDefinitionLayout& item : kDefinitions) {
            const AcGePoint3d at(-item.across * dx, item.across * dy, 0.0);
            auto attdef = std::make_unique<AcDbAttributeDefinition>(at, item.text, item.tag, item.prompt);
            attdef->setHeight(textHeight);
            attdef->setWidthFactor(widthFactor);
            attdef->setRotation(r);
            attdef->setFieldLength(25);
            attdef->setLayer(item.layer);
            const Acad::ErrorStatus status = definition->appendAcDbEntity(attdef.get());
            if (status != Acad::eOk) raiseHostStatus(status, __LINE__);
            attdef.release()->close();
        }
    });
}

bool CSpaceBlockFactory::pickLabelAndMeasure(CAcadDrawing& drawing, AcDbObjectId polylineId, int32_t units,
                                             int32_t precision, PickedOutline& picked)
{
    return zelkaOperation(__FILE__, "CSpaceBlockFactory::pickLabelAndMeasure", [&] {
        acutPrintf("Select Name and Area Text Position:\n");
        ads_point point = {0.0, 0.0, 0.0};
        if (acedGetPoint(nullptr, "\nEnter Attribute points: ", point) != RTNORM) return false;
        picked.labelPoint.set(point[0], point[1], point[2]);
        picked.ucs = CBlockDWG::currentUcsMatrix(drawing);
        AcDbDatabase* db = drawing.getDatabase();
        AcDbObjectPointer<AcDbEntity> entity(polylineId, AcDb::kForWrite);
        if (!entity) {
            if (entity.openStatus() == Acad::eOnLockedLayer)
                acutPrintf("\nPolyline On Locked Layer - Block Creation Failed\n");
            else
                acutPrintf("\nUnable get Polyline - Error %d - Block Creation Failed\n",
                           static_cast<int>(entity.openStatus()));
            return false;
        }
        if (std::string(entity->isA()->name()) != "AcDbPolyline") {
            acutPrintf("\nInvalid Selection\n\n");
            return false;
        }
        // The whole block is built in UCS coordinates and placed back by the UCS matrix.
        entity->transformBy(picked.ucs.inverse());
        const auto* polyline = static_cast<const AcDbPolyline*>(entity.object());
        CUtilities u;
        picked.area = u.roundDouble(CAcadUtilities::calculatePolylineArea(polyline, db->lunits(), units), precision);
        picked.perimeter = CAcadUtilities::calculatePolylinePerimeter(polyline, db->lunits(), units);
        return true;
    });
}

void CSpaceBlockFactory::setUpRoom(CBlockDWG& room, const std::string& name, double area, double perimeter,
                                   int32_t units, int32_t precision, const std::string& blockName, double textHeight,
                                   double widthFactor, double rotationDegrees)
{
    CUtilities u;
    room.setUnits(units);
    room.setPrecision(precision);
    room.setName(name);
    room.setArea(area);
    room.setPerimeter(perimeter);
    room.setBlockName(blockName);
    auto attributes = std::make_unique<CAttributes>();
    attributes->setTextHeight(textHeight);
    attributes->setWidthFactor(widthFactor);
    attributes->setRotation(rotationDegrees);
    attributes->add(std::make_unique<CZelkaAttribute>(0, name), false);
    attributes->add(std::make_unique<CZelkaAttribute>(1, u.DoubleToCString(area, precision) +
                                                             std::string(areaSuffix(units))),
                    false);
    attributes->add(std::make_unique<CZelkaAttribute>(2, " "), false);
    room.setAttributes(std::move(attributes));
}

Acad::ErrorStatus CSpaceBlockFactory::makeSpaceBlock(AcDbObjectId outlineId, const AcGePoint3d& labelPoint,
                                                     const AcGeMatrix3d& ucs, CBlockDWG& block)
{
    return zelkaOperation(__FILE__, "CSpaceBlockFactory::makeSpaceBlock", [&]() -> Acad::ErrorStatus {
        AcDbDatabase* db = drawing_.getDatabase();
        if (!db) return Acad::eNotInDatabase;
        std::string outlineLayer;
        AcDbObjectId oldOwner;
        {
            AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
            if (!outline) return outline.openStatus();
            outlineLayer = outline->layer();
            oldOwner = outline->ownerId();
        }

        // The definition first: a name that is taken changes nothing.
        AcDbObjectId definitionId;
        {
            AcDbBlockTable* table = nullptr;
            Acad::ErrorStatus status = db->getBlockTable(table, AcDb::kForWrite);
            if (status != Acad::eOk) return status;
            if (table->has(block.getBlockName().c_str())) {
                table->close();
                return Acad::eDuplicateRecordName;
            }
            auto definition = std::make_unique<AcDbBlockTableRecord>();
            definition->setName(block.getBlockName().c_str());
            definition->setOrigin(AcGePoint3d::kOrigin);
            status = table->add(definitionId, definition.get());
            table->close();
            if (status != Acad::eOk) return status;
            definition.release()->close();
        }

        // The outline moves so that the label point is the origin, and
        // changes blocks keeping its handle.
        const AcGeVector3d toOrigin = AcGePoint3d::kOrigin - labelPoint;
        AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForWrite);
        if (!definition) return definition.openStatus();
        Acad::ErrorStatus status = moveEntity(outlineId, toOrigin);
        const bool moved = status == Acad::eOk;
        if (moved && !many_) status = definition->assumeOwnershipOf({outlineId});
        if (moved && many_) {
            status = definition->assumeOwnershipOfLeavingOldLists({outlineId});
            if (status == Acad::eOk && std::find(oldOwners_.begin(), oldOwners_.end(), oldOwner) == oldOwners_.end())
                oldOwners_.push_back(oldOwner);
        }
        if (status != Acad::eOk) {
            if (moved) moveEntity(outlineId, -toOrigin);
            definition->erase();
            return status;
        }
        const CAttributes* attributes = block.getAttributes();
        const double textHeight = attributes ? attributes->getTextHeight() : 250.0;
        addSpaceAttributeDefinitions(definition.object(), textHeight, attributes ? attributes->getWidthFactor() : 1.0,
                                     attributes ? attributes->getRotation() : 0.0);
        const std::vector<AcDbObjectId> parts = definition->entityIds();
        definition.close();

        // The reference, built in UCS coordinates and placed by the UCS matrix.
        auto reference = std::make_unique<AcDbBlockReference>(labelPoint, definitionId);
        reference->setLayer(outlineLayer.c_str());
        reference->setRotation(0.0);
        AcGeVector3d normal = AcGeVector3d::kZAxis;
        normal.transformBy(ucs);
        reference->setNormal(normal.normal());
        reference->transformBy(ucs);
        AcDbObjectPointer<AcDbBlockTableRecord> modelSpace(db->modelSpaceId(), AcDb::kForWrite);
        if (!modelSpace) return modelSpace.openStatus();
        AcDbObjectId referenceId;
        status = modelSpace->appendAcDbEntity(referenceId, reference.get());
        if (status != Acad::eOk) return status;
        modelSpace.close();
        AcDbBlockReference* placed = reference.release();
        const AcGeMatrix3d transform = placed->blockTransform();
        for (AcDbObjectId id : parts) {
            AcDbObjectPointer<AcDbAttributeDefinition> attdef(id, AcDb::kForRead);
            if (!attdef || attdef->isConstant()) continue;
            auto attribute = std::make_unique<AcDbAttribute>();
            attribute->setAttributeFromBlock(attdef.object(), transform);
            const std::string tag = attdef->tag();
            if (const std::string* text = textForTag(block, tag)) attribute->setTextString(text->c_str());
            status = placed->appendAttribute(attribute.get());
            if (status != Acad::eOk) {
                placed->close();
                return status;
            }
            attribute.release()->close();
        }
        block.setBlockReferenceId(referenceId);
        block.setHandle(referenceId.handle().toString());
        block.writeXData(placed);
        placed->close();
        return Acad::eOk;
    });
}
