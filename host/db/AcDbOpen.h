#pragma once
#include "host/db/AcDb.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcadErrorStatus.h"

class AcDbEntity;
class AcDbDatabase;

// Opens the object of id. Results: eNullObjectId, eWasErased (unless
// openErased), eWasOpenForWrite (open for write already, either mode),
// eWasOpenForRead (write requested while readers hold it), eOnLockedLayer
// (write requested for an entity on a locked layer); obj is null on failure.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);
// As acdbOpenObject; eNotAnEntity when the object is not an entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);

// As acdbOpenObject, for an object of class T (or derived); eNotThatKindOfClass otherwise.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
{
    obj = nullptr;
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(o, id, mode, openErased);
    if (es != Acad::eOk)
        return es;
    if (!o->isKindOf(T::desc())) {
        o->close();
        return Acad::eNotThatKindOfClass;
    }
    obj = static_cast<T*>(o);
    return Acad::eOk;
}

// The database that the module's calls work on when none is given; null until set.
AcDbDatabase* acdbWorkingDatabase();
void acdbSetWorkingDatabase(AcDbDatabase* db);

// Registers an application name in the database (the working one when null).
// RTNORM when added, RTERROR when it was already there or there is no database
// (as the ObjectARX function does, "already there" is not an error for callers
// that only need it to exist).
int acdbRegApp(const char* appName, AcDbDatabase* db = nullptr);

// Entity names (ads_name) for the selection and entity functions: they carry the object id.
// Fills name from id; RTNORM, or RTERROR for the null id.
int acdbGetAdsName(int64_t name[2], AcDbObjectId id);
// The id from an entity name; eInvalidAdsName for a null name.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const int64_t name[2]);
// The entity name of the object with the handle (hexadecimal text) in the
// working database; RTNORM, or RTERROR (unknown handle, no database).
int acdbHandEnt(const char* handle, int64_t name[2]);
