#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcDbObject.h"
#include "host/db/AcDbSymbolNames.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;

// A symbol table: the ordered, uniquely named records of one kind. Lookups
// ignore case, as CAD programs do.
class AcDbSymbolTable : public AcDbObject {
public:
    AcDbSymbolTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override;
    AcDbObjectKind kind() const override { return AcDbObjectKind::SymbolTable; }

    // The record's id; eKeyNotFound when there is none (erased ones count as missing).
    Acad::ErrorStatus getAt(const char* name, AcDbObjectId& id, bool getErased = false) const;
    // Opens the named record; eKeyNotFound, or the open status.
    Acad::ErrorStatus getAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                            bool openErased = false) const;
    bool has(const char* name) const;
    bool has(AcDbObjectId id) const;
    // Adds a new record (the table open for write): eDuplicateRecordName for
    // a taken name, eInvalidInput for a bad name or a record of the wrong
    // kind, eNotOpenForWrite. The record is then open for write; close it.
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record)
    {
        AcDbObjectId id;
        return add(id, record);
    }
    // An iterator over the records in order; the caller deletes it. eOk.
    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    // The record ids in order, erased ones left out.
    std::vector<AcDbObjectId> recordIds() const;
    // The DXF name of the records this table holds ("LAYER", "BLOCK_RECORD", ...).
    const std::string& recordType() const { return recordType_; }

    // Called by a record being renamed: eDuplicateRecordName when another holds the name.
    Acad::ErrorStatus rename(AcDbStub* record, const std::string& oldName, const std::string& newName);
    // The record that a name stored in another object (a block reference's
    // block name, as read from the file) stands for: the record that held the
    // name before being renamed, else the record holding it now. Null when
    // neither exists or the record is erased.
    AcDbStub* resolveStoredName(std::string_view name) const;
    // The record renamed away from the name, while it is not erased; null
    // when no record was renamed from it.
    AcDbStub* renamedFrom(std::string_view name) const;
    // True once any record of the table was renamed.
    bool hasRenames() const { return !renamedFrom_.empty(); }
    // Registers a record read from a file.
    void adoptRecord(AcDbStub* record, const std::string& name);
    // Makes room for as many records before a file's are adopted.
    void reserveRecords(size_t count);

    // The records and names, which the table's tags do not hold.
    std::any undoLinks() const override;
    void setUndoLinks(const std::any& links) override;

protected:
    // The record kind this table accepts.
    virtual bool accepts(const AcDbSymbolTableRecord* record) const;
    // True for the block table when a BLOCK read without a record (a damaged
    // file, kept as read) has the name: no record may take it.
    bool heldByOrphanBlock(std::string_view name) const;

private:
    friend class DxfSymbolTableCodec;

    std::string recordType_;
    std::vector<AcDbStub*> records_;
    AcDbSymbolNames byName_;
    // Each name a record was renamed away from, with the first record that
    // left it: names stored elsewhere keep meaning that record.
    AcDbSymbolNames renamedFrom_;
};
