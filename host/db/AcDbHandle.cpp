#include "host/db/AcDbHandle.h"

#include <charconv>
#include <cstring>

AcDbHandle::AcDbHandle(const char* hexText)
{
    if (!hexText)
        return;
    const char* b = hexText;
    const char* e = hexText + std::strlen(hexText);
    while (b < e && *b == ' ')
        ++b;
    while (e > b && e[-1] == ' ')
        --e;
    uint64_t v = 0;
    auto [p, ec] = std::from_chars(b, e, v, 16);
    if (ec == std::errc() && p == e && e - b <= 16)
        value_ = v;
}

std::string AcDbHandle::toString() const
{
    char buf[24];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value_, 16);
    for (char* c = buf; c < p; ++c)
        if (*c >= 'a' && *c <= 'f')
            *c = static_cast<char>(*c - 'a' + 'A');
    return std::string(buf, p);
}

bool AcDbHandle::getIntoAsciiBuffer(char* buffer, size_t size) const
{
    std::string s = toString();
    if (!buffer || size < s.size() + 1)
        return false;
    std::memcpy(buffer, s.c_str(), s.size() + 1);
    return true;
}
