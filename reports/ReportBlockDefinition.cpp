#include "reports/ReportBlockDefinition.h"

#include <memory>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/ZelkaExceptions.h"

namespace {

// Erases every entity of the definition.
void eraseEntities(AcDbObjectId definitionId)
{
    std::vector<AcDbObjectId> ids;
    {
        AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
        if (!definition) return;
        ids = definition->entityIds();
    }
    for (AcDbObjectId id : ids) {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        if (entity) entity->erase();
    }
}

}  // namespace

CReportBlockDefinition::CReportBlockDefinition(AcDbDatabase* database, const std::string& name)
{
    zelkaOperation(__FILE__, "CReportBlockDefinition::CReportBlockDefinition", [&] {
        if (!database) raiseHostStatus(Acad::eNotInDatabase, __LINE__);
        AcDbBlockTable* table = nullptr;
        Acad::ErrorStatus es = database->getBlockTable(table, AcDb::kForWrite);
        if (es != Acad::eOk) raiseHostStatus(es, __LINE__);
        std::unique_ptr<AcDbBlockTable, void (*)(AcDbBlockTable*)> held(table, [](AcDbBlockTable* t) { t->close(); });
        if (table->getAt(name.c_str(), id_) == Acad::eOk) {
            held.reset();
            eraseEntities(id_);
            return;
        }
        auto record = std::make_unique<AcDbBlockTableRecord>();
        es = record->setName(name.c_str());
        if (es == Acad::eOk) record->setOrigin(AcGePoint3d(0, 0, 0));
        if (es == Acad::eOk) es = table->add(id_, record.get());
        if (es != Acad::eOk) raiseHostStatus(es, __LINE__);
        record.release()->close();
        made_ = true;
    });
}

CReportBlockDefinition::~CReportBlockDefinition()
{
    if (kept_ || id_.isNull()) return;
    if (!made_) {
        eraseEntities(id_);
        return;
    }
    eraseEntities(id_);
    AcDbObjectPointer<AcDbBlockTableRecord> definition(id_, AcDb::kForWrite);
    if (definition) definition->erase();
}
