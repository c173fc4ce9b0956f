// Command bodies that put space block attributes in order: laying out the
// name, area and aux attributes and adding a missing aux attribute (maux),
// and moving attributes back to their own layers (msc_cal).

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/AsciiText.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/SpaceCommandSupport.h"
#include "module/blockEdit.h"
#include "reports/AcadDrawingState.h"
#include "reports/Layers.h"
#include "spaces/Attribute.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/BlockWriteCheck.h"
#include "spaces/Blocks.h"

namespace {

constexpr const char* kSource = "blockEdit.cpp";

// Turns on every layer whose upper-cased name is one of the three attribute layers.
void turnOnZelkaLayers(CAcadDrawing& drawing)
{
    zelkaOperation(kSource, "turnOnZelkaLayers", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        AcDbLayerTable* table = nullptr;
        if (!db || db->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return;
        const std::vector<AcDbObjectId> ids = table->recordIds();
        table->close();
        for (AcDbObjectId id : ids) {
            AcDbObjectPointer<AcDbLayerTableRecord> layer(id, AcDb::kForWrite);
            if (!layer) continue;
            const std::string name = asciiUpper(layer->name());
            if (name == "ATT-NAME" || name == "ATT-AREA" || name == "ATT-AUX") layer->setIsOff(false);
        }
    });
}

// The three items of one layout: open for write while the layout runs.
template <class Item>
struct LayoutItems {
    std::vector<std::unique_ptr<AcDbObjectPointer<Item>>> open;
    Item* name = nullptr;
    Item* area = nullptr;
    Item* aux = nullptr;

    void take(AcDbObjectId id)
    {
        auto item = std::make_unique<AcDbObjectPointer<Item>>(id, AcDb::kForWrite);
        if (!*item) return;
        const std::string tag = (*item)->tag();
        Item* text = item->object();
        if (tag == "NAME" && !name)
            name = text;
        else if (tag == "AREA" && !area)
            area = text;
        else if (tag == "AUX" && !aux)
            aux = text;
        else
            return;
        open.push_back(std::move(item));
    }
};

// Where an item goes relative to the area item: offset by (ox, oy) from its
// position and alignment point, with the area item's height, rotation and
// (when sameAlignment) alignment.
void placeLike(AcDbText* item, const AcDbText* area, double ox, double oy, bool sameAlignment)
{
    const AcGeVector3d offset(ox, oy, 0.0);
    if (sameAlignment) {
        item->setHorizontalMode(area->horizontalMode());
        item->setVerticalMode(area->verticalMode());
    }
    item->setHeight(area->height());
    item->setRotation(area->rotation());
    item->setPosition(area->position() + offset);
    item->setAlignmentPoint(area->alignmentPoint() + offset);
}

// The offsets one and a half text heights away from the area item, in the
// text's own direction: dx = sin(r) h 1.5, dy = cos(r) h 1.5.
void stepsFrom(const AcDbText* area, double& dx, double& dy)
{
    const double h = area->height();
    const double r = area->rotation();
    dx = std::sin(r) * h * 1.5;
    dy = std::cos(r) * h * 1.5;
}

// Lays out the attribute definitions of a space block definition, adding an
// "AUX" definition when there is none.
void iterateThroughZelkaBlockDefinition(AcDbObjectId definitionId)
{
    zelkaOperation(kSource, "iterateThroughZelkaBlockDefinition", [&] {
        AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForWrite);
        if (!definition) return;
        LayoutItems<AcDbAttributeDefinition> items;
        for (AcDbObjectId id : definition->entityIds()) {
            AcDbObjectPointer<AcDbEntity> probe(id, AcDb::kForRead);
            const bool isDefinition = probe && probe->isKindOf(AcDbAttributeDefinition::desc());
            probe.close();
            if (isDefinition) items.take(id);
        }
        if (!items.area) return;
        double dx = 0.0;
        double dy = 0.0;
        stepsFrom(items.area, dx, dy);
        if (items.name) placeLike(items.name, items.area, -dx, dy, true);
        if (items.aux) {
            placeLike(items.aux, items.area, dx, -dy, false);
            return;
        }
        auto aux = std::make_unique<AcDbAttributeDefinition>(items.area->position(), "default aux", "AUX",
                                                              "Enter Auxillary", items.area->textStyle());
        placeLike(aux.get(), items.area, dx, -dy, true);
        aux->setLayer("ATT-AUX");
        aux->setInvisible(false);
        aux->setConstant(false);
        const Acad::ErrorStatus status = definition->appendAcDbEntity(aux.get());
        if (status != Acad::eOk) raiseHostStatus(status, __LINE__);
        aux.release()->close();
    });
}

// Lays out a space block reference's attributes, adding an "AUX" attribute
// holding one blank when there is none.
void iterateThroughZelkaBlockReference(AcDbObjectId referenceId)
{
    zelkaOperation(kSource, "iterateThroughZelkaBlockReference", [&] {
        AcDbObjectPointer<AcDbBlockReference> reference(referenceId, AcDb::kForWrite);
        if (!reference) return;
        LayoutItems<AcDbAttribute> items;
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        for (it->start(); !it->done(); it->step()) items.take(it->objectId());
        if (!items.area) return;
        double dx = 0.0;
        double dy = 0.0;
        stepsFrom(items.area, dx, dy);
        if (items.name) placeLike(items.name, items.area, -dx, dy, true);
        if (items.aux) {
            placeLike(items.aux, items.area, dx, -dy, false);
            return;
        }
        auto aux = std::make_unique<AcDbAttribute>(items.area->position(), " ", "AUX", items.area->textStyle());
        placeLike(aux.get(), items.area, dx, -dy, true);
        aux->setLayer("ATT-AUX");
        const Acad::ErrorStatus status = reference->appendAttribute(aux.get());
        if (status != Acad::eOk) raiseHostStatus(status, __LINE__);
        aux.release()->close();
    });
}

}  // namespace

void zelkaAuxilarator()
{
    zelkaCommandFrame(nullptr, "zelkaAuxilarator", [] {
        CSpaceCommandRun run;
        if (!run.isReady()) return;
        CAcadDrawing& drawing = run.drawing();
        CLayer auxLayer;
        auxLayer.setName("ATT-AUX");
        auxLayer.ensureLayerExists(drawing);
        turnOnZelkaLayers(drawing);
        run.gather();
        run.forEachBlock([&](CBlockDWG& block) {
            AcDbObjectId definitionId;
            {
                AcDbObjectPointer<AcDbBlockReference> reference(block.getBlockReferenceId(), AcDb::kForRead);
                if (!reference) return;
                definitionId = reference->blockTableRecord();
            }
            // The definition and the reference are laid out together or not
            // at all; a missing aux attribute would be added on "ATT-AUX".
            zelkaBlockStep([&] {
                const bool addsAux = !zelkaSpaceAttribute(block, 2);
                CBlockWriteCheck::requireWritable(block, true, addsAux ? "ATT-AUX" : "");
                iterateThroughZelkaBlockDefinition(definitionId);
                iterateThroughZelkaBlockReference(block.getBlockReferenceId());
            });
        });
        drawing.regenDrawing();
    });
}

void zelkaCheckAttributeLayers()
{
    zelkaCommandFrame(nullptr, "checkAttributeLayers", [] {
        CSpaceCommandRun run;
        if (!run.isReady()) return;
        CAcadDrawing& drawing = run.drawing();
        static const char* const layers[] = {"ATT-NAME", "ATT-AREA", "ATT-AUX"};
        for (const char* name : layers) {
            CLayer layer;
            layer.setName(name);
            layer.ensureLayerExists(drawing);
        }
        CAcadDrawingState recorded(drawing);
        CAcadDrawingState takeOff(drawing);
        takeOff.setStateForTakeOff(drawing);
        run.gather();
        run.forEachBlock([&](CBlockDWG& block) {
            CAttributes* attributes = block.getAttributes();
            if (!attributes) return;
            bool moved = false;
            for (int position = 0; position < 3; ++position) {
                CAttribute* attribute = attributes->getAtAttribute(position);
                if (attribute && attribute->getLayer() != layers[position]) {
                    attribute->setLayer(layers[position]);
                    moved = true;
                }
            }
            if (!moved) return;
            CZelkaExceptions errors;
            try {
                AcDbObjectPointer<AcDbEntity> reference(block.getBlockReferenceId(), AcDb::kForWrite);
                if (!reference) raiseHostStatus(reference.openStatus(), __LINE__);
                attributes->applyToDWG(reference.object());
            } catch (const CEXZelka& e) {
                errors.add(e);
            } catch (const CHostStatusRaised& s) {
                errors.add(CEXUnhandled(ZELKA_MODULE_TITLE, kSource, "checkAttributeLayers", s.status, s.line,
                                        s.drawingName, nullptr));
            }
            if (errors.getCount() > 0) errors.displayAll();
        });
        recorded.applyState(drawing, 0);
    });
}
