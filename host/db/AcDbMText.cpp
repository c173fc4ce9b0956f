#include "host/db/AcDbMText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbMTextFormat.h"
#include "host/db/AcDbTextStyleTable.h"

namespace {

// Baseline to baseline at a line-spacing factor of 1, per unit of text height.
constexpr double kLineSpacing = 5.0 / 3.0;

}  // namespace

const AcRxClass* AcDbMText::desc()
{
    static const AcRxClass cls("AcDbMText", "MTEXT", AcDbEntity::desc());
    return &cls;
}

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& p) { location_ = p; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbMText::setTextHeight(double h)
{
    if (!(h > 0.0))
        return Acad::eInvalidInput;
    height_ = h;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setWidth(double w)
{
    if (!(w >= 0.0))
        return Acad::eInvalidInput;
    width_ = w;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint a)
{
    if (a < kTopLeft || a > kBottomRight)
        return Acad::eInvalidInput;
    attachment_ = a;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setDirection(const AcGeVector3d& d)
{
    if (d.length() < 1e-12)
        return Acad::eInvalidInput;
    direction_ = d.normal();
    return assertWriteEnabled();
}

double AcDbMText::rotation() const
{
    const AcGeVector3d d = AcGeMatrix3d::worldToPlane(normal_) * direction_;
    const double a = std::atan2(d.y, d.x);
    return a < 0.0 ? a + 2.0 * 3.14159265358979323846 : a;
}

Acad::ErrorStatus AcDbMText::setRotation(double radians)
{
    direction_ = AcGeMatrix3d::planeToWorld(normal_) * AcGeVector3d(std::cos(radians), std::sin(radians), 0.0);
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& n)
{
    if (n.length() < 1e-12)
        return Acad::eInvalidInput;
    const double r = rotation();
    normal_ = n.normal();
    // The direction keeps its angle in the new plane.
    direction_ = AcGeMatrix3d::planeToWorld(normal_) * AcGeVector3d(std::cos(r), std::sin(r), 0.0);
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setLineSpacingFactor(double f)
{
    if (!(f >= 0.25 && f <= 4.0))
        return Acad::eInvalidInput;
    lineSpacingFactor_ = f;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setLineSpacingStyle(LineSpacingStyle s)
{
    lineSpacingStyle_ = s == kExactly ? kExactly : kAtLeast;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::setContents(const char* text)
{
    if (!text || std::strpbrk(text, "\r\n"))
        return Acad::eInvalidInput;
    contents_ = text;
    return assertWriteEnabled();
}

std::string AcDbMText::text() const { return AcDbMTextFormat::plainText(contents_); }

AcDbObjectId AcDbMText::textStyle() const { return AcDbTextStyleTable::styleNamed(database(), style_); }

Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId style)
{
    if (!AcDbTextStyleTable::nameOf(style, style_))
        return Acad::eInvalidInput;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbMText::getBoundingPoints(std::vector<AcGePoint3d>& corners) const
{
    // Lines as the paragraphs wrap at the reference width, each character
    // as wide as its run is high.
    double widest = 0.0;
    int lines = 0;
    for (const AcDbMTextParagraph& p : AcDbMTextFormat::parse(contents_, height_)) {
        double length = 0.0;
        for (const AcDbMTextRun& r : p.runs)
            for (unsigned char c : r.text)
                if ((c & 0xC0) != 0x80)
                    length += r.height * r.widthFactor;
        if (width_ > 0.0 && length > width_) {
            lines += static_cast<int>(std::ceil(length / width_));
            widest = width_;
        } else {
            lines += 1;
            widest = std::max(widest, length);
        }
    }
    const double w = width_ > 0.0 ? std::max(width_, widest) : widest;
    const double h = height_ + (std::max(lines, 1) - 1) * kLineSpacing * height_ * lineSpacingFactor_;
    const int column = (attachment_ - 1) % 3, row = (attachment_ - 1) / 3;
    const double left = column == 0 ? 0.0 : column == 1 ? -w / 2.0 : -w;
    const double bottom = row == 0 ? -h : row == 1 ? -h / 2.0 : 0.0;
    const AcGeVector3d along = direction_;
    const AcGeVector3d up = normal_.crossProduct(direction_).normal();
    const AcGePoint3d origin = location_ + along * left + up * bottom;
    corners = {origin, origin + along * w, origin + along * w + up * h, origin + up * h};
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::getGeomExtents(AcDbExtents& ext) const
{
    std::vector<AcGePoint3d> corners;
    getBoundingPoints(corners);
    ext = AcDbExtents();
    for (const AcGePoint3d& p : corners)
        ext.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& m)
{
    const AcGeVector3d up = normal_.crossProduct(direction_);
    const AcGePoint3d p0 = m * location_;
    const AcGeVector3d along = (m * (location_ + direction_)) - p0;
    const AcGeVector3d upNew = (m * (location_ + up)) - p0;
    const double sx = along.length(), sy = upNew.length();
    if (sx < 1e-300 || sy < 1e-300)
        return Acad::eCannotScaleNonUniformly;
    location_ = p0;
    direction_ = along.normal();
    const AcGeVector3d n = along.crossProduct(upNew);
    if (n.length() > 1e-300)
        normal_ = n.normal();
    height_ *= sy;
    width_ *= sx;
    return assertWriteEnabled();
}

AcDbEntity* AcDbMText::clone() const
{
    auto* t = new AcDbMText();
    copyEntityPropertiesTo(*t);
    t->location_ = location_;
    t->height_ = height_;
    t->width_ = width_;
    t->attachment_ = attachment_;
    t->direction_ = direction_;
    t->normal_ = normal_;
    t->lineSpacingFactor_ = lineSpacingFactor_;
    t->lineSpacingStyle_ = lineSpacingStyle_;
    t->contents_ = contents_;
    t->style_ = style_;
    return t;
}

void AcDbMText::subDrawGeometry(AcDbGeometrySink& sink) const
{
    AcDbSinkMText run;
    run.paragraphs = AcDbMTextFormat::parse(contents_, height_);
    run.styleName = style_;
    run.location = location_;
    run.direction = direction_;
    run.normal = normal_;
    run.height = height_;
    run.width = width_;
    run.attachment = attachment_;
    run.lineSpacingFactor = lineSpacingFactor_;
    run.exactSpacing = lineSpacingStyle_ == kExactly;
    getBoundingPoints(run.box);
    sink.mtext(run);
}
