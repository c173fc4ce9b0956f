#include "editing/GrossAreaBlock.h"

#include "editing/SpaceBlockFactory.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/BlockDWGFloor.h"

namespace {

constexpr const char* kDefinition = "ROOM-GROSS_AREA";

}  // namespace

bool CGrossAreaBlock::exists(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CGrossAreaBlock::exists", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        AcDbBlockTable* table = nullptr;
        if (!db || db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return false;
        const bool has = table->has(kDefinition);
        table->close();
        return has;
    });
}

void CGrossAreaBlock::createGrossAreaBlock(CAcadDrawing& drawing, AcDbObjectId polylineId, int32_t units,
                                           double textHeight, double widthFactor, double rotation, int32_t precision)
{
    try {
        zelkaOperation(__FILE__, "CGrossAreaBlock::createGrossAreaBlock", [&] {
            CSpaceBlockFactory::PickedOutline picked;
            if (!CSpaceBlockFactory::pickLabelAndMeasure(drawing, polylineId, units, precision, picked)) return;
            // Stored as the texts show them.
            CUtilities u;
            const double perimeter = u.roundDouble(picked.perimeter, precision);
            CBlockDWGFloor floor;
            CSpaceBlockFactory::setUpRoom(floor, "GROSS AREA", picked.area, perimeter, units, precision, kDefinition,
                                          textHeight, widthFactor, rotation);
            CSpaceBlockFactory factory(drawing);
            const Acad::ErrorStatus status = factory.makeSpaceBlock(polylineId, picked.labelPoint, picked.ucs, floor);
            if (status == Acad::eOk) {
                acutPrintf("Block Created Successfully\n");
                return;
            }
            AcDbObjectPointer<AcDbEntity> outline(polylineId, AcDb::kForWrite);
            if (outline) outline->transformBy(picked.ucs);
            acutPrintf("Block Creation Failed - Error Code %d\n", static_cast<int>(status));
        });
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}
