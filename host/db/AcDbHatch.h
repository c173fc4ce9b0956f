#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectIdArray.h"
#include "host/db/HatchPatterns.h"
#include "host/ge/AcGeDoubleArray.h"
#include "host/ge/AcGePoint2dArray.h"

// A hatch: boundary loops in the plane of its normal at its elevation, filled
// solid or with a pattern of lines. Loops are kept as polylines (vertices and
// bulges, OCS); edge loops read from files keep their edge tags and are
// approximated for evaluation. evaluateHatch() computes the pattern's line
// segments inside the loops (odd-parity nesting, by hatch style).
class AcDbHatch : public AcDbEntity {
public:
    enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
    enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };
    enum HatchLoopType {
        kDefault = 0,
        kExternal = 1,
        kPolyline = 2,
        kDerived = 4,
        kTextbox = 8,
        kOutermost = 0x10,
        kOuterMost = 0x10,
    };
    // The most line segments evaluateHatch() generates before it reports
    // eHatchTooDense; the initial value of the HPMAXLINES setting of CAD programs.
    static constexpr long kMaxHatchLines = 1000000;

    // One boundary loop. Polyline loops hold vertices/bulges; edge loops read
    // from a file also keep their edge tags (written back unchanged).
    struct Loop {
        int type = kDefault;
        AcGePoint2dArray vertices;
        AcGeDoubleArray bulges;
        bool polyline = true;
        std::vector<std::pair<int, std::string>> edgeTags;
        std::vector<uint64_t> sources;
    };

    AcDbHatch() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Hatch; }

    // eInvalidInput for a predefined name the host does not ship or an empty name.
    Acad::ErrorStatus setPattern(HatchPatternType type, const char* name);
    HatchPatternType patternType() const { return patternType_; }
    const char* patternName() const { return patternName_.c_str(); }
    bool isSolidFill() const { return solid_; }
    double patternAngle() const { return patternAngle_; }
    // Angle in radians; never fails.
    Acad::ErrorStatus setPatternAngle(double angle);
    double patternScale() const { return patternScale_; }
    // eInvalidInput unless scale > 0.
    Acad::ErrorStatus setPatternScale(double scale);
    bool associative() const { return associative_; }
    Acad::ErrorStatus setAssociative(bool on);
    HatchStyle hatchStyle() const { return style_; }
    Acad::ErrorStatus setHatchStyle(HatchStyle style);
    AcGeVector3d normal() const { return normal_; }
    // eInvalidInput for a zero vector.
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double elevation() const { return elevation_; }
    Acad::ErrorStatus setElevation(double elevation);

    // Appends a loop of closed polylines, circles or closed chains given by id
    // (open for read); eInvalidInput when an object is not a closed polyline
    // or circle, or lies off the hatch plane; eNullObjectId for null ids.
    Acad::ErrorStatus appendLoop(int loopType, const AcDbObjectIdArray& ids);
    // Appends a polyline loop (OCS vertices, one bulge per vertex or none);
    // eInvalidInput for fewer than 2 vertices or a bulge count mismatch.
    Acad::ErrorStatus appendLoop(int loopType, const AcGePoint2dArray& vertices, const AcGeDoubleArray& bulges);
    int numLoops() const { return static_cast<int>(loops_.size()); }
    // eInvalidIndex outside 0..numLoops-1.
    Acad::ErrorStatus getLoopAt(int index, int& loopType, AcGePoint2dArray& vertices, AcGeDoubleArray& bulges) const;

    // The pattern line families (rotated and scaled) used for the fill.
    int numPatternDefinitions() const { return static_cast<int>(patternLines_.size()); }
    // eInvalidIndex outside 0..numPatternDefinitions-1.
    Acad::ErrorStatus getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY, double& offsetX,
                                             double& offsetY, AcGeDoubleArray& dashes) const;

    // Computes the pattern's line segments inside the loops: eInvalidInput
    // without loops, eHatchTooDense (420) past kMaxHatchLines segments,
    // eAmbiguousOutput (5) when no pattern line meets the filled area.
    // A solid fill has no lines and evaluates eOk.
    Acad::ErrorStatus evaluateHatch(bool underEstimateNumLines = false);
    int numHatchLines() const { return static_cast<int>(lineStarts_.size()); }
    // eInvalidIndex outside 0..numHatchLines-1 (OCS, after evaluateHatch).
    Acad::ErrorStatus getHatchLineDataAt(int index, AcGePoint2d& start, AcGePoint2d& end) const;
    // The filled area (outer loops minus holes by the hatch style).
    Acad::ErrorStatus getArea(double& area) const;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

    // A loop as a closed outline of points (arcs flattened), OCS.
    std::vector<AcGePoint2d> loopOutline(int index) const;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfHatch;

    std::vector<const Loop*> usedLoops() const;
    // Marks the hatch data changed; the write-open check's status.
    Acad::ErrorStatus changed();
    void updatePatternLines();

    std::string patternName_ = "SOLID";
    HatchPatternType patternType_ = kPreDefined;
    bool solid_ = true;
    double patternAngle_ = 0.0;
    double patternScale_ = 1.0;
    bool patternDouble_ = false;
    bool associative_ = false;
    HatchStyle style_ = kNormal;
    AcGeVector3d normal_{0, 0, 1};
    double elevation_ = 0.0;
    std::vector<Loop> loops_;
    std::vector<HatchPatternLine> patternLines_;
    std::vector<AcGePoint2d> seeds_;
    // Group codes and texts the hatch keeps without modelling them (gradient
    // fill, pixel size), written back after the seed points.
    std::vector<std::pair<int, std::string>> tail_;
    std::vector<std::pair<int, std::string>> preSeed_;
    // Set when loops or pattern changed, so the file's hatch data is rewritten.
    bool dirty_ = true;
    std::vector<AcGePoint2d> lineStarts_, lineEnds_;
};
