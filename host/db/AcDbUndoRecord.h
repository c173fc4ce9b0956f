#pragma once
#include <any>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbDatabaseData.h"

class AcDbDatabase;

// What one command changed in a drawing database, kept so that the change
// can be taken back and done again. The database notes each object just
// before its first write in the command (AcDbDatabase::noteWrite); the
// record then keeps the object's state as it stood: its DXF tags (the tags it
// was read with while unchanged, otherwise the tags saving would write), its
// erased flag, owner and attached sub-entities, and what a table or block
// holds besides its tags. Objects the command made are noted as new: they
// do not exist in the state before. The database's entity, object and block lists are
// kept at the first change, the header values when the record begins.
class AcDbUndoRecord {
public:
    AcDbUndoRecord(AcDbDatabase& db, std::string name);
    AcDbUndoRecord(const AcDbUndoRecord&) = delete;
    AcDbUndoRecord& operator=(const AcDbUndoRecord&) = delete;

    // The name the record was begun with (the command's).
    const std::string& name() const { return name_; }
    // Keeps the stub's state unless the record holds it already.
    void noteWrite(AcDbStub* stub);
    // Takes a stub made while the record is open as one of its new objects.
    void noteNew(AcDbStub* stub);
    // Keeps the database's lists unless the record holds them already.
    void noteListsChange();
    // True when the command changed nothing.
    bool empty() const;
    // Puts the database back to the state the record holds and keeps the
    // state it replaces instead, so the next swap does the command again.
    // Every object the record touches must be closed; objects of other
    // stubs are not touched.
    void swap();

private:
    // One object's state, as far as the record needs it.
    struct State {
        bool present = true;               // false: the object does not exist (made by the command)
        uint64_t textOffset = 0;           // the tags, as AcDbStub keeps them
        uint32_t textLength = 0;
        uint32_t tagCount = 0;
        bool tagsKept = false;
        bool textWritten = false;
        uint8_t ownerValueAt = 0;          // as AcDbStub keeps it with those lines
        bool erased = false;
        bool inBlocksSection = false;
        AcDbStub* owner = nullptr;
        std::unique_ptr<std::vector<AcDbStub*>> subs;  // null: none
        std::any links;                    // what the built object keeps besides its tags
    };
    struct Entry {
        AcDbStub* stub = nullptr;
        State state;
    };
    // The database-wide part.
    struct Lists {
        std::vector<AcDbStub*> entities;
        std::vector<AcDbStub*> objects;
        std::vector<AcDbBlockEntry> blocks;
        std::vector<AcDbStub*> tables;
        AcDbStub* modelSpace = nullptr;
        AcDbStub* paperSpace = nullptr;
    };

    State capture(AcDbStub* stub);
    void restore(AcDbStub* stub, State& state);
    Lists currentLists() const;
    void setLists(Lists& lists);

    AcDbDatabase& db_;
    std::string name_;
    // A command may note a few hundred thousand objects: kept in blocks
    // that never move, not in one array copied as it grows.
    std::deque<Entry> entries_;
    // This record's mark on the stubs it noted (AcDbStub::undoNoted).
    const uint32_t serial_;
    AcDbHeaderValues header_;
    std::unique_ptr<Lists> lists_;
};
