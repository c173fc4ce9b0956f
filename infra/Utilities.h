#pragma once
// Number and text conversions, colour notation and name clean-up shared by
// the whole module. Stateless: create one on the stack where needed.

#include <cstdint>
#include <string>
#include <string_view>

class AcCmColor;

class CUtilities {
public:
    // "1" or "0".
    std::string BoolToCString(bool value) const;
    // True exactly for "1", "t", "tr", "tru", "true", "y", "ye", "yes" (case-sensitive).
    bool CStringToBOOL(const std::string& text) const;

    // Digits, commas, at most one ".", "-" only first; not "", "-", "." or "-.".
    bool isNumeric(const std::string& text) const;
    // Drops every character isNumeric would reject (see the .cpp); "" becomes "0".
    void makeNumeric(std::string& text) const;

    // The leading integer of a numeric text; 0 when the text is not numeric.
    int32_t CStringToInt(const std::string& text) const;
    int32_t CStringToLong(const std::string& text) const;
    int64_t CStringToInt64(const std::string& text) const;
    // The leading part of the text (up to a NUL) that forms a number, read in
    // the "C" locale whatever the process locale; 0.0 when none.
    double CStringToDouble(std::string_view text) const;

    std::string IntToCString(int32_t value) const;
    std::string LongToCString(int32_t value) const;

    // Fixed decimals rounded as the classic fixed-point digit conversion does:
    // the exact binary value, halves away from zero, the sign kept when the
    // value rounds to zero (-0.001 with 2 gives "-0.00"); a negative count of
    // decimals gives the general "%-g" form. Never fails.
    std::string DoubleToCString(double value, int decimals) const;
    // Appends DoubleToCString(value, decimals) to text, without a string of its own in the usual case.
    void appendDoubleText(std::string& text, double value, int decimals) const;
    // Rounds to the nearest whole number through DoubleToCString.
    int32_t DoubleToInt(double value) const;
    double roundDouble(double value, int decimals) const;

    // Appends pad to text count times.
    std::string padding(const std::string& text, int count, const std::string& pad) const;
    std::string CStringToSTDString(const std::string& text) const { return text; }

    // "#RRGGBB" of a host colour, upper case.
    std::string acadColourToHash(const AcCmColor& colour) const;
    // Splits "#RRGGBB" (any case, "#" optional) into its pairs; an empty,
    // non-hexadecimal or wrongly sized text throws a chain whose innermost
    // exception is CEXInvalidHexColour (source "CUtilities").
    void parseHashString(const std::string& text, std::string& red, std::string& green, std::string& blue) const;
    // Throws (innermost CEXInvalidHexColour) unless every character is 0-9 or A-F.
    void validteHexString(const std::string& text) const;
    // Sets the colour's red, green and blue from "#RRGGBB"; throws as parseHashString.
    void hashToAcadColour(const std::string& text, AcCmColor& colour) const;
    // Reads upper-case hexadecimal digits as a number (also drawing handles);
    // stops at the first other character, so "" and "xyz" read 0.
    int64_t hexToInt(const std::string& text) const;
    // Replaces each of \ / : * ? " < > | = ' ; ( ) , by replacement.
    std::string replaceInvalidCharacters(const std::string& text, const std::string& replacement) const;
};
