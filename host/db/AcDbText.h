#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

// Single-line text. Positions are world coordinates for text in the world
// plane (normal +Z); rotation and oblique are radians here, degrees in files.
class AcDbText : public AcDbEntity {
public:
    AcDbText() = default;
    AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style = AcDbObjectId::kNull,
             double height = 0.0, double rotation = 0.0);

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Text; }

    AcGePoint3d position() const { return position_; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGePoint3d alignmentPoint() const { return alignment_; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
    // True for left/baseline text, whose alignment point is not used.
    bool isDefaultAlignment() const { return horz_ == AcDb::kTextLeft && vert_ == AcDb::kTextBase; }
    const char* textString() const { return text_.c_str(); }
    // eInvalidInput for null or text with a line break.
    Acad::ErrorStatus setTextString(const char* text);
    double height() const { return height_; }
    // eInvalidInput unless height > 0.
    Acad::ErrorStatus setHeight(double height);
    double rotation() const { return rotation_; }
    Acad::ErrorStatus setRotation(double radians);
    double widthFactor() const { return widthFactor_; }
    // eInvalidInput unless factor > 0.
    Acad::ErrorStatus setWidthFactor(double factor);
    double oblique() const { return oblique_; }
    double thickness() const { return thickness_; }
    AcGeVector3d normal() const { return normal_; }
    // eInvalidInput for a zero vector.
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // The text style record; the database's "Standard" style when the name is not found.
    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    const char* textStyleName() const { return style_.c_str(); }
    AcDb::TextHorzMode horizontalMode() const { return horz_; }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const { return vert_; }
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
    bool isMirroredInX() const { return (generation_ & 2) != 0; }
    bool isMirroredInY() const { return (generation_ & 4) != 0; }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // An estimate of the box the text fills: height by height x widthFactor
    // per character, placed by its justification; the four corners in world
    // coordinates, counter-clockwise from the lower left. eOk.
    Acad::ErrorStatus getBoundingPoints(std::vector<AcGePoint3d>& corners) const;
    // The box of getBoundingPoints.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;
    // Copies the common and text properties into other.
    void copyTextTo(AcDbText& other) const;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfTextCodec;

    AcGePoint3d position_;
    AcGePoint3d alignment_;
    std::string text_;
    double height_ = 2.5;
    double rotation_ = 0.0;
    double widthFactor_ = 1.0;
    double oblique_ = 0.0;
    double thickness_ = 0.0;
    AcGeVector3d normal_{0, 0, 1};
    std::string style_ = "Standard";
    AcDb::TextHorzMode horz_ = AcDb::kTextLeft;
    AcDb::TextVertMode vert_ = AcDb::kTextBase;
    int generation_ = 0;
};
