#pragma once
#include <string>

#include "host/db/AcDbObjectId.h"
#include "host/db/AcadErrorStatus.h"

class AcDbBlockTableRecord;
class AcDbDatabase;
class AcDbLayout;
class AcDbSymbolTableRecord;

// Which layout of a drawing is current, and making another one current.
//
// A drawing stores this as DXF does: the header variable $TILEMODE is 1 while
// the "Model" layout is current and 0 while a paper-space layout is; the
// active paper-space layout is the one whose block is "*Paper_Space" (its
// entities are kept in the ENTITIES section), the others have blocks
// "*Paper_Space0", "*Paper_Space1", ... holding their entities inside BLOCKS.
// Making another paper-space layout current swaps the two block names and
// moves the entities of both layouts between ENTITIES and BLOCKS when the
// drawing is saved, as CAD programs do; handles, owners and the layouts'
// block pointers stay as they are.
//
// Layout names are compared without regard to case. Every call takes the
// drawing, or uses the working database (acdbWorkingDatabase) when it is
// null; with neither the call fails with eNullObjectPointer (78).
class AcDbLayoutManager {
public:
    // The name of the current layout: "Model" (the model layout's own name)
    // while model space is current and allowModel is set, otherwise the name
    // of the active paper-space layout. On failure name is "": eNullObjectPointer,
    // eKeyNotFound when the drawing has no such layout.
    Acad::ErrorStatus getActiveLayoutName(std::string& name, bool allowModel, const AcDbDatabase* db = nullptr) const;
    // Makes the named layout current (see above). Making the current layout
    // current again changes nothing. eKeyNotFound (21) when the drawing has no
    // layout of that name, eInvalidInput for a null or empty name,
    // eNullObjectPointer; the drawing is unchanged on failure.
    Acad::ErrorStatus setCurrentLayout(const char* name, AcDbDatabase* db = nullptr);
    // The layout of that name; the null id when there is none.
    AcDbObjectId findLayoutNamed(const char* name, const AcDbDatabase* db = nullptr) const;
    bool layoutExists(const char* name, const AcDbDatabase* db = nullptr) const { return !findLayoutNamed(name, db).isNull(); }
    // The number of layouts, "Model" included; 0 without a drawing.
    int countLayouts(const AcDbDatabase* db = nullptr) const;

private:
    // Gives a block record a name its table was already told about (names
    // starting with '*' cannot go through setName).
    static void setRecordName(AcDbSymbolTableRecord& record, const std::string& name);
    static Acad::ErrorStatus activatePaperSpace(AcDbDatabase& db, AcDbBlockTableRecord& record);
    static Acad::ErrorStatus makeCurrent(AcDbDatabase& db, AcDbLayout& layout);
};

// The host's layout manager (the one acdbHostApplicationServices()->layoutManager() gives).
AcDbLayoutManager* acdbLayoutManager();
