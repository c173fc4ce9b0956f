#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "host/base/RawTag.h"

class AcDbDatabase;
class AcDbSymbolTableRecord;
class DxfCodepage;
class DxfTagEditor;

// The part every symbol-table record shares: its name (the first 2) and
// flags (the first 70) in its own subclass. The codecs of block, layer,
// linetype, text style and application records build on it; any other
// record (OtherTableRecord) is read with it and kept as read.
class DxfSymbolTableRecordCodec {
public:
    // Reads name and flags from the tags after any subclass marker other
    // than AcDbSymbolTableRecord (anySubclass: from every tag, for records
    // the database does not model). Returns the flags.
    static int loadRecord(AcDbSymbolTableRecord& r, bool anySubclass, const DxfTag* t, size_t end,
                          const DxfCodepage& cp);

    // Calls f(tag) for each tag of the record's own subclasses, as loadRecord reads them.
    template <class F>
    static void forEachRecordTag(const DxfTag* t, size_t end, F f)
    {
        bool inRecord = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                inRecord = t[i].value() != "AcDbSymbolTableRecord";
                continue;
            }
            if (inRecord)
                f(t[i]);
        }
    }

    // Writes the name into the record's subclass (marker, or the first other
    // than AcDbSymbolTableRecord when the marker is damaged, as reading took
    // it from there). Returns that subclass's marker; empty when the record
    // has none, and then nothing is written.
    static std::string saveName(AcDbSymbolTableRecord& r, const char* marker, DxfTagEditor& ed);

    // Appends the tags every new record starts with: both subclass markers
    // and an empty name.
    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out, const char* marker);
};
