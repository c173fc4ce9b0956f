#include "host/ed/acutWcMatch.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Code points stand in for invalid bytes here, outside the Unicode range.
constexpr char32_t kInvalidByteBase = 0x110000;

// Decodes UTF-8 into code points (out is replaced); each byte of a malformed
// sequence becomes its own stand-in.
void decode(std::string_view text, std::vector<char32_t>& out)
{
    out.clear();
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size(), i = 0;
    while (i < n) {
        unsigned char c = s[i];
        int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < n;
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char cc = s[i + k];
            if ((cc & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (cc & 0x3F);
        }
        // Reject overlong forms, surrogates and values past U+10FFFF.
        if (ok && ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000)
                   || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF))
            ok = false;
        if (ok) {
            out.push_back(cp);
            i += 1 + extra;
        } else {
            out.push_back(kInvalidByteBase + c);
            i += 1;
        }
    }
}

// Simple one-to-one lower-case mapping for the scripts names are written in.
char32_t toLower(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7))  // Latin-1 capitals
        return c + 32;
    if (c == 0x130)  // Turkish dotted capital I
        return 'i';
    if (c >= 0x100 && c <= 0x137 && c % 2 == 0)  // Latin Extended-A, even = capital
        return c + 1;
    if (c >= 0x139 && c <= 0x148 && c % 2 == 1)
        return c + 1;
    if (c >= 0x14A && c <= 0x177 && c % 2 == 0)
        return c + 1;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x179 && c <= 0x17E && c % 2 == 1)
        return c + 1;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)  // Greek capitals
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)  // Cyrillic basic capitals
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)  // Cyrillic Ѐ–Џ
        return c + 80;
    return c;
}

char32_t toUpper(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (c == 0x131)  // Turkish dotless small i
        return 'I';
    if (c >= 0x101 && c <= 0x137 && c % 2 == 1)
        return c - 1;
    if (c >= 0x13A && c <= 0x148 && c % 2 == 0)
        return c - 1;
    if (c >= 0x14B && c <= 0x177 && c % 2 == 1)
        return c - 1;
    if (c >= 0x17A && c <= 0x17E && c % 2 == 0)
        return c - 1;
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return c - 32;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

// Letters of the common scripts: Latin, Greek, Cyrillic, Hebrew, Arabic,
// kana, CJK ideographs and Hangul syllables.
bool isAlpha(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    if (c == 0xAA || c == 0xB5 || c == 0xBA)
        return true;
    if (c >= 0xC0 && c <= 0x24F)
        return c != 0xD7 && c != 0xF7;
    return (c >= 0x370 && c <= 0x3FF && c != 0x37E && c != 0x387) || (c >= 0x400 && c <= 0x481)
        || (c >= 0x48A && c <= 0x52F) || (c >= 0x5D0 && c <= 0x5EA) || (c >= 0x620 && c <= 0x64A)
        || (c >= 0x3041 && c <= 0x30FF && c != 0x30FB) || (c >= 0x4E00 && c <= 0x9FFF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x1E00 && c <= 0x1EFF);
}

enum class TokenKind { kLiteral, kAny, kStar, kDigit, kAlpha, kNonAlnum, kSet };

struct Range {
    char32_t lo;
    char32_t hi;
};

struct Token {
    explicit Token(TokenKind k, char32_t c = 0) : kind(k), literal(c) {}

    TokenKind kind;
    char32_t literal = 0;
    bool negated = false;
    std::vector<Range> ranges;
};

struct Alternative {
    std::vector<Token> tokens;
};

// The alternatives of a pattern, and whether a leading ~ negates them all.
struct Pattern {
    bool negated = false;
    std::vector<Alternative> alternatives;
};

// Parses one bracket expression starting after '['. Returns false when no
// closing ']' follows, leaving pos untouched.
bool parseSet(const std::vector<char32_t>& p, std::size_t end, std::size_t& pos, Token& token)
{
    std::size_t i = pos;
    token = Token(TokenKind::kSet);
    if (i < end && p[i] == '~') {
        token.negated = true;
        ++i;
    }
    std::size_t first = i;
    while (i < end) {
        char32_t c = p[i];
        if (c == ']' && i != first)
            break;
        // A range: a character, '-', and a character that is not the closing bracket.
        if (i + 2 < end && p[i + 1] == '-' && p[i + 2] != ']' && c != '-') {
            char32_t lo = c, hi = p[i + 2];
            if (lo > hi)
                std::swap(lo, hi);
            token.ranges.push_back({lo, hi});
            i += 3;
            continue;
        }
        token.ranges.push_back({c, c});
        ++i;
    }
    if (i >= end)
        return false;
    pos = i + 1;
    return true;
}

// Splits the pattern into alternatives at commas that are neither escaped nor
// inside brackets; a ~ as the pattern's first character negates the whole.
Pattern parse(const std::vector<char32_t>& p)
{
    Pattern pattern;
    std::vector<Alternative>& alternatives = pattern.alternatives;
    alternatives.emplace_back();
    std::size_t i = 0, n = p.size();
    if (n > 0 && p[0] == '~') {
        pattern.negated = true;
        i = 1;
    }
    while (i < n) {
        Alternative& alt = alternatives.back();
        char32_t c = p[i];
        switch (c) {
        case ',':
            alternatives.emplace_back();
            ++i;
            break;
        case '`':
            if (i + 1 < n) {
                alt.tokens.push_back(Token(TokenKind::kLiteral, p[i + 1]));
                i += 2;
            } else {
                alt.tokens.push_back(Token(TokenKind::kLiteral, c));
                ++i;
            }
            break;
        case '*':
            if (alt.tokens.empty() || alt.tokens.back().kind != TokenKind::kStar)
                alt.tokens.push_back(Token(TokenKind::kStar));
            ++i;
            break;
        case '?': alt.tokens.push_back(Token(TokenKind::kAny)); ++i; break;
        case '#': alt.tokens.push_back(Token(TokenKind::kDigit)); ++i; break;
        case '@': alt.tokens.push_back(Token(TokenKind::kAlpha)); ++i; break;
        case '.': alt.tokens.push_back(Token(TokenKind::kNonAlnum)); ++i; break;
        case '[': {
            std::size_t pos = i + 1;
            Token set(TokenKind::kSet);
            if (parseSet(p, n, pos, set)) {
                alt.tokens.push_back(std::move(set));
                i = pos;
            } else {
                alt.tokens.push_back(Token(TokenKind::kLiteral, c));
                ++i;
            }
            break;
        }
        default: alt.tokens.push_back(Token(TokenKind::kLiteral, c)); ++i; break;
        }
    }
    return pattern;
}

bool inRanges(const std::vector<Range>& ranges, char32_t c)
{
    for (const Range& r : ranges)
        if (c >= r.lo && c <= r.hi)
            return true;
    return false;
}

// Whether token (not a star) matches the single character c.
bool matchesOne(const Token& token, char32_t c, bool ignoreCase)
{
    switch (token.kind) {
    case TokenKind::kAny: return true;
    case TokenKind::kDigit: return isDigit(c);
    case TokenKind::kAlpha: return isAlpha(c);
    case TokenKind::kNonAlnum: return !isAlpha(c) && !isDigit(c);
    case TokenKind::kLiteral:
        return c == token.literal || (ignoreCase && toLower(c) == toLower(token.literal));
    case TokenKind::kSet: {
        bool member = inRanges(token.ranges, c)
                   || (ignoreCase && (inRanges(token.ranges, toLower(c)) || inRanges(token.ranges, toUpper(c))));
        return member != token.negated;
    }
    case TokenKind::kStar: return false;
    }
    return false;
}

// Glob matching where every token but the star takes exactly one character:
// greedy with a single backtrack point at the last star, O(n·m) at worst.
bool matchTokens(const std::vector<Token>& tokens, const std::vector<char32_t>& s, bool ignoreCase)
{
    std::size_t t = 0, i = 0;
    std::size_t starToken = tokens.size(), starText = 0;
    while (i < s.size()) {
        if (t < tokens.size() && tokens[t].kind == TokenKind::kStar) {
            starToken = t++;
            starText = i;
        } else if (t < tokens.size() && matchesOne(tokens[t], s[i], ignoreCase)) {
            ++t;
            ++i;
        } else if (starToken < tokens.size()) {
            t = starToken + 1;
            i = ++starText;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].kind == TokenKind::kStar)
        ++t;
    return t == tokens.size();
}

// The last pattern parsed on this thread: a selection filter matches every
// entity's name against the same pattern, which is then parsed once. The
// decoded text goes to a buffer kept between calls.
struct MatchState {
    std::string patternText;
    Pattern pattern;
    bool parsed = false;
    std::vector<char32_t> text;
    // For a pattern that is ASCII literals then one star ("ROOM-*", the
    // pattern of a space block selection): the literals, which a name of
    // ASCII bytes is then compared with in place, not decoded.
    bool prefixThenStar = false;
    std::string prefix;
};

// Whether the pattern is one alternative of literals below U+0080 ending in
// a star, not negated; prefix is then those literals.
bool asPrefixThenStar(const Pattern& pattern, std::string& prefix)
{
    prefix.clear();
    if (pattern.negated || pattern.alternatives.size() != 1)
        return false;
    const std::vector<Token>& tokens = pattern.alternatives.front().tokens;
    if (tokens.empty() || tokens.back().kind != TokenKind::kStar)
        return false;
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::kLiteral || tokens[i].literal >= 0x80)
            return false;
        prefix += static_cast<char>(tokens[i].literal);
    }
    return true;
}

// The literals-then-star pattern against a name whose first prefix.size()
// bytes are ASCII: each is then one character, which folds only within
// ASCII, and the star takes whatever follows. -1 when a byte there is not
// ASCII (the general way then decides).
int matchPrefix(const std::string& prefix, std::string_view name, bool ignoreCase)
{
    // Fewer bytes than literals: fewer characters too, so no match.
    if (name.size() < prefix.size())
        return 0;
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    int verdict = 1;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80)
            return -1;
        const auto literal = static_cast<unsigned char>(prefix[i]);
        if (c != literal && !(ignoreCase && lower(c) == lower(literal)))
            verdict = 0;
    }
    return verdict;
}

}  // namespace

int acutWcMatchEx(const char* string, const char* pattern, bool ignoreCase)
{
    if (string == nullptr || pattern == nullptr)
        return 0;
    thread_local MatchState state;
    MatchState& st = state;
    if (!st.parsed || st.patternText != pattern) {
        std::vector<char32_t> points;
        decode(pattern, points);
        st.pattern = parse(points);
        st.patternText.assign(pattern);
        st.parsed = true;
        st.prefixThenStar = asPrefixThenStar(st.pattern, st.prefix);
    }
    if (st.prefixThenStar)
        if (const int verdict = matchPrefix(st.prefix, string, ignoreCase); verdict >= 0)
            return verdict;
    decode(string, st.text);
    const Pattern& parsed = st.pattern;
    const std::vector<char32_t>& text = st.text;
    bool any = false;
    for (const Alternative& alt : parsed.alternatives)
        if (matchTokens(alt.tokens, text, ignoreCase)) {
            any = true;
            break;
        }
    return any != parsed.negated ? 1 : 0;
}

int acutWcMatch(const char* string, const char* pattern)
{
    return acutWcMatchEx(string, pattern, true);
}
