#pragma once
#include <string>
#include <vector>

// One line family of a hatch pattern: lines at angle (degrees) through the
// base point, repeated by the offset vector (drawing x/y, not the .pat
// file's along/across pair), each drawn with the dash list (> 0 dash,
// < 0 gap, 0 dot; empty = continuous).
struct HatchPatternLine {
    double angle = 0.0;
    double baseX = 0.0, baseY = 0.0;
    double offsetX = 0.0, offsetY = 0.0;
    std::vector<double> dashes;
};

// The predefined hatch patterns the host ships, in ISO (millimetre) scaling
// as in acadiso.pat: ANSI31 lines are 3.175 apart at scale 1.
class HatchPatterns {
public:
    // The lines of the named pattern (case-insensitive) at scale 1 and angle 0;
    // null when the host has no such pattern.
    static const std::vector<HatchPatternLine>* find(const std::string& name);
    // The lines of the named pattern rotated by angle (radians) and scaled;
    // empty when the pattern is unknown.
    static std::vector<HatchPatternLine> transformed(const std::string& name, double angle, double scale);
    // The names of all shipped patterns, in table order.
    static std::vector<std::string> names();
};
