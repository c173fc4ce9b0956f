#pragma once
#include "host/db/AcDbHyperlinkCollection.h"
#include "host/db/AcadErrorStatus.h"

class AcDbObject;

// The hyperlink protocol extension of entities. Links live in the entity's
// extended data of the registered application "PE_URL", as CAD programs
// store them: per link "1000 <address>", then, when there is a description,
// sub-location or flag, "1002 {" "1000 <description>" ["1000 <sub-location>"]
// "1002 {" "1071 <flag>" "1002 }" "1002 }".
class AcDbEntityHyperlinkPE {
public:
    // The extension for an object: non-null for entities, null otherwise.
    static AcDbEntityHyperlinkPE* cast(const AcDbObject* object);

    // A new collection (the caller deletes it) with the object's links, only
    // the first when oneOnly; eNullObjectPointer for a null object.
    Acad::ErrorStatus getHyperlinkCollection(const AcDbObject* object, AcDbHyperlinkCollection*& links,
                                             bool oneOnly = false, bool ignoreBlockDefinition = true) const;
    // Replaces the object's links (an empty or null collection removes them),
    // registering "PE_URL" in its database; eNullObjectPointer for a null
    // object, else the status of the write (e.g. eNotOpenForWrite).
    Acad::ErrorStatus setHyperlinkCollection(AcDbObject* object, const AcDbHyperlinkCollection* links) const;
};
