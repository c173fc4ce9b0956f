#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

// Multiline text: contents with inline format codes (see AcDbMTextFormat),
// placed at its location by one of nine attachment points, wrapped at a
// reference width (0: each paragraph on one line), its lines a line-spacing
// factor apart. Its direction (the text's x axis in world coordinates)
// wins over its rotation; rotation() is the direction's angle in the plane.
class AcDbMText : public AcDbEntity {
public:
    enum AttachmentPoint {
        kTopLeft = 1, kTopCenter, kTopRight,
        kMiddleLeft, kMiddleCenter, kMiddleRight,
        kBottomLeft, kBottomCenter, kBottomRight,
    };
    enum LineSpacingStyle { kAtLeast = 1, kExactly = 2 };

    AcDbMText() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::MText; }

    AcGePoint3d location() const { return location_; }
    Acad::ErrorStatus setLocation(const AcGePoint3d& p);
    double textHeight() const { return height_; }
    // eInvalidInput unless height > 0.
    Acad::ErrorStatus setTextHeight(double height);
    // The reference width the text wraps at; 0 for no wrapping.
    double width() const { return width_; }
    // eInvalidInput for a negative width.
    Acad::ErrorStatus setWidth(double width);
    AttachmentPoint attachment() const { return attachment_; }
    // eInvalidInput outside kTopLeft..kBottomRight.
    Acad::ErrorStatus setAttachment(AttachmentPoint a);
    // The text's x axis, a unit vector.
    AcGeVector3d direction() const { return direction_; }
    // eInvalidInput for a zero vector.
    Acad::ErrorStatus setDirection(const AcGeVector3d& d);
    // The angle of the direction in the text's plane (radians).
    double rotation() const;
    Acad::ErrorStatus setRotation(double radians);
    AcGeVector3d normal() const { return normal_; }
    // eInvalidInput for a zero vector.
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double lineSpacingFactor() const { return lineSpacingFactor_; }
    // eInvalidInput outside 0.25..4, the range CAD programs accept.
    Acad::ErrorStatus setLineSpacingFactor(double factor);
    LineSpacingStyle lineSpacingStyle() const { return lineSpacingStyle_; }
    Acad::ErrorStatus setLineSpacingStyle(LineSpacingStyle style);

    // The contents with their format codes (UTF-8).
    const char* contents() const { return contents_.c_str(); }
    // eInvalidInput for null or a string with a line break (paragraphs are "\P").
    Acad::ErrorStatus setContents(const char* text);
    // The contents as plain text: format codes resolved, paragraphs joined by "\n".
    std::string text() const;

    // The text style record; the database's "Standard" style when the name is not found.
    AcDbObjectId textStyle() const;
    // eInvalidInput unless style is a text style record.
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    const char* textStyleName() const { return style_.c_str(); }

    // An estimate of the box the text fills (no font is measured here: a
    // character is as wide as the text is high): the four corners in world
    // coordinates, counter-clockwise from the lower left. eOk.
    Acad::ErrorStatus getBoundingPoints(std::vector<AcGePoint3d>& corners) const;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // Moves, turns and scales location, direction, height and width.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfMTextCodec;

    AcGePoint3d location_;
    double height_ = 2.5;
    double width_ = 0.0;
    AttachmentPoint attachment_ = kTopLeft;
    AcGeVector3d direction_{1, 0, 0};
    AcGeVector3d normal_{0, 0, 1};
    double lineSpacingFactor_ = 1.0;
    LineSpacingStyle lineSpacingStyle_ = kAtLeast;
    std::string contents_;
    std::string style_ = "Standard";
};
