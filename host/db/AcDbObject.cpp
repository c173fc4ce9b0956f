#include "host/db/AcDbObject.h"

#include <cstring>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbFileFormat.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbObjectBuilder.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbRegAppTable.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbViewport.h"

const AcRxClass* AcDbObject::desc()
{
    static const AcRxClass cls("AcDbObject", "", nullptr);
    return &cls;
}

const AcRxClass* AcDbObject::isA() const { return fileClass_ ? fileClass_ : desc(); }

AcDbObject::AcDbObject() = default;

AcDbObject::~AcDbObject()
{
    for (AcDbXDataApp& app : xdata_)
        acutRelRb(app.replaced);
}

namespace {

// The class of an object that has not been built yet, known from the kind of
// its file record alone; null when only the built object can tell (records
// kept as read report the class named by their own subclass markers).
const AcRxClass* classOfUnbuiltKind(AcDbObjectKind kind)
{
    switch (kind) {
    case AcDbObjectKind::BlockReference: return AcDbBlockReference::desc();
    case AcDbObjectKind::Attribute: return AcDbAttribute::desc();
    case AcDbObjectKind::AttributeDefinition: return AcDbAttributeDefinition::desc();
    case AcDbObjectKind::Text: return AcDbText::desc();
    case AcDbObjectKind::Polyline: return AcDbPolyline::desc();
    case AcDbObjectKind::Circle: return AcDbCircle::desc();
    case AcDbObjectKind::Line: return AcDbLine::desc();
    case AcDbObjectKind::Hatch: return AcDbHatch::desc();
    case AcDbObjectKind::Viewport: return AcDbViewport::desc();
    default: return nullptr;
    }
}

}  // namespace

const AcRxClass* AcDbObjectId::objectClass() const
{
    if (!stub_ || !stub_->database)
        return nullptr;
    // Asking for the class must not build every object a selection passes
    // over: a record read from the file answers from its kind.
    if (!stub_->object && !stub_->erased)
        if (const AcRxClass* known = classOfUnbuiltKind(static_cast<AcDbObjectKind>(stub_->kind)))
            return known;
    AcDbObject* o = stub_->database->objectOf(stub_);
    return o ? o->isA() : nullptr;
}

AcDbObjectId AcDbObject::ownerId() const { return owner_; }

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId owner)
{
    if (owner_ != owner) {
        owner_ = owner;
        if (stub_)
            stub_->owner = owner.stub();
        assertWriteEnabled();
    }
    return Acad::eOk;
}

AcDbDatabase* AcDbObject::database() const { return stub_ ? stub_->database : nullptr; }

Acad::ErrorStatus AcDbObject::assertWriteEnabled()
{
    contentModified_ = true;
    return assertWriteEnabledUnchanged();
}

Acad::ErrorStatus AcDbObject::assertWriteEnabledUnchanged()
{
    modified_ = true;
    if (stub_ && stub_->database)
        stub_->database->noteChange();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::close()
{
    if (!stub_)
        return Acad::eNotInDatabase;
    if (writer_)
        writer_ = false;
    else if (readers_ > 0)
        --readers_;
    else
        return Acad::eNotOpenForRead;
    // The database may free the object some closes later (not this one).
    if (readers_ == 0 && stub_->database)
        stub_->database->noteClosed(stub_);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen()
{
    if (writer_)
        return Acad::eWasOpenForWrite;
    if (readers_ == 0)
        return Acad::eNotOpenForRead;
    if (readers_ > 1)
        return Acad::eWasOpenForRead;
    Acad::ErrorStatus es = checkWriteOpen();
    if (es != Acad::eOk)
        return es;
    stub_->database->noteWrite(stub_);
    readers_ = 0;
    writer_ = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen()
{
    if (!writer_)
        return Acad::eNotOpenForWrite;
    writer_ = false;
    readers_ = 1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing)
{
    if (!stub_)
        return Acad::eNotInDatabase;
    if (!writer_)
        return Acad::eNotOpenForWrite;
    if (stub_->erased == erasing)
        return erasing ? Acad::eWasErased : Acad::eOk;
    stub_->erased = erasing;
    assertWriteEnabled();
    return Acad::eOk;
}

resbuf* AcDbObject::xData(const char* regappName) const
{
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (!format)
        return nullptr;
    for (const AcDbXDataApp& app : xdata_) {
        if (regappName && strcasecmp(regappName, app.name.c_str()) != 0)
            continue;
        resbuf* chain = format->builder().xdataChain(app, database());
        if (!chain)
            continue;
        if (head)
            tail->rbnext = chain;
        else
            head = chain;
        for (tail = chain; tail->rbnext; tail = tail->rbnext) {
        }
        if (regappName)
            break;
    }
    return head;
}

bool AcDbObject::hasXData(const char* regappName) const
{
    if (!regappName)
        return false;
    for (const AcDbXDataApp& app : xdata_)
        if (strcasecmp(regappName, app.name.c_str()) == 0)
            return true;
    return false;
}

bool AcDbXDataApp::textsPlainAsRead() const
{
    if (textsPlain_ < 0) {
        bool plain = true;
        for (size_t k = 1; k < fileTags.size() && plain; ++k)
            if (acutRbValueKind(fileTags[k].code) == AcRbValueKind::String)
                plain = DxfCodepage::isPrintableAscii(fileTags[k].value());
        textsPlain_ = plain ? 1 : 0;
    }
    return textsPlain_ == 1;
}

namespace {

// Whether the application's items, as read from the file and not set since,
// are the chain's items from first up to end: the same group codes and
// texts, all of them strings in printable ASCII, which read and write the
// same in every code page. Anything else counts as a change.
bool itemsAsRead(const AcDbXDataApp& app, const resbuf* first, const resbuf* end)
{
    // Every item must match, all of them strings: one text item that is not
    // printable ASCII already makes it a change.
    if (app.replaced || app.fileTags.empty() || first == end || !app.textsPlainAsRead())
        return false;
    size_t k = 1;
    for (const resbuf* p = first; p != end; p = p->rbnext, ++k) {
        if (k >= app.fileTags.size() || app.fileTags[k].code != p->restype || !p->resval.rstring ||
            acutRbValueKind(p->restype) != AcRbValueKind::String)
            return false;
        // The text read equal to the item's text to its end.
        const std::string_view read = app.fileTags[k].value();
        const char* item = p->resval.rstring;
        if (std::strncmp(item, read.data(), read.size()) != 0 || item[read.size()] != '\0')
            return false;
    }
    return k == app.fileTags.size();
}

}  // namespace

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata)
{
    if (!xdata || xdata->restype != 1001 || !xdata->resval.rstring)
        return Acad::eInvalidInput;
    // Check every application first, so a bad chain changes nothing.
    if (AcDbDatabase* db = database()) {
        AcDbRegAppTable* table = nullptr;
        if (db->data().regAppTable) {
            auto* t = static_cast<AcDbRegAppTable*>(db->objectOf(db->data().regAppTable));
            table = t;
        }
        for (const resbuf* rb = xdata; rb; rb = rb->rbnext)
            if (rb->restype == 1001 && (!rb->resval.rstring || !table || !table->has(rb->resval.rstring)))
                return Acad::eRegappIdNotFound;
    }
    bool changed = false;
    for (const resbuf* rb = xdata; rb;) {
        if (rb->restype != 1001) {
            rb = rb->rbnext;
            continue;
        }
        const char* name = rb->resval.rstring ? rb->resval.rstring : "";
        const resbuf* first = rb->rbnext;
        const resbuf* end = first;
        while (end && end->restype != 1001)
            end = end->rbnext;
        size_t i = 0;
        while (i < xdata_.size() && strcasecmp(xdata_[i].name.c_str(), name) != 0)
            ++i;
        // Items that are those read stay as read: saving then copies their
        // lines (a command often writes back the record it read unchanged).
        if (i < xdata_.size() && itemsAsRead(xdata_[i], first, end)) {
            rb = end;
            continue;
        }
        changed = true;
        // The chain set before goes first, so its nodes are reused for the copy.
        if (i < xdata_.size()) {
            acutRelRb(xdata_[i].replaced);
            xdata_[i].replaced = nullptr;
        }
        // The items are copied: the object keeps nothing of the caller's chain.
        resbuf* copy = nullptr;
        resbuf** link = &copy;
        for (const resbuf* p = first; p != end; p = p->rbnext) {
            resbuf* one = acutNewRb(p->restype);
            if (!one)
                break;
            one->resval = p->resval;
            if (acutRbValueKind(p->restype) == AcRbValueKind::String)
                one->resval.rstring = strdup(p->resval.rstring ? p->resval.rstring : "");
            *link = one;
            link = &one->rbnext;
        }
        if (!copy) {
            if (i < xdata_.size())
                xdata_.erase(xdata_.begin() + static_cast<long>(i));
        } else {
            if (i == xdata_.size())
                xdata_.emplace_back().name = name;
            xdata_[i].replaced = copy;
            xdata_[i].fileTags.clear();
        }
        rb = end;
    }
    // Extended data is saved on its own (xdataModified_): the object's
    // fields are as they were. Items set to those they were leave the
    // object as its lines stand, so it is not marked as differing from
    // them (freeing it then needs no check of its fields against its
    // lines); the drawing still counts the write as a change.
    if (changed) {
        xdataModified_ = true;
        assertWriteEnabledUnchanged();
    } else if (AcDbDatabase* db = database()) {
        db->noteChange();
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::createExtensionDictionary()
{
    if (!extDict_.isNull() && !extDict_.isErased())
        return Acad::eAlreadyInDb;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    auto* dict = new AcDbDictionary();
    dict->setTreatElementsAsHard(true);
    Acad::ErrorStatus es = db->attach(dict, objectId(), false);
    if (es != Acad::eOk) {
        delete dict;
        return es;
    }
    db->data().objects.push_back(dict->stub_);
    dict->close();
    extDict_ = dict->objectId();
    assertWriteEnabled();
    return Acad::eOk;
}
