#include "host/db/AcDbOpen.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbRegAppTable.h"

namespace {
AcDbDatabase* gWorkingDatabase = nullptr;
}

Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    obj = nullptr;
    if (id.isNull() || !id.database())
        return Acad::eNullObjectId;
    return id.database()->openObject(obj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    return acdbOpenObject(obj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    ent = nullptr;
    if (id.stub() && !id.stub()->isEntity)
        return Acad::eNotAnEntity;
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(o, id, mode, openErased);
    if (es != Acad::eOk)
        return es;
    ent = static_cast<AcDbEntity*>(o);
    return Acad::eOk;
}

AcDbDatabase* acdbWorkingDatabase() { return gWorkingDatabase; }
void acdbSetWorkingDatabase(AcDbDatabase* db) { gWorkingDatabase = db; }

int acdbRegApp(const char* appName, AcDbDatabase* db)
{
    if (!db)
        db = gWorkingDatabase;
    if (!db || !appName || !*appName)
        return RTERROR;
    AcDbRegAppTable* table = nullptr;
    if (db->getRegAppTable(table, AcDb::kForWrite) != Acad::eOk)
        return RTERROR;
    if (table->has(appName)) {
        table->close();
        return RTERROR;
    }
    auto* rec = new AcDbRegAppTableRecord();
    rec->setName(appName);
    Acad::ErrorStatus es = table->add(rec);
    table->close();
    if (es != Acad::eOk) {
        delete rec;
        return RTERROR;
    }
    rec->close();
    return RTNORM;
}

int acdbGetAdsName(int64_t name[2], AcDbObjectId id)
{
    if (id.isNull())
        return RTERROR;
    name[0] = reinterpret_cast<int64_t>(id.stub());
    name[1] = reinterpret_cast<int64_t>(id.database());
    return RTNORM;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const int64_t name[2])
{
    id.setNull();
    if (!name || name[0] == 0)
        return Acad::eInvalidAdsName;
    id = AcDbObjectId(reinterpret_cast<AcDbStub*>(name[0]));
    return Acad::eOk;
}

int acdbHandEnt(const char* handle, int64_t name[2])
{
    AcDbDatabase* db = gWorkingDatabase;
    if (!db || !handle)
        return RTERROR;
    AcDbObjectId id;
    AcDbHandle h(handle);
    if (h.isNull() || db->getAcDbObjectId(id, false, h) != Acad::eOk || id.isErased())
        return RTERROR;
    return acdbGetAdsName(name, id);
}
