#include "host/db/AcDbText.h"

#include <cmath>
#include <cstring>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbTextStyleTable.h"

const AcRxClass* AcDbText::desc()
{
    static const AcRxClass cls("AcDbText", "TEXT", AcDbEntity::desc());
    return &cls;
}

AcDbText::AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style, double height, double rotation)
    : position_(position), text_(text ? text : ""), rotation_(rotation)
{
    if (height > 0.0)
        height_ = height;
    if (!style.isNull())
        setTextStyle(style);
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) { position_ = p; return assertWriteEnabled(); }
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) { alignment_ = p; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbText::setTextString(const char* text)
{
    if (!text || std::strpbrk(text, "\r\n"))
        return Acad::eInvalidInput;
    text_ = text;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setHeight(double h)
{
    if (!(h > 0.0))
        return Acad::eInvalidInput;
    height_ = h;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setRotation(double r) { rotation_ = r; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbText::setWidthFactor(double f)
{
    if (!(f > 0.0))
        return Acad::eInvalidInput;
    widthFactor_ = f;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setOblique(double r) { oblique_ = r; return assertWriteEnabled(); }
Acad::ErrorStatus AcDbText::setThickness(double t) { thickness_ = t; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n)
{
    if (n.length() < 1e-12)
        return Acad::eInvalidInput;
    normal_ = n.normal();
    return assertWriteEnabled();
}

AcDbObjectId AcDbText::textStyle() const
{
    AcDbDatabase* db = database();
    if (!db || !db->data().textStyleTable)
        return {};
    auto* table = static_cast<AcDbTextStyleTable*>(db->objectOf(db->data().textStyleTable));
    AcDbObjectId id;
    if (table->getAt(style_.c_str(), id) != Acad::eOk)
        table->getAt("Standard", id);
    return id;
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style)
{
    AcDbStub* s = style.stub();
    if (!s || s->kind != static_cast<uint16_t>(AcDbObjectKind::TextStyleTableRecord))
        return Acad::eInvalidInput;
    style_ = static_cast<AcDbSymbolTableRecord*>(s->database->objectOf(s))->name();
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode m) { horz_ = m; return assertWriteEnabled(); }
Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode m) { vert_ = m; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& m)
{
    // Direction and height follow the transformed baseline and up vectors.
    AcGeVector3d dir(std::cos(rotation_), std::sin(rotation_), 0.0);
    AcGeVector3d up(-std::sin(rotation_), std::cos(rotation_), 0.0);
    AcGePoint3d p0 = m * position_;
    AcGePoint3d px = m * (position_ + dir);
    AcGePoint3d py = m * (position_ + up);
    AcGeVector3d ndir = px - p0;
    AcGeVector3d nup = py - p0;
    double sx = ndir.length();
    double sy = nup.length();
    if (sx < 1e-300 || sy < 1e-300)
        return Acad::eCannotScaleNonUniformly;
    position_ = p0;
    alignment_ = m * alignment_;
    rotation_ = std::atan2(ndir.y, ndir.x);
    if (rotation_ < 0)
        rotation_ += 2 * 3.14159265358979323846;
    height_ *= sy;
    widthFactor_ *= sx / sy;
    AcGeVector3d n = ndir.crossProduct(nup);
    if (n.length() > 1e-12)
        normal_ = n.normal();
    if (normal_.z < 0) {
        normal_ = AcGeVector3d(0, 0, 1);
        generation_ ^= 2;
    }
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& ext) const
{
    double w = height_ * widthFactor_ * static_cast<double>(text_.size());
    AcGeVector3d dir(std::cos(rotation_), std::sin(rotation_), 0.0);
    AcGeVector3d up(-std::sin(rotation_), std::cos(rotation_), 0.0);
    AcGePoint3d base = isDefaultAlignment() ? position_ : alignment_;
    ext = AcDbExtents();
    ext.addPoint(base);
    ext.addPoint(base + dir * w);
    ext.addPoint(base + up * height_);
    ext.addPoint(base + dir * w + up * height_);
    return Acad::eOk;
}

void AcDbText::copyTextTo(AcDbText& o) const
{
    copyEntityPropertiesTo(o);
    o.position_ = position_;
    o.alignment_ = alignment_;
    o.text_ = text_;
    o.height_ = height_;
    o.rotation_ = rotation_;
    o.widthFactor_ = widthFactor_;
    o.oblique_ = oblique_;
    o.thickness_ = thickness_;
    o.normal_ = normal_;
    o.style_ = style_;
    o.horz_ = horz_;
    o.vert_ = vert_;
    o.generation_ = generation_;
}

AcDbEntity* AcDbText::clone() const
{
    auto* t = new AcDbText();
    copyTextTo(*t);
    return t;
}
