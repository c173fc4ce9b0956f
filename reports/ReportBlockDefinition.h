#pragma once
// A block definition that a graphic report draws into (legend, swatch, pie
// chart): made empty before drawing, and taken back whole when drawing
// fails, so a drawing never keeps half a legend or half a pie.
//
// A definition of that name that already exists is emptied and drawn into
// again rather than erased, so references to it (an earlier legend placed
// in the drawing, a table cell showing a swatch) show the new content.

#include <string>

#include "host/db/AcDbObjectId.h"

class AcDbDatabase;

class CReportBlockDefinition {
public:
    // Makes (or empties) the definition of that name, origin (0, 0, 0).
    // Throws the host-error chain when the block table refuses it (a name
    // the host does not accept, for one).
    CReportBlockDefinition(AcDbDatabase* database, const std::string& name);
    // Erases what was drawn unless keep() was called: the whole definition
    // when it was made here, its entities when it existed before.
    ~CReportBlockDefinition();
    CReportBlockDefinition(const CReportBlockDefinition&) = delete;
    CReportBlockDefinition& operator=(const CReportBlockDefinition&) = delete;

    AcDbObjectId id() const { return id_; }
    // The drawing is complete: keep it.
    void keep() { kept_ = true; }

private:
    AcDbObjectId id_;
    bool made_ = false;
    bool kept_ = false;
};
