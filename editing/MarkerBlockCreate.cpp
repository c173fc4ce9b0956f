// Making the legend and pie chart markers (mlmc, mpmc). Failures name class
// "MarkerBlock", as the marker's other operations do.

#include <array>
#include <memory>
#include <string>

#include "editing/MarkerBlock.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "reports/Layers.h"

namespace {

constexpr const char* kSource = "MarkerBlock.cpp";

struct MarkerLayout {
    const char* definition;
    const char* layer;
    std::array<const char*, 5> tags;
    std::array<const char*, 5> prompts;
};

const MarkerLayout& layoutOf(CMarkerBlock::Kind kind)
{
    static const MarkerLayout legend{"MARKER-LEGEND",
                                   "ZELKA_LEGEND_MARKER",
                                   {"LEGENDTITLE", "LEGENDTEXTSIZE", "LEGENDPRECISION", "LEGENDROTATION", "LEGENDUNITS"},
                                   {"", "Enter legend text size", "Enter precision", "Enter Rotation",
                                    "Enter legend units"}};
    static const MarkerLayout pie{"MARKER-PIECHART",
                                "ZELKA_PIECHART_MARKER",
                                {"PIETITLE", "PIETEXTSIZE", "PIEPRECISION", "PIERADIUS", "PIEXYOFFSETVALUE"},
                                {"", "Enter pie text size", "Enter precision", "Enter Radius",
                                 "Enter pie chart offset value"}};
    return kind == CMarkerBlock::Kind::Legend ? legend : pie;
}

}  // namespace

bool CMarkerBlock::markerExists(CAcadDrawing& drawing, Kind kind)
{
    return zelkaOperation(kSource, "CMarkerBlock::markerExists", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        AcDbBlockTable* table = nullptr;
        if (!db || db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return false;
        const bool has = table->has(layoutOf(kind).definition);
        table->close();
        return has;
    });
}

void CMarkerBlock::defineAttribute(AcDbBlockTableRecord* definition, int n, const std::string& tag,
                                   const std::string& prompt, const std::string& text, double textSize, double rotation)
{
    zelkaOperation(kSource, "CMarkerBlock::defineAttribute", [&] {
        auto attdef = std::make_unique<AcDbAttributeDefinition>(AcGePoint3d(0.0, -n * textSize, 0.0), text.c_str(),
                                                                tag.c_str(), prompt.c_str());
        attdef->setHeight(textSize);
        attdef->setRotation(rotation);
        attdef->setWidthFactor(1.0);
        attdef->setFieldLength(static_cast<int>(text.size()) + 1);
        const Acad::ErrorStatus status = definition->appendAcDbEntity(attdef.get());
        if (status != Acad::eOk) raiseHostStatus(status, __LINE__);
        attdef.release()->close();
    });
}

void CMarkerBlock::createMarker(CAcadDrawing& drawing, AcDbObjectId entityId, Kind kind, int32_t precision,
                                int32_t units, double textSize, double rotation)
{
    zelkaOperation(kSource, "CMarkerBlock::createMarker", [&] {
        const MarkerLayout& marker = layoutOf(kind);
        AcDbDatabase* db = drawing.getDatabase();
        if (!db) raiseHostStatus(Acad::eNotInDatabase, __LINE__);
        CUtilities u;
        const AcGeMatrix3d ucs = currentUcsMatrix(drawing);
        // The entity in UCS coordinates; its first vertex or centre is the base point.
        AcGePoint3d base;
        double radius = 0.0;
        {
            AcDbObjectPointer<AcDbEntity> entity(entityId, AcDb::kForWrite);
            if (!entity) raiseHostStatus(entity.openStatus(), __LINE__);
            const std::string wanted = kind == Kind::Legend ? "AcDbPolyline" : "AcDbCircle";
            if (std::string(entity->isA()->name()) != wanted) {
                acutPrintf("\nInvalid Selection\n\n");
                return;
            }
            entity->transformBy(ucs.inverse());
            if (kind == Kind::Legend) {
                static_cast<const AcDbPolyline*>(entity.object())->getPointAt(0, base);
            } else {
                const auto* circle = static_cast<const AcDbCircle*>(entity.object());
                base = circle->center();
                radius = circle->radius();
            }
        }
        const std::array<std::string, 5> defaults =
            kind == Kind::Legend
                ? std::array<std::string, 5>{"LEGEND BLOCK", u.DoubleToCString(textSize, precision),
                                             std::to_string(precision), u.DoubleToCString(rotation, precision),
                                             std::to_string(units)}
                : std::array<std::string, 5>{"PIE BLOCK", u.DoubleToCString(textSize, precision),
                                             std::to_string(precision), u.DoubleToCString(radius, precision),
                                             u.DoubleToCString(500.0, precision)};

        AcDbObjectId definitionId;
        Acad::ErrorStatus status = Acad::eOk;
        {
            AcDbBlockTable* table = nullptr;
            status = db->getBlockTable(table, AcDb::kForWrite);
            if (status == Acad::eOk) {
                auto definition = std::make_unique<AcDbBlockTableRecord>();
                definition->setName(marker.definition);
                status = table->add(definitionId, definition.get());
                table->close();
                if (status == Acad::eOk) definition.release()->close();
            }
        }
        if (status == Acad::eOk) {
            AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForWrite);
            {
                AcDbObjectPointer<AcDbEntity> entity(entityId, AcDb::kForWrite);
                if (entity) entity->transformBy(AcGeMatrix3d::translation(AcGePoint3d::kOrigin - base));
            }
            status = definition->assumeOwnershipOf({entityId});
            if (status == Acad::eOk)
                for (int n = 1; n <= 5; ++n)
                    defineAttribute(definition.object(), n, marker.tags[n - 1], marker.prompts[n - 1], defaults[n - 1],
                                    textSize, rotation);
        }
        if (status != Acad::eOk) {
            AcDbObjectPointer<AcDbEntity> entity(entityId, AcDb::kForWrite);
            if (entity) entity->transformBy(ucs);
            acutPrintf("Block Creation Failed - Error Code %d\n", static_cast<int>(status));
            return;
        }

        CLayer layer;
        layer.setName(marker.layer);
        layer.ensureLayerExists(drawing);
        auto reference = std::make_unique<AcDbBlockReference>(base, definitionId);
        reference->setLayer(marker.layer);
        AcGeVector3d normal = AcGeVector3d::kZAxis;
        normal.transformBy(ucs);
        reference->setNormal(normal.normal());
        reference->transformBy(ucs);
        AcDbObjectPointer<AcDbBlockTableRecord> modelSpace(db->modelSpaceId(), AcDb::kForWrite);
        if (!modelSpace) raiseHostStatus(modelSpace.openStatus(), __LINE__);
        AcDbObjectId referenceId;
        status = modelSpace->appendAcDbEntity(referenceId, reference.get());
        if (status != Acad::eOk) {
            acutPrintf("Block Creation Failed - Error Code %d\n", static_cast<int>(status));
            return;
        }
        modelSpace.close();
        AcDbBlockReference* placed = reference.release();
        const AcGeMatrix3d transform = placed->blockTransform();
        AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
        for (AcDbObjectId id : definition->entityIds()) {
            AcDbObjectPointer<AcDbAttributeDefinition> attdef(id, AcDb::kForRead);
            if (!attdef || attdef->isConstant()) continue;
            auto attribute = std::make_unique<AcDbAttribute>();
            attribute->setAttributeFromBlock(attdef.object(), transform);
            attribute->setTextString(attdef->textString());
            if (placed->appendAttribute(attribute.get()) == Acad::eOk) attribute.release()->close();
        }
        placed->close();
        acutPrintf("Block Created Successfully\n");
    });
}
