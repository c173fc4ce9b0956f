// The legacy label conversion (msc_isc): every "FERROW_SPACE_LABEL" block
// reference names a space ("ROOM") and the handle of its outline polyline
// ("PLINE2_ID"); each becomes a room space block made from that outline as
// the block creation makes one, placed at the label, and the label moves to
// the layer "FERROW".

#include <cmath>
#include <memory>
#include <string>

#include "config/Preferences.h"
#include "editing/SpaceBlockFactory.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/blockEdit.h"
#include "reports/Layers.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWGRoom.h"
#include "spaces/Blocks.h"
#include "spaces/SpaceUnits.h"

namespace {

constexpr const char* kSource = "blockEdit.cpp";
constexpr double kPi = 3.141592653589793;

// What a label says: the space name, its outline's handle, and its text settings.
struct FerrowLabel {
    std::string spaceName;
    std::string outlineHandle;
    AcGePoint3d position;
    double textHeight = 250.0;
    double widthFactor = 1.0;
    double rotation = 0.0;  // degrees
};

FerrowLabel interrogateFerrowBlock(const AcDbBlockReference* label)
{
    return zelkaOperation(kSource, "interrogateFerrowBlock", [&] {
        FerrowLabel read;
        read.position = label->position();
        std::unique_ptr<AcDbObjectIterator> it(label->attributeIterator());
        bool settingsTaken = false;
        for (it->start(); !it->done(); it->step()) {
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
            if (!attribute) continue;
            const std::string tag = attribute->tag();
            if (tag == "ROOM") {
                read.spaceName = attribute->textString();
                read.textHeight = attribute->height();
                read.widthFactor = attribute->widthFactor();
                read.rotation = attribute->rotation() * 180.0 / kPi;
                settingsTaken = true;
            } else if (tag == "PLINE2_ID") {
                read.outlineHandle = attribute->textString();
            }
            if (!settingsTaken) {
                read.textHeight = attribute->height();
                read.widthFactor = attribute->widthFactor();
                read.rotation = attribute->rotation() * 180.0 / kPi;
            }
        }
        return read;
    });
}

// Makes a room space block from the outline as the block creation does: the
// outline moves into a new definition whose origin is the label's position;
// the reference stands at that position with its name, area and aux
// attributes and its record.
void createFerrowBlock(CAcadDrawing& drawing, AcDbObjectId outlineId, const FerrowLabel& label,
                       const std::string& blockName, int32_t units, int32_t precision)
{
    zelkaOperation(kSource, "createFerrowBlock", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        CUtilities util;
        AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForWrite);
        if (!outline) raiseHostStatus(outline.openStatus(), __LINE__);
        const double area = util.roundDouble(CAcadUtilities::calculatePolylineArea(outline.object(), db->lunits(), units),
                                             precision);
        const double perimeter = CAcadUtilities::calculatePolylinePerimeter(outline.object(), db->lunits(), units);
        // Nothing is made from an outline whose measures or label text
        // settings are not finite numbers: the texts would say "inf".
        for (double value : {area, perimeter, label.textHeight, label.widthFactor, label.rotation, label.position.x,
                             label.position.y})
            if (!std::isfinite(value))
                throw CEXCustom(ZELKA_MODULE_TITLE, kSource, "createFerrowBlock",
                                "The label of " + label.spaceName + " (outline " + label.outlineHandle +
                                    ") was not converted: the outline's area or perimeter, or the label's "
                                    "position or text size, is not a finite number. Check the outline's "
                                    "coordinates.",
                                0, nullptr);
        outline.close();

        CBlockDWGRoom room;
        CSpaceBlockFactory::setUpRoom(room, label.spaceName, area, perimeter, units, precision, blockName,
                                      label.textHeight, label.widthFactor, label.rotation);
        CSpaceBlockFactory factory(drawing);
        const Acad::ErrorStatus status = factory.makeSpaceBlock(outlineId, label.position, AcGeMatrix3d::kIdentity, room);
        if (status != Acad::eOk) raiseHostStatus(status, __LINE__);
    });
}

// "FERROW" on (made white when missing) and "BOMA" off.
void prepareFerrowLayers(CAcadDrawing& drawing)
{
    AcCmColor white;
    white.setRGB(255, 255, 255);
    CLayers::ensureLayerExists(drawing, "FERROW", white);
    AcDbLayerTable* table = nullptr;
    if (drawing.getDatabase()->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return;
    AcDbObjectId ferrow;
    AcDbObjectId boma;
    table->getAt("FERROW", ferrow);
    table->getAt("BOMA", boma);
    table->close();
    if (AcDbObjectPointer<AcDbLayerTableRecord> layer(ferrow, AcDb::kForWrite); layer) layer->setIsOff(false);
    if (AcDbObjectPointer<AcDbLayerTableRecord> layer(boma, AcDb::kForWrite); layer) layer->setIsOff(true);
}

}  // namespace

void zelkaFerrowConversion()
{
    zelkaCommandFrame(nullptr, "zelkaFerrowConversion", [] {
        CSpaceCommandRun run;
        if (!run.isReady()) return;
        CAcadDrawing& drawing = run.drawing();
        CPreferences prefs;
        prefs.loadPreferences();
        prepareFerrowLayers(drawing);
        const std::vector<AcDbObjectId> labels = CBlocks::getZelkaBlockSS(drawing, "FERROW_SPACE_LABEL");
        for (size_t i = 0; i < labels.size(); ++i) {
            CZelkaExceptions errors;
            try {
                FerrowLabel label;
                {
                    AcDbObjectPointer<AcDbBlockReference> reference(labels[i], AcDb::kForRead);
                    if (!reference) continue;
                    label = interrogateFerrowBlock(reference.object());
                }
                const AcDbObjectId outlineId = CAcadUtilities::convertHandleToObjectId(AcDbHandle(label.outlineHandle.c_str()));
                if (outlineId.isNull()) continue;
                // The label's number names the definition unless a definition has that name already.
                std::string blockName = "ROOM-" + std::to_string(i);
                AcDbBlockTable* table = nullptr;
                if (drawing.getDatabase()->getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
                    if (table->has(blockName.c_str()))
                        blockName = "ROOM-" + std::to_string(CBlocks::calcNextBlockIdentifier(drawing.getDatabase()));
                    table->close();
                }
                createFerrowBlock(drawing, outlineId, label, blockName, prefs.getUnits(), prefs.getPrecision());
                AcDbObjectPointer<AcDbEntity> reference(labels[i], AcDb::kForWrite);
                if (reference) reference->setLayer("FERROW");
            } catch (const CEXZelka& e) {
                errors.add(e);
            }
            if (errors.getCount() > 0) errors.displayAll();
        }
    });
}
