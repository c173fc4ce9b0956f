#pragma once
// The text rules the module applies to names and settings: case folding of
// ASCII letters only (names compared without regard to case, whatever the
// process's locale), and blanks trimmed at both ends.

#include <string>
#include <string_view>

// The byte with 'a'-'z' turned into 'A'-'Z'; every other byte unchanged.
inline char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
// The text with 'a'-'z' turned into 'A'-'Z'; every other byte (UTF-8
// sequences included) unchanged.
std::string asciiUpper(std::string_view text);
// The same in place, reusing the text's storage.
void asciiUpperInPlace(std::string& text);

// Blanks, tabs and line breaks, the default of trim.
inline constexpr std::string_view kTrimmedBlanks = " \t\r\n";

// The text without the characters of blanks at its start and end; "" when it
// holds nothing else.
std::string trim(std::string_view text, std::string_view blanks = kTrimmedBlanks);
