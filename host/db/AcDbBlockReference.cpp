#include "host/db/AcDbBlockReference.h"

#include <algorithm>
#include <cmath>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/ge/BlockTransform.h"

const AcRxClass* AcDbBlockReference::desc()
{
    static const AcRxClass cls("AcDbBlockReference", "INSERT", AcDbEntity::desc());
    return &cls;
}

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord) : position_(position)
{
    if (!blockTableRecord.isNull())
        setBlockTableRecord(blockTableRecord);
}

AcDbBlockReference::~AcDbBlockReference() = default;

AcDbObjectId AcDbBlockReference::blockTableRecord() const
{
    AcDbDatabase* db = database();
    if (!db || !db->data().blockTable)
        return {};
    // Once resolved, the reference keeps its definition through renames;
    // the stored name is only looked up again if the definition was erased.
    if (block_ && !block_->erased && block_->database == db)
        return AcDbObjectId(block_);
    auto* table = static_cast<AcDbBlockTable*>(db->objectOf(db->data().blockTable));
    block_ = table->resolveStoredName(blockName_);
    return AcDbObjectId(block_);
}

const char* AcDbBlockReference::blockName() const
{
    if (AcDbStub* s = blockTableRecord().stub())
        return static_cast<AcDbSymbolTableRecord*>(s->database->objectOf(s))->name().c_str();
    return blockName_.c_str();
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id)
{
    AcDbStub* s = id.stub();
    if (!s || s->kind != static_cast<uint8_t>(AcDbObjectKind::BlockTableRecord))
        return Acad::eInvalidInput;
    blockName_ = static_cast<AcDbSymbolTableRecord*>(s->database->objectOf(s))->name();
    block_ = s;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) { position_ = p; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s)
{
    if (s.sx == 0.0 || s.sy == 0.0 || s.sz == 0.0)
        return Acad::eInvalidInput;
    scale_ = s;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double r) { rotation_ = r; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n)
{
    if (n.length() < 1e-12)
        return Acad::eInvalidInput;
    normal_ = n.normal();
    return assertWriteEnabled();
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const
{
    AcGePoint3d base;
    AcDbObjectId rec = blockTableRecord();
    if (AcDbStub* s = rec.stub())
        base = static_cast<AcDbBlockTableRecord*>(s->database->objectOf(s))->origin();
    // The stored position is world for the usual +Z normal; the block
    // transform wants it in the object coordinate system.
    AcGePoint3d ocs = AcGeMatrix3d::worldToPlane(normal_) * position_;
    if (normal_.x == 0.0 && normal_.y == 0.0 && normal_.z == 1.0)
        ocs = position_;
    return acgeBlockTransform(ocs, scale_, rotation_, normal_, base);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const
{
    auto* iterator = new AcDbObjectIterator();
    if (stub_ref())
        for (AcDbStub* s : *stub_ref())
            if (s->kind == static_cast<uint8_t>(AcDbObjectKind::Attribute))
                iterator->append(AcDbObjectId(s));
    iterator->start();
    return iterator;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute)
{
    id.setNull();
    AcDbDatabase* db = database();
    if (!attribute)
        return Acad::eInvalidInput;
    if (!db)
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Acad::ErrorStatus es = db->attach(attribute, objectId(), true);
    if (es != Acad::eOk)
        return es;
    AcDbStub* self = objectId().stub();
    if (!self->subs)
        self->subs = std::make_unique<std::vector<AcDbStub*>>();
    auto& subs = *self->subs;
    bool hasSeqend = !subs.empty() && subs.back()->kind == static_cast<uint8_t>(AcDbObjectKind::SequenceEnd);
    if (!hasSeqend) {
        auto* seqend = new AcDbEntity();
        db->attach(seqend, objectId(), true);
        seqend->objectId().stub()->kind = static_cast<uint8_t>(AcDbObjectKind::SequenceEnd);
        seqend->setLayer(layer());
        seqend->close();
        subs.push_back(seqend->objectId().stub());
    }
    subs.insert(subs.end() - 1, attribute->objectId().stub());
    id = attribute->objectId();
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& m)
{
    AcGeMatrix3d combined = m * blockTransform();
    AcGePoint3d o;
    AcGeVector3d x, y, z;
    combined.getCoordSystem(o, x, y, z);
    double sx = x.length(), sy = y.length(), sz = z.length();
    if (sx < 1e-300 || sy < 1e-300 || sz < 1e-300)
        return Acad::eCannotScaleNonUniformly;
    AcGeVector3d n = x.crossProduct(y).normal();
    if (n.dotProduct(z) < 0)
        sz = -sz;
    // Keep a +Z normal under mirroring by mirroring the X scale instead.
    if (normal_.z > 0 && n.z < 0) {
        n = -n;
        sx = -sx;
        x = -x;
        sz = -sz;
    }
    normal_ = n;
    AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(normal_);
    AcGeVector3d xo = toPlane * x;
    rotation_ = std::atan2(xo.y, xo.x);
    if (rotation_ < 0)
        rotation_ += 2 * 3.14159265358979323846;
    scale_ = AcGeScale3d(sx, sy, sz);
    position_ = m * position_;
    if (stub_ref())
        for (AcDbStub* s : *stub_ref())
            if (s->kind == static_cast<uint8_t>(AcDbObjectKind::Attribute))
                if (auto* a = static_cast<AcDbAttribute*>(s->database->objectOf(s)))
                    a->transformBy(m);
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& ext) const
{
    std::vector<const AcDbStub*> path;
    return nestedExtents(ext, path);
}

Acad::ErrorStatus AcDbBlockReference::nestedExtents(AcDbExtents& ext, std::vector<const AcDbStub*>& path) const
{
    ext = AcDbExtents();
    AcDbObjectId rec = blockTableRecord();
    if (rec.isNull() || path.size() >= AcDbGeometrySink::kMaxDepth ||
        std::find(path.begin(), path.end(), rec.stub()) != path.end())
        return Acad::eInvalidExtents;
    path.push_back(rec.stub());
    auto* block = static_cast<AcDbBlockTableRecord*>(rec.database()->objectOf(rec.stub()));
    AcGeMatrix3d xf = blockTransform();
    for (AcDbStub* s : block->entities) {
        if (s->erased || s->kind == static_cast<uint8_t>(AcDbObjectKind::AttributeDefinition))
            continue;
        auto* e = dynamic_cast<AcDbEntity*>(s->database->objectOf(s));
        if (!e || e == this)
            continue;
        AcDbExtents one;
        const auto* nested = dynamic_cast<const AcDbBlockReference*>(e);
        if ((nested ? nested->nestedExtents(one, path) : e->getGeomExtents(one)) == Acad::eOk) {
            one.transformBy(xf);
            ext.addExt(one);
        }
    }
    path.pop_back();
    if (stub_ref())
        for (AcDbStub* s : *stub_ref())
            if (!s->erased && s->kind == static_cast<uint8_t>(AcDbObjectKind::Attribute)) {
                AcDbExtents one;
                if (auto* a = static_cast<AcDbAttribute*>(s->database->objectOf(s)); a && !a->isInvisible()
                    && a->getGeomExtents(one) == Acad::eOk)
                    ext.addExt(one);
            }
    return ext.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

void AcDbBlockReference::subDrawGeometry(AcDbGeometrySink& sink) const
{
    // The definition's entities where the reference places them, nested
    // references with their own transforms; then the reference's attributes,
    // which stand in the space the reference lives in. Attribute definitions
    // are templates for those attributes and are not drawn, except constant
    // ones: they never become attributes and are shown as part of the block
    // (a pie chart's labels and title are made that way).
    AcDbObjectId rec = blockTableRecord();
    if (!rec.isNull() && sink.pushTransform(rec.stub(), blockTransform())) {
        auto* block = static_cast<AcDbBlockTableRecord*>(rec.database()->objectOf(rec.stub()));
        for (AcDbStub* s : block->entities) {
            if (s->erased)
                continue;
            auto* e = dynamic_cast<AcDbEntity*>(s->database->objectOf(s));
            if (s->kind == static_cast<uint8_t>(AcDbObjectKind::AttributeDefinition)) {
                auto* definition = dynamic_cast<AcDbAttributeDefinition*>(e);
                if (!definition || !definition->isConstant() || definition->isInvisible())
                    continue;
            }
            if (e && e != this)
                e->drawGeometry(sink);
        }
        sink.popTransform();
    }
    if (stub_ref())
        for (AcDbStub* s : *stub_ref())
            if (!s->erased && s->kind == static_cast<uint8_t>(AcDbObjectKind::Attribute))
                if (auto* a = static_cast<AcDbAttribute*>(s->database->objectOf(s)))
                    a->drawGeometry(sink);
}

AcDbEntity* AcDbBlockReference::clone() const
{
    auto* r = new AcDbBlockReference();
    copyEntityPropertiesTo(*r);
    r->blockName_ = blockName();
    r->block_ = blockTableRecord().stub();
    r->position_ = position_;
    r->scale_ = scale_;
    r->rotation_ = rotation_;
    r->normal_ = normal_;
    return r;
}

Acad::ErrorStatus AcDbBlockReference::erase(bool erasing)
{
    Acad::ErrorStatus es = AcDbEntity::erase(erasing);
    if (es != Acad::eOk)
        return es;
    if (stub_ref())
        for (AcDbStub* s : *stub_ref()) {
            database()->noteWrite(s);
            s->erased = erasing;
        }
    return Acad::eOk;
}

std::vector<AcDbStub*>* AcDbBlockReference::stub_ref() const
{
    AcDbStub* s = objectId().stub();
    return s && s->subs ? s->subs.get() : nullptr;
}
