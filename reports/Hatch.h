#pragma once
// The hatch style of a graphic report category, copied onto the space blocks
// and assets it colours: a predefined pattern, its angle and scale as given
// to the host, the layer that receives the hatch, and a true colour.
//
// Besides the five fields it builds the host hatch entity that space blocks
// and assets share: the entity with this style, a placed outline appended as
// a loop, and the user's text for the host's density statuses.

#include <cstdint>
#include <memory>
#include <string>

#include "host/db/AcCmColor.h"
#include "host/db/AcadErrorStatus.h"
#include "host/ge/AcGeVector3d.h"

class AcDbHatch;
class AcDbPolyline;

class CHatch {
public:
    CHatch() = default;

    const std::string& getPatternName() const { return patternName_; }
    void setPatternName(const std::string& name) { patternName_ = name; }
    int32_t getAngle() const { return angle_; }
    void setAngle(int32_t angle) { angle_ = angle; }
    int32_t getScale() const { return scale_; }
    void setScale(int32_t scale) { scale_ = scale; }
    const std::string& getLayer() const { return layer_; }
    void setLayer(const std::string& layer) { layer_ = layer; }
    const AcCmColor& getColour() const { return colour_; }
    void setColour(const AcCmColor& colour) { colour_ = colour; }

    // Copies all five fields into target.
    void copyTo(CHatch& target) const;
    // A new hatch holding the same five fields.
    std::unique_ptr<CHatch> clone() const;

    // A new hatch entity (in no database) with this style: not associative,
    // the predefined pattern of this name, the angle handed over unchanged
    // (radians), the scale, normal style, the normal, elevation 0, and the
    // colour as a true colour (trueColour) or as its palette index, on the
    // entity and its parts. The layer is not set. patternStatus receives the
    // host's answer to the pattern (eInvalidInput for a name it does not
    // ship); a scale the host refuses (0 or less) leaves its default of 1.
    std::unique_ptr<AcDbHatch> makeHatchEntity(const AcGeVector3d& normal, bool trueColour,
                                               Acad::ErrorStatus& patternStatus) const;
    // Appends a closed polyline (in no database or open for read) as a loop
    // of the hatch, its world vertices taken into the hatch's plane.
    // eInvalidInput when the polyline is not closed, has fewer than two
    // vertices or lies off that plane; else the host's answer.
    static Acad::ErrorStatus appendPolylineLoop(AcDbHatch& hatch, int loopType, const AcDbPolyline& polyline);
    // The message for a density status of evaluateHatch: "Unable to hatch "
    // + subject + ". " + pattern + " set at scale " + scale (2 decimals) + "
    // is too dense to be displayed." (420) or "... is not dense enough to be
    // displayed." (5); empty for any other status.
    std::string densityMessage(const std::string& subject, Acad::ErrorStatus status) const;

    bool operator==(const CHatch& other) const = default;

private:
    std::string patternName_;
    int32_t angle_ = 0;
    int32_t scale_ = 0;
    std::string layer_;
    AcCmColor colour_;
};
