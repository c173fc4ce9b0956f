#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbMTextFormat.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbEntity;
struct AcDbStub;
class AcDbHatch;

// One line of text as an entity draws it, in the coordinates of the block it
// lives in. The alignment modes are those of AcDbText: left/baseline text
// starts at position; aligned and fitted text runs from position to
// alignment; every other mode places the text at alignment.
struct AcDbSinkText {
    std::string text;        // UTF-8
    std::string styleName;   // the text style's name as the entity gives it
    AcGePoint3d position;
    AcGePoint3d alignment;
    int horizontalMode = 0;  // AcDb::TextHorzMode
    int verticalMode = 0;    // AcDb::TextVertMode
    double height = 0.0;
    double widthFactor = 1.0;
    double rotation = 0.0;   // radians
    double oblique = 0.0;    // radians
    bool mirroredInX = false;
    bool mirroredInY = false;
    // The box estimated from the character count (AcDbText::getBoundingPoints).
    std::vector<AcGePoint3d> box;
};

// Multiline text as an entity draws it, in the coordinates of the block it
// lives in: its paragraphs of formatted runs, placed at location by the
// attachment point (1 top left ... 9 bottom right, row by row), the lines
// wrapped at width (0: no wrapping), each line's top 5/3 of the line above's
// height (its tallest run, at least the text height; the text height when
// the spacing is exact) times the factor below that line's top.
struct AcDbSinkMText {
    std::vector<AcDbMTextParagraph> paragraphs;
    std::string styleName;
    AcGePoint3d location;
    AcGeVector3d direction{1, 0, 0};  // the text's x axis, a unit vector
    AcGeVector3d normal{0, 0, 1};
    double height = 0.0;
    double width = 0.0;
    int attachment = 1;
    double lineSpacingFactor = 1.0;
    bool exactSpacing = false;
    // The box estimated from the character count (AcDbMText::getBoundingPoints).
    std::vector<AcGePoint3d> box;
};

// A hatch as an entity draws it: its loops (world-plane points with bulges,
// in the coordinates of the block it lives in) and the hatch itself, from
// which a sink that fills takes its pattern.
struct AcDbSinkHatch {
    struct Loop {
        std::vector<AcGePoint3d> points;
        std::vector<double> bulges;
    };
    const AcDbHatch* hatch = nullptr;
    std::vector<Loop> loops;
    AcGeVector3d normal{0, 0, 1};
    bool solid = false;
};

// What an entity draws, told to whoever draws it: the pick and window
// hit-tests of the editor, and the plot engine. Entities tell their
// geometry in the coordinates of the block they live in; the sink keeps the
// transform from those coordinates to world coordinates, which a block
// reference extends while it tells the entities of its definition.
class AcDbGeometrySink {
public:
    // Blocks nested deeper than this are not drawn (a block that contains itself).
    static constexpr size_t kMaxDepth = 32;

    virtual ~AcDbGeometrySink() = default;

    // Segments through the points, each straight or, with a non-zero bulge
    // (bulges[i] for the segment leaving point i; none = all straight), a
    // circular arc in the plane of normal; closed adds the segment from the
    // last point back to the first.
    virtual void polyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                          const AcGeVector3d& normal, bool closed) = 0;
    // Segments as polyline() tells them, drawn wide: the segment leaving
    // point i is startWidths[i] wide at its start and endWidths[i] at its end,
    // centred on the line (a missing width is 0). By default the centre line.
    virtual void widePolyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                              const std::vector<double>& startWidths, const std::vector<double>& endWidths,
                              const AcGeVector3d& normal, bool closed)
    {
        polyline(points, bulges, normal, closed);
    }
    // A circular arc about centre in the plane of normal, from startAngle to
    // endAngle (radians, counter-clockwise from the plane's X axis of the
    // arbitrary-axis algorithm); a circle when they are 2 pi apart.
    virtual void circularArc(const AcGePoint3d& centre, double radius, const AcGeVector3d& normal, double startAngle,
                             double endAngle) = 0;
    // A filled area bounded by the corners in order (a text's box).
    virtual void polygon(const std::vector<AcGePoint3d>& corners) = 0;
    // An elliptical arc about centre: the point at parameter t is centre +
    // cos t * majorAxis + sin t * ratio * (normal x majorAxis), from
    // startParam to endParam (radians, counter-clockwise about normal); a
    // whole ellipse when they are 2 pi apart. By default it is told as a
    // polyline of straight segments.
    virtual void ellipticalArc(const AcGePoint3d& centre, const AcGeVector3d& majorAxis, const AcGeVector3d& normal,
                               double ratio, double startParam, double endParam);
    // A line of text; by default its estimated box as a filled area.
    virtual void text(const AcDbSinkText& run) { polygon(run.box); }
    // Multiline text; by default its estimated box as a filled area.
    virtual void mtext(const AcDbSinkMText& run) { polygon(run.box); }
    // A hatch; by default its loops as closed polylines.
    virtual void hatch(const AcDbSinkHatch& fill);

    // Told before an entity tells its geometry (and, for a block reference,
    // before the entities of its definition); false skips the entity and
    // everything it would draw, and then no endEntity follows. By default true.
    virtual bool beginEntity(const AcDbEntity& entity) { return true; }
    // Told after the entity told its geometry.
    virtual void endEntity(const AcDbEntity& entity) {}
    // How deep the geometry being told is nested in blocks (0 for the space itself).
    size_t depth() const { return stack_.size() - 1; }

    // The transform from the coordinates of the geometry being told to world coordinates.
    const AcGeMatrix3d& transform() const { return stack_.back(); }
    // Enters the block definition `block` placed by blockTransform; false
    // (and nothing entered) when blocks already nest kMaxDepth deep or when
    // the definition is already being told further out: blocks that refer
    // to each other in a ring are told once round, not until the depth limit
    // (two references a level would be 2^32 copies there).
    bool pushTransform(const AcDbStub* block, const AcGeMatrix3d& blockTransform);
    // Leaves the block entered last; the world level is never left.
    void popTransform();

private:
    std::vector<AcGeMatrix3d> stack_{AcGeMatrix3d::kIdentity};
    std::vector<const AcDbStub*> blocks_;
};
