#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcCmColor.h"

// A piece of multiline text in one format: the characters between two
// format changes of an MTEXT's contents.
struct AcDbMTextRun {
    std::string text;          // UTF-8, inline codes resolved (\~ is a no-break space)
    double height = 0.0;       // drawing units
    double widthFactor = 1.0;
    double oblique = 0.0;      // radians
    double tracking = 1.0;     // spacing between characters, as a factor
    std::string fontFamily;    // from \f (a TrueType family); empty: the style's font
    std::string fontFile;      // from \F (an SHX file); empty: the style's font
    bool bold = false, italic = false;
    bool hasColour = false;    // false: the entity's colour
    AcCmColor colour;
    bool underline = false, overline = false, strikeThrough = false;
};

// One paragraph: the runs between two \P codes (or the ends of the text).
struct AcDbMTextParagraph {
    std::vector<AcDbMTextRun> runs;
};

// Reads the inline format codes of MTEXT contents. Codes that change the
// look of the text (\H height, \W width, \Q oblique, \T tracking, \f and \F
// fonts, \C and \c colours, \L \O \K and their ends, { } groups) are applied
// to the runs; \P ends a paragraph, \~ is a no-break space, \\ \{ \} are the
// characters themselves, a stacked fraction \Sa^b; \Sa/b; \Sa#b; reads
// "a/b"; paragraph settings (\p...;), alignment (\A) and unknown codes are
// skipped. Unbalanced braces and a code cut off at the end are read as far
// as they go; nothing fails.
class AcDbMTextFormat {
public:
    // The paragraphs of contents for a text of the given height (relative
    // heights \H2x; multiply it). Always at least one paragraph.
    static std::vector<AcDbMTextParagraph> parse(std::string_view contents, double height);
    // The contents as plain text: the characters only, paragraphs separated by "\n".
    static std::string plainText(std::string_view contents);
};
