#include "host/base/DxfCodepage.h"

#include <iconv.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Reads one UTF-8 character at s[i]; advances i. Invalid bytes give U+FFFD.
uint32_t nextUtf8(std::string_view s, size_t& i)
{
    auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
        ++i;
        return 0xFFFD;
    }
    uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<size_t>(len);
    return cp;
}

bool hasHighBytes(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// Replaces "\U+XXXX" (4 to 8 hex digits, either case) by the character.
std::string decodeEscapes(std::string_view s)
{
    if (s.find("\\U+") == std::string_view::npos && s.find("\\u+") == std::string_view::npos)
        return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '\\' && i + 6 < s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') && s[i + 2] == '+') {
            // Four hex digits, as CAD programs write; eight only for a
            // character above U+FFFF (the long form some libraries write).
            auto hexAt = [&](size_t from, int count, uint32_t& cp) {
                cp = 0;
                for (int k = 0; k < count; ++k) {
                    size_t j = from + static_cast<size_t>(k);
                    if (j >= s.size() || !std::isxdigit(static_cast<unsigned char>(s[j])))
                        return false;
                    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(s[j])));
                    cp = cp * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10);
                }
                return true;
            };
            uint32_t cp = 0;
            if (hexAt(i + 3, 8, cp) && cp > 0xFFFF && cp <= 0x10FFFF) {
                DxfCodepage::appendUtf8(out, cp);
                i += 11;
                continue;
            }
            if (hexAt(i + 3, 4, cp)) {
                DxfCodepage::appendUtf8(out, cp);
                i += 7;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

std::string charsetFor(std::string_view codepage)
{
    std::string cp(codepage);
    for (char& c : cp)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (cp.rfind("ANSI_", 0) == 0) {
        std::string num = cp.substr(5);
        if (num == "936")
            return "GBK";
        if (!num.empty())
            return "CP" + num;
    }
    if (cp == "DOS437")
        return "CP437";
    if (cp == "DOS850")
        return "CP850";
    return "CP1252";
}

// Converts with iconv; characters that fail become '?', which never happens
// for the single-byte tables but keeps a broken multi-byte file readable.
std::string convert(const std::string& to, const std::string& from, std::string_view in)
{
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
            if (dstLeft < 8)
                break;
            ++src;
            --srcLeft;
            *dst++ = '?';
            --dstLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

void DxfCodepage::appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

DxfCodepage::DxfCodepage(bool utf8File, std::string_view codepage) : utf8_(utf8File), charset_(charsetFor(codepage)) {}

namespace {

// The bytes a plainness check looks for. Backslash: '\\', which starts an
// escape. Nul: '\0'. High: a byte with its top bit set. Control: a byte
// below 0x20, 0x7F, or one with its top bit set (outside printable ASCII).
enum OddByte : unsigned { kBackslash = 1, kNul = 2, kHigh = 4, kControl = 8 };

// A byte that is none of the odd ones, for filling the rest of a block.
constexpr unsigned char kPlainFill = 'a';

#if defined(__SSE2__)
// The odd bytes of a sixteen-byte block, one bit each.
template <unsigned Odd>
inline unsigned oddIn(__m128i block)
{
    __m128i odd = _mm_setzero_si128();
    if constexpr ((Odd & kBackslash) != 0)
        odd = _mm_or_si128(odd, _mm_cmpeq_epi8(block, _mm_set1_epi8('\\')));
    if constexpr ((Odd & kNul) != 0)
        odd = _mm_or_si128(odd, _mm_cmpeq_epi8(block, _mm_setzero_si128()));
    if constexpr ((Odd & kControl) != 0) {
        // Compared as signed bytes, those from 0x80 up are below 0x20 too.
        odd = _mm_or_si128(odd, _mm_cmplt_epi8(block, _mm_set1_epi8(0x20)));
        odd = _mm_or_si128(odd, _mm_cmpeq_epi8(block, _mm_set1_epi8(0x7F)));
    }
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(odd));
    if constexpr ((Odd & kHigh) != 0)
        bits |= static_cast<unsigned>(_mm_movemask_epi8(block));
    return bits;
}

// Whether raw has none of the odd bytes: sixteen bytes at a time, the last
// sixteen overlapping those before; a shorter text is read as two
// overlapping pieces of eight, four or one, the rest of the block filled
// with a plain byte. Nothing outside raw is read.
template <unsigned Odd>
bool withoutOdd(std::string_view raw)
{
    const char* p = raw.data();
    const size_t n = raw.size();
    if (n >= 16) {
        for (size_t at = 0; at + 16 < n; at += 16)
            if (oddIn<Odd>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at))))
                return false;
        return oddIn<Odd>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16))) == 0;
    }
    uint64_t first = 0, last = 0;
    if (n >= 8) {
        std::memcpy(&first, p, 8);
        std::memcpy(&last, p + n - 8, 8);
    } else {
        constexpr uint64_t kFill = 0x0101010101010101ull * kPlainFill;
        if (n >= 4) {
            uint32_t a = 0, b = 0;
            std::memcpy(&a, p, 4);
            std::memcpy(&b, p + n - 4, 4);
            first = (kFill << 32) | a;
            last = (kFill << 32) | b;
        } else if (n > 0) {
            const auto byte = [p](size_t i) { return static_cast<uint64_t>(static_cast<unsigned char>(p[i])); };
            first = (kFill << 24) | (byte(0) << 16) | (byte(n / 2) << 8) | byte(n - 1);
            last = first;
        } else {
            return true;
        }
    }
    return oddIn<Odd>(_mm_set_epi64x(static_cast<long long>(last), static_cast<long long>(first))) == 0;
}
#else
template <unsigned Odd>
bool withoutOdd(std::string_view raw)
{
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if (((Odd & kBackslash) != 0 && b == '\\') || ((Odd & kNul) != 0 && b == 0) ||
            ((Odd & kHigh) != 0 && b >= 0x80) || ((Odd & kControl) != 0 && (b < 0x20 || b >= 0x7F)))
            return false;
    }
    return true;
}
#endif

}  // namespace

bool DxfCodepage::isPlain(std::string_view raw) const
{
    return utf8_ ? withoutOdd<kBackslash>(raw) : withoutOdd<kBackslash | kHigh>(raw);
}

bool DxfCodepage::isPlainWithoutNul(std::string_view raw) const
{
    return utf8_ ? withoutOdd<kBackslash | kNul>(raw) : withoutOdd<kBackslash | kNul | kHigh>(raw);
}

bool DxfCodepage::isPrintableAscii(std::string_view raw) { return withoutOdd<kBackslash | kControl>(raw); }

std::string DxfCodepage::decode(std::string_view raw) const
{
    if (isPlain(raw))
        return std::string(raw);
    if (utf8_ || !hasHighBytes(raw))
        return decodeEscapes(raw);
    return decodeEscapes(convert("UTF-8", charset_, raw));
}

char* DxfCodepage::decodeToMalloc(std::string_view raw) const
{
    if (!isPlain(raw))
        return strdup(decode(raw).c_str());
    auto* out = static_cast<char*>(std::malloc(raw.size() + 1));
    if (out) {
        std::memcpy(out, raw.data(), raw.size());
        out[raw.size()] = '\0';
    }
    return out;
}

std::string DxfCodepage::encode(std::string_view utf8) const
{
    if (utf8_ || !hasHighBytes(utf8))
        return std::string(utf8);
    // Each character on its own, so one the code page lacks becomes an escape.
    iconv_t cd = iconv_open(charset_.c_str(), "UTF-8");
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        size_t start = i;
        uint32_t cp = nextUtf8(utf8, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        bool done = false;
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            char buf[8];
            char* src = const_cast<char*>(utf8.data() + start);
            size_t srcLeft = i - start;
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0) {
                out.append(buf, sizeof buf - dstLeft);
                done = true;
            }
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        if (!done) {
            char esc[16];
            std::snprintf(esc, sizeof esc, cp > 0xFFFF ? "\\U+%08X" : "\\U+%04X", cp);
            out += esc;
        }
    }
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    return out;
}
