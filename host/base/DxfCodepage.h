#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Converts strings between the file's encoding and UTF-8. Files before
// R2007 are written in the code page named by $DWGCODEPAGE (ANSI_1252 when
// missing) with "\U+XXXX" escapes for characters outside it; R2007 and later
// are UTF-8, where "\U+XXXX" may still appear. Decoding turns escapes into
// characters; encoding writes characters the code page lacks as escapes.
class DxfCodepage {
public:
    // utf8File: the file is R2007 or later. codepage: the $DWGCODEPAGE value.
    DxfCodepage(bool utf8File, std::string_view codepage);

    // The UTF-8 text of a value read from the file. Bytes that are not valid
    // in the file encoding become U+FFFD.
    std::string decode(std::string_view raw) const;
    // The same text in memory from malloc, for a result buffer's string
    // (acutRelRb frees it); null when out of memory.
    char* decodeToMalloc(std::string_view raw) const;
    // The file bytes for UTF-8 text.
    std::string encode(std::string_view utf8) const;

    // Appends the UTF-8 bytes of one code point.
    static void appendUtf8(std::string& out, uint32_t codePoint);
    // True when raw needs no decoding: no escape, and no byte of the code page
    // outside ASCII (decode gives raw itself).
    bool isPlain(std::string_view raw) const;
    // isPlain, and no NUL in raw either: raw is then also the whole text a C
    // string of it would hold.
    bool isPlainWithoutNul(std::string_view raw) const;
    // True when raw is printable ASCII (0x20 to 0x7E) without a backslash:
    // text that reads and writes as itself in every code page.
    static bool isPrintableAscii(std::string_view raw);

    bool isUtf8() const { return utf8_; }
    // The iconv name of the code page, e.g. "CP1252".
    const std::string& charset() const { return charset_; }

private:
    bool utf8_;
    std::string charset_;
};
