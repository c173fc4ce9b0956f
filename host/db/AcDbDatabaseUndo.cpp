// The undo side of AcDbDatabase: opening and ending the record of a
// command, and undoing and redoing kept records.
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbUndoRecord.h"

void AcDbDatabase::beginUndoRecord(const std::string& name)
{
    if (d_->undo)
        endUndoRecord();
    d_->undo = std::make_unique<AcDbUndoRecord>(*this, name);
}

bool AcDbDatabase::endUndoRecord()
{
    std::unique_ptr<AcDbUndoRecord> record = std::move(d_->undo);
    if (!record || record->empty())
        return false;
    d_->undoRecords.push_back(std::move(record));
    d_->redoRecords.clear();
    d_->redoGroups.clear();
    return true;
}

void AcDbDatabase::cancelUndoRecord()
{
    std::unique_ptr<AcDbUndoRecord> record = std::move(d_->undo);
    // A command broken off by an exception may have left objects open.
    for (AcDbStub& s : d_->stubs)
        if (s.object)
            s.object->closeAll();
    if (record)
        record->swap();
}

std::vector<std::string> AcDbDatabase::undo(int count)
{
    std::vector<std::string> names;
    if (d_->undo)
        endUndoRecord();
    for (; count > 0 && !d_->undoRecords.empty(); --count) {
        std::unique_ptr<AcDbUndoRecord> record = std::move(d_->undoRecords.back());
        d_->undoRecords.pop_back();
        record->swap();
        names.push_back(record->name());
        d_->redoRecords.push_back(std::move(record));
    }
    if (!names.empty()) {
        d_->redoGroups.push_back(names.size());
        // The drawing now differs from what was last saved or loaded.
        noteChange();
    }
    return names;
}

std::vector<std::string> AcDbDatabase::redo()
{
    std::vector<std::string> names;
    if (d_->undo)
        endUndoRecord();
    if (d_->redoGroups.empty())
        return names;
    size_t count = d_->redoGroups.back();
    d_->redoGroups.pop_back();
    for (; count > 0 && !d_->redoRecords.empty(); --count) {
        std::unique_ptr<AcDbUndoRecord> record = std::move(d_->redoRecords.back());
        d_->redoRecords.pop_back();
        record->swap();
        names.push_back(record->name());
        d_->undoRecords.push_back(std::move(record));
    }
    if (!names.empty())
        noteChange();
    return names;
}

size_t AcDbDatabase::undoDepth() const { return d_->undoRecords.size(); }
size_t AcDbDatabase::redoDepth() const { return d_->redoRecords.size(); }

void AcDbDatabase::noteWrite(AcDbStub* stub)
{
    if (d_->undo)
        d_->undo->noteWrite(stub);
}

void AcDbDatabase::noteListsChange()
{
    if (d_->undo)
        d_->undo->noteListsChange();
}
