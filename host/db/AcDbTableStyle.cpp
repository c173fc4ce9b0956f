#include "host/db/AcDbTableStyle.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbOpen.h"

const AcRxClass* AcDbTableStyle::desc()
{
    static const AcRxClass cls("AcDbTableStyle", "TABLESTYLE", AcDbObject::desc());
    return &cls;
}

Acad::ErrorStatus AcDbTableStyle::setName(const char* name)
{
    if (!name)
        return Acad::eInvalidInput;
    name_ = name;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbTableStyle::setTextHeight(double height, int rowTypes)
{
    if (!(height > 0))
        return Acad::eInvalidInput;
    for (AcDb::RowType t : {AcDb::kDataRow, AcDb::kHeaderRow, AcDb::kTitleRow})
        if (rowTypes & t)
            groups_[indexOf(t)].height = height;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbTableStyle::setAlignment(AcDb::CellAlignment alignment, int rowTypes)
{
    if (alignment < AcDb::kTopLeft || alignment > AcDb::kBottomRight)
        return Acad::eInvalidInput;
    for (AcDb::RowType t : {AcDb::kDataRow, AcDb::kHeaderRow, AcDb::kTitleRow})
        if (rowTypes & t)
            groups_[indexOf(t)].alignment = alignment;
    return assertWriteEnabled();
}

AcDbObjectId AcDbTableStyle::dictionaryId(AcDbDatabase& db)
{
    AcDbDictionary* nod = nullptr;
    if (db.getNamedObjectsDictionary(nod, AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    AcDbObjectId id;
    if (nod->getAt("ACAD_TABLESTYLE", id) == Acad::eOk && !id.isErased()) {
        nod->close();
        return id;
    }
    if (nod->upgradeOpen() != Acad::eOk) {
        nod->close();
        return AcDbObjectId();
    }
    auto* dict = new AcDbDictionary();
    if (nod->setAt("ACAD_TABLESTYLE", dict, id) != Acad::eOk) {
        delete dict;
        id.setNull();
    } else {
        dict->close();
    }
    nod->close();
    return id;
}

AcDbObjectId AcDbTableStyle::standardStyleId(AcDbDatabase& db)
{
    AcDbObjectId dictId = dictionaryId(db);
    if (dictId.isNull())
        return AcDbObjectId();
    AcDbDictionary* dict = nullptr;
    if (acdbOpenObject(dict, dictId, AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    AcDbObjectId id;
    if (dict->getAt("Standard", id) == Acad::eOk && !id.isErased()) {
        dict->close();
        return id;
    }
    id.setNull();
    if (dict->upgradeOpen() == Acad::eOk) {
        auto* style = new AcDbTableStyle();
        if (dict->setAt("Standard", style, id) == Acad::eOk)
            style->close();
        else
            delete style;
    }
    dict->close();
    return id;
}
