#include "host/db/AcDbText.h"

#include <cmath>
#include <cstring>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbGeometrySink.h"
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

// Programs that update texts in bulk set every property, most of them to the
// value they have; such a set leaves the text's fields as they were read, and
// saving may then keep the record's lines. Values compare as numbers (0.0 and
// -0.0 are the same, as when saving compares a value with its text).
Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p)
{
    const bool same = p.x == position_.x && p.y == position_.y && p.z == position_.z;
    position_ = p;
    return same ? assertWriteEnabledUnchanged() : assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) { alignment_ = p; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbText::setTextString(const char* text)
{
    if (!text || std::strpbrk(text, "\r\n"))
        return Acad::eInvalidInput;
    if (text_ == text)
        return assertWriteEnabledUnchanged();
    text_ = text;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setHeight(double h)
{
    if (!(h > 0.0))
        return Acad::eInvalidInput;
    const bool same = h == height_;
    height_ = h;
    return same ? assertWriteEnabledUnchanged() : assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setRotation(double r)
{
    const bool same = r == rotation_;
    rotation_ = r;
    return same ? assertWriteEnabledUnchanged() : assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setWidthFactor(double f)
{
    if (!(f > 0.0))
        return Acad::eInvalidInput;
    const bool same = f == widthFactor_;
    widthFactor_ = f;
    return same ? assertWriteEnabledUnchanged() : assertWriteEnabled();
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n)
{
    if (n.length() < 1e-12)
        return Acad::eInvalidInput;
    normal_ = n.normal();
    return assertWriteEnabled();
}

AcDbObjectId AcDbText::textStyle() const { return AcDbTextStyleTable::styleNamed(database(), style_); }

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style)
{
    if (!AcDbTextStyleTable::nameOf(style, style_))
        return Acad::eInvalidInput;
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
    std::vector<AcGePoint3d> corners;
    getBoundingPoints(corners);
    ext = AcDbExtents();
    for (const AcGePoint3d& p : corners)
        ext.addPoint(p);
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

Acad::ErrorStatus AcDbText::getBoundingPoints(std::vector<AcGePoint3d>& corners) const
{
    // Characters are counted, not bytes (the text is UTF-8).
    double count = 0.0;
    for (unsigned char c : text_)
        if ((c & 0xC0) != 0x80)
            count += 1.0;
    double width = height_ * widthFactor_ * count;
    double angle = rotation_;
    AcGePoint3d start = position_;
    double left = 0.0;
    double bottom = 0.0;
    if (horz_ == AcDb::kTextAlign || horz_ == AcDb::kTextFit) {
        // The text runs from its position to its alignment point.
        const AcGeVector3d run = alignment_ - position_;
        if (run.length() > 0.0) {
            width = run.length();
            angle = std::atan2(run.y, run.x);
        }
    } else if (!isDefaultAlignment()) {
        start = alignment_;
        if (horz_ == AcDb::kTextCenter || horz_ == AcDb::kTextMid)
            left = -width / 2.0;
        else if (horz_ == AcDb::kTextRight)
            left = -width;
        if (horz_ == AcDb::kTextMid || vert_ == AcDb::kTextVertMid)
            bottom = -height_ / 2.0;
        else if (vert_ == AcDb::kTextTop)
            bottom = -height_;
    }
    const AcGeVector3d along(std::cos(angle), std::sin(angle), 0.0);
    const AcGeVector3d up(-std::sin(angle), std::cos(angle), 0.0);
    const AcGePoint3d origin = start + along * left + up * bottom;
    corners.clear();
    corners.push_back(origin);
    corners.push_back(origin + along * width);
    corners.push_back(origin + along * width + up * height_);
    corners.push_back(origin + up * height_);
    if (!(normal_.x == 0.0 && normal_.y == 0.0 && normal_.z == 1.0)) {
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
        for (AcGePoint3d& p : corners)
            p = toWorld * p;
    }
    return Acad::eOk;
}

void AcDbText::subDrawGeometry(AcDbGeometrySink& sink) const
{
    AcDbSinkText run;
    if (getBoundingPoints(run.box) != Acad::eOk)
        return;
    run.text = text_;
    run.styleName = style_;
    run.position = position_;
    run.alignment = alignment_;
    run.horizontalMode = horz_;
    run.verticalMode = vert_;
    run.height = height_;
    run.widthFactor = widthFactor_;
    run.rotation = rotation_;
    run.oblique = oblique_;
    run.mirroredInX = isMirroredInX();
    run.mirroredInY = isMirroredInY();
    sink.text(run);
}
