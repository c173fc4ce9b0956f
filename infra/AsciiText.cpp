#include "infra/AsciiText.h"

std::string asciiUpper(std::string_view text)
{
    std::string upper(text);
    asciiUpperInPlace(upper);
    return upper;
}

void asciiUpperInPlace(std::string& text)
{
    for (char& c : text)
        c = asciiUpper(c);
}

std::string trim(std::string_view text, std::string_view blanks)
{
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}
