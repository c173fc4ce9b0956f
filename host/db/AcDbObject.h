#pragma once
#include <any>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcDb.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcRxClass.h"
#include "host/db/AcadErrorStatus.h"
#include "host/db/resbuf.h"

class AcDbDatabase;
class DxfObjectIO;

// Extended data of one registered application as read from the file (kept
// verbatim) or as last set (a result-buffer chain, written on save).
struct AcDbXDataApp {
    std::string name;                 // the application name, UTF-8
    std::vector<DxfTag> fileTags;     // from the 1001 tag on, as read; empty once replaced
    resbuf* replaced = nullptr;       // owned chain without the 1001 head; null when as read

    // Whether every text item of fileTags (a group of string kind after the
    // 1001 head) is printable ASCII without a backslash, so that it reads
    // and writes the same in every code page. Worked out on first asking
    // and kept, as fileTags do not change once read: reading a record and
    // writing it back unchanged both ask, for every item.
    bool textsPlainAsRead() const;

private:
    mutable signed char textsPlain_ = -1;  // -1: not yet worked out
};

// Base of every database object. Objects read from a file are built when
// first opened; objects made with new belong to the caller until added to a
// database (appendAcDbEntity, add, setAt, addAcDbObject), then to the
// database, and the caller close()s them instead of deleting them. An object
// may be open for read by several callers or for write by one.
class AcDbObject {
public:
    AcDbObject();
    virtual ~AcDbObject();
    AcDbObject(const AcDbObject&) = delete;
    AcDbObject& operator=(const AcDbObject&) = delete;

    static const AcRxClass* desc();
    // The class of this object; for objects the database does not model, the
    // class named by their DXF data (e.g. "AcDbMText").
    virtual const AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* cls) const { return isA()->isDerivedFrom(cls); }
    // What the database models of this object (Other for objects kept as read).
    virtual AcDbObjectKind kind() const { return stub_ ? static_cast<AcDbObjectKind>(stub_->kind) : AcDbObjectKind::Other; }

    // Null until the object is added to a database.
    AcDbObjectId objectId() const { return AcDbObjectId(stub_); }
    AcDbObjectId ownerId() const;
    // Sets the owner; eOk.
    Acad::ErrorStatus setOwnerId(AcDbObjectId owner);
    AcDbDatabase* database() const;
    void getAcDbHandle(AcDbHandle& handle) const { handle = objectId().handle(); }
    AcDbHandle handle() const { return objectId().handle(); }

    // Ends one open. eNotInDatabase for an object never added (delete it instead).
    virtual Acad::ErrorStatus close();
    // Turns a read open into a write open: eWasOpenForRead when others also
    // read it, eOnLockedLayer for an entity on a locked layer.
    Acad::ErrorStatus upgradeOpen();
    // Turns a write open into a read open; eNotOpenForWrite otherwise.
    Acad::ErrorStatus downgradeOpen();
    // Erases (or un-erases) the object; eNotOpenForWrite unless open for write.
    virtual Acad::ErrorStatus erase(bool erasing = true);
    bool isErased() const { return stub_ && stub_->erased; }
    bool isReadEnabled() const { return readers_ > 0 || writer_; }
    bool isWriteEnabled() const { return writer_ || !stub_; }
    bool isNewObject() const { return stub_ && stub_->tagCount == 0; }
    // True once a setter changed the object since it was read.
    bool isModified() const { return modified_; }
    // Marks the object changed, so saving writes its fields instead of the tags read. eOk.
    Acad::ErrorStatus assertWriteEnabled();
    // True once a setter gave a field a value other than the one it had; a
    // setter given the value a field already holds leaves it false.
    bool isContentModified() const { return contentModified_; }

    // The extended data of one application (null name: of all), each headed by
    // its 1001 application name; null when there is none. The caller frees it
    // with acutRelRb.
    resbuf* xData(const char* regappName = nullptr) const;
    // Replaces the extended data of every application headed (1001) in the
    // chain; an application given with no items is removed. eInvalidInput when
    // the chain does not start with 1001; eRegappIdNotFound when an
    // application is not registered in the object's database.
    Acad::ErrorStatus setXData(const resbuf* xdata);
    // True when the object holds extended data of the application (name
    // compared ignoring case, as xData does); false for a null name.
    bool hasXData(const char* regappName) const;
    // The texts xData(regappName) would give as group 1000 items, in order,
    // without building the chain: each a view of the file's text, of the
    // chain set last, or of a text in decoded (those that needed decoding).
    // The views last while the object stays open and unchanged. False, with
    // no texts, when the object has no extended data of the application.
    bool xDataTexts(const char* regappName, std::vector<std::string_view>& texts,
                    std::list<std::string>& decoded) const;

    AcDbObjectId extensionDictionary() const { return extDict_; }
    // Creates an empty extension dictionary; eAlreadyInDb when there is one,
    // eNotInDatabase when the object is not in a database.
    Acad::ErrorStatus createExtensionDictionary();

    // Undo support (database internals): what the object keeps besides its
    // DXF tags (a table's records, a block's entities), empty for most
    // objects; setUndoLinks puts it back after the object was built again
    // from its tags.
    virtual std::any undoLinks() const { return {}; }
    virtual void setUndoLinks(const std::any&) {}
    // Ends every open of the object (a command broken off left it open).
    void closeAll() { readers_ = 0; writer_ = false; }

protected:
    // For a setter given the value the field already holds: the object is
    // modified as after any setter (saving it writes its fields), but its
    // fields are still those it was built with. eOk.
    Acad::ErrorStatus assertWriteEnabledUnchanged();
    // Lets an entity refuse a write open (locked layer).
    virtual Acad::ErrorStatus checkWriteOpen() const { return Acad::eOk; }

    // For objects the database does not model: the class named by their file data.
    const AcRxClass* fileClass_ = nullptr;
    std::unique_ptr<AcRxClass> ownClass_;

private:
    friend class AcDbDatabase;
    friend class DxfObjectIO;

    AcDbStub* stub_ = nullptr;
    AcDbObjectId owner_;
    AcDbObjectId extDict_;
    bool extDictFromFile_ = false;
    int readers_ = 0;
    uint64_t lastUse_ = 0;  // when the database last handed the object out (AcDbDatabase::objectOf)
    bool writer_ = false;
    bool modified_ = false;
    bool contentModified_ = false;
    bool xdataModified_ = false;
    std::vector<AcDbXDataApp> xdata_;
    // The tags an object of a kind freed after its close was built from,
    // split from the lines at readFrom_: writing it out when it is freed
    // starts from them instead of splitting its lines again. They serve
    // while its stub's lines are still those (see DxfObjectIO::tagsFor).
    std::vector<DxfTag> readTags_;
    const char* readFrom_ = nullptr;
};
