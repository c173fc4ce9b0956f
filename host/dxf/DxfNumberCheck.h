#pragma once
#include <string>
#include <vector>

#include "host/dxf/DxfReadResult.h"
#include "host/db/AcDbObjectKind.h"
#include "host/dxf/DxfTag.h"

class AcDbDatabase;
class DxfTagList;
struct AcDbStub;

// Makes reading a file strict about the numbers the database models. While a
// check is alive on a thread, every malformed number met in a modelled field
// (DxfValue::fieldReal/fieldInt/fieldHandle) is reported to it and the first
// one kept. Whole numbers of the kinds the database models are checked
// even where it derives them itself (an LWPOLYLINE's vertex count), as
// other readers refuse them. finish() then checks each object of the drawing that was not
// built yet: one whose reader parses tags by their value kind alone and
// whose numbers all read so is passed; any other is built once, to read all
// its modelled fields. The numbers of extended data are checked too; the
// file fails to load on the first malformed one.
// Tags the database does not model are never parsed, so they stay as read.
// Checks nest: the innermost one alive gets the reports.
class DxfNumberCheck {
public:
    DxfNumberCheck();
    ~DxfNumberCheck();
    DxfNumberCheck(const DxfNumberCheck&) = delete;
    DxfNumberCheck& operator=(const DxfNumberCheck&) = delete;

    // Reports a malformed value of a modelled field (what: "a real number", ...);
    // ignored when no check is alive or one was already reported.
    static void report(const DxfTag& tag, const char* what);

    // Reports the first malformed number of an object kept as tags only (a
    // block without a record): every number of its data part when the
    // database models its kind, and those of its extended data.
    static void checkRaw(const DxfTag* tags, size_t n, AcDbObjectKind kind);

    // True when an object of kind with these tags has nothing for finish()
    // to report: every number of its data part and extended data reads as
    // its value kind. The reader marks such stubs (AcDbStub::numbersClean),
    // and finish() passes them without splitting their text again.
    // The object's tags are the n of the file's tag list from first on.
    // xdata is set to whether they hold extended data (a 1001 group), which
    // the reader keeps too (AcDbStub::xdataRead).
    static bool clean(const DxfTagList& list, size_t first, size_t n, AcDbObjectKind kind, bool& xdata);

    // Checks the objects the reader found not clean (see clean), in the
    // order read, as above; the others have nothing to report. eOk, or
    // eBadDxfSequence with the value's line and a message naming the file,
    // the line, what was expected and what was found, and the object's type,
    // handle and group code.
    DxfReadResult finish(AcDbDatabase& db, const std::string& fileName, const std::vector<AcDbStub*>& unclean);

    // True once a malformed value was reported.
    bool failed() const { return hasBad_; }

private:
    DxfNumberCheck* previous_;
    DxfTag bad_;
    const char* what_ = "";
    bool hasBad_ = false;
};
