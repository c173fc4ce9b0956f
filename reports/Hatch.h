#pragma once
// The hatch style of a graphic report category, copied onto the space blocks
// and assets it colours: a predefined pattern, its angle and scale as given
// to the host, the layer that receives the hatch, and a true colour.

#include <cstdint>
#include <memory>
#include <string>

#include "host/db/AcCmColor.h"

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

    bool operator==(const CHatch& other) const = default;

private:
    std::string patternName_;
    int32_t angle_ = 0;
    int32_t scale_ = 0;
    std::string layer_;
    AcCmColor colour_;
};
