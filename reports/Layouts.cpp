#include "reports/Layouts.h"

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"

void CLayouts::add(std::unique_ptr<CLayout> layout)
{
    zelkaOperation(__FILE__, "CLayouts::add", [&] {
        if (layout) items_.push_back(std::move(layout));
    });
}

CLayout& CLayouts::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CLayouts::getAt",
                          [&]() -> CLayout& { return *items_.at(static_cast<size_t>(index)); });
}

void CLayouts::getDWGLayouts(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CLayouts::getDWGLayouts", [&] {
        CAcadDrawingLock lock(drawing);
        AcDbDatabase* db = drawing.getDatabase();
        if (!lock.isLocked() || !db) return;
        AcDbObjectPointer<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
        if (!table) return;
        for (AcDbObjectId id : table->recordIds()) {
            AcDbObjectPointer<AcDbBlockTableRecord> record(id, AcDb::kForRead);
            if (!record || !record->isLayout()) continue;
            AcDbObjectPointer<AcDbLayout> layout(record->getLayoutId(), AcDb::kForRead);
            if (layout) add(std::make_unique<CLayout>(layout->layoutName()));
        }
    });
}
