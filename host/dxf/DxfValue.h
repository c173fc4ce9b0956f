#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "host/dxf/DxfTag.h"

// Numbers and handles as DXF writes them. Reading trims blanks and accepts
// a leading '+', exponents and whole numbers in real fields; writing uses
// the shortest text that reads back to the same double, always with '.', and
// whole reals as "1.0" - never the user's locale.
namespace DxfValue {

// Reads a real; false when the text is not a number.
bool toDouble(std::string_view text, double& out);
// Reads a whole number (a real with no fraction is accepted); false otherwise.
bool toInt(std::string_view text, int64_t& out);
// Reads a hexadecimal handle; false when empty or not hexadecimal.
bool toHandle(std::string_view text, uint64_t& out);

// Real as DXF text: shortest round-trip form, "1.0" for whole numbers.
std::string fromDouble(double value);
// Whole number as text.
std::string fromInt(int64_t value);
// Handle as upper-case hexadecimal, "0" for the null handle.
std::string fromHandle(uint64_t handle);

// Values of modelled fields of an object being built from its tags: the
// number, or the fallback when the text is not one - a malformed value is
// then reported to the DxfNumberCheck alive on this thread, if any, which
// makes reading the file fail (see DxfNumberCheck).
double fieldReal(const DxfTag& tag, double fallback = 0.0);
int64_t fieldInt(const DxfTag& tag, int64_t fallback = 0);
// A handle field; 0 for a malformed one (reported as above).
uint64_t fieldHandle(const DxfTag& tag);

// The value with leading and trailing blanks removed.
std::string_view trimmed(std::string_view text);

}  // namespace DxfValue
