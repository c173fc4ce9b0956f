#pragma once
#include <functional>
#include <string>
#include <vector>

#include "host/db/AcDbGeometrySink.h"

// Lays multiline text out in lines: each paragraph's words wrapped at the
// reference width (a word longer than the width stands on a line of its
// own; spaces where a line breaks are dropped), each line hanging its
// tallest run's height above its baseline from a top that is the line
// spacing below the previous line's top (5/3 of the previous line's height,
// at least the text's, times the factor), every line placed by the
// attachment point (the bottom ones by the last baseline). Coordinates are in the
// text's own frame: x along its direction, y up, the location at 0,0.
class PlotMTextLayout {
public:
    // A stretch of one run on one line.
    struct Piece {
        const AcDbMTextRun* run = nullptr;
        std::string text;
        double x = 0.0;        // where it starts on the baseline
        double advance = 0.0;  // its length
    };
    struct Line {
        std::vector<Piece> pieces;
        double baseline = 0.0;  // y of the baseline
        double width = 0.0;
        double height = 0.0;    // the tallest run's height
    };

    // The advance of text in a run's format, in drawing units.
    using Measure = std::function<double(const AcDbMTextRun& run, const std::string& text)>;

    // The lines of text (runs point into text.paragraphs, which must outlive them).
    static std::vector<Line> layout(const AcDbSinkMText& text, const Measure& measure);
};
