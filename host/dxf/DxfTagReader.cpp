#include "host/dxf/DxfTagReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "host/base/DxfLineFeed.h"

namespace {

// Shows a line of the file in a message: at most 40 bytes, controls as '?'.
std::string quoted(std::string_view s)
{
    std::string out = "'";
    for (char c : s.substr(0, 40))
        out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
    if (s.size() > 40)
        out += "...";
    return out + "'";
}

// Parses a group-code line: optional blanks, optional sign, digits, blanks.
bool parseGroupCode(std::string_view s, int& code)
{
    size_t i = 0, n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    size_t digits = 0;
    long value = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i++] - '0');
        if (++digits > 6)
            return false;
    }
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    if (digits == 0 || i != n)
        return false;
    code = static_cast<int>(negative ? -value : value);
    return code >= 0 && code <= 1071;
}

// The number of decimal digits of a group code (0..1071).
int digitCount(int code) { return code >= 1000 ? 4 : code >= 100 ? 3 : code >= 10 ? 2 : 1; }

// Whether a group-code line is the code as DxfTagWriter writes it: right
// aligned in three columns, no sign, no leading zeros, nothing after it.
bool writtenAsIs(std::string_view line, int code)
{
    const size_t digits = static_cast<size_t>(digitCount(code));
    const size_t width = digits < 3 ? 3 : digits;
    if (line.size() != width || (digits > 1 && line[width - digits] == '0'))
        return false;
    for (size_t i = 0; i < width - digits; ++i)
        if (line[i] != ' ')
            return false;
    return true;
}

// The group-code line in three columns followed by the file's line end (see
// dxfThreeColumnCode): sets code, the start of the next line and whether
// the line is exactly as DxfTagWriter writes it. False for any other line,
// which quickGroupCode then reads.
[[gnu::always_inline]] inline bool threeColumnCode(const char* p, const char* e, bool crlf, int& code,
                                                   const char*& next, bool& asWritten)
{
    const ptrdiff_t feed = crlf ? 4 : 3;
    if (e - p <= feed || p[feed] != '\n' || (crlf && p[3] != '\r'))
        return false;
    code = dxfThreeColumnCode(p, asWritten);
    next = p + feed + 1;
    return code >= 0;
}

// The group-code line as nearly every file writes it: spaces, one to six
// digits, the line end. Sets code, the end of the line and whether the line
// is as DxfTagWriter writes it; false for any other line (the general parser
// then decides, and words any fault).
[[gnu::always_inline]] inline bool quickGroupCode(const char* p, const char* e, DxfLineFeeds& feeds, bool crlf, int& code,
                                                  const char*& next, bool& asWritten)
{
    const char* nl = feeds.next(p);
    if (nl == e)
        return false;
    const char* end = nl;
    const bool cr = end > p && end[-1] == '\r';
    if (cr)
        --end;
    const char* start = p;
    while (p < end && *p == ' ')
        ++p;
    const char* digits = p;
    if (end == digits || end - digits > 6)
        return false;
    const int count = static_cast<int>(end - digits);
    int value = 0;
    for (; p < end; ++p) {
        const unsigned digit = static_cast<unsigned>(*p - '0');
        if (digit >= 10)
            return false;
        value = value * 10 + static_cast<int>(digit);
    }
    if (value > 1071)
        return false;
    const int width = count < 3 ? 3 : count;
    asWritten = cr == crlf && count == digitCount(value) && (digits - start) + count == width;
    code = value;
    next = nl + 1;
    return true;
}

// Where a run of tags is added: a list through an appender, a vector as it
// is.
inline DxfTagList::Appender runSink(DxfTagList& tags) { return DxfTagList::Appender(tags); }
inline std::vector<DxfTag>& runSink(std::vector<DxfTag>& tags) { return tags; }

// Reads, from p on, the tags whose two lines are exactly as DxfTagWriter
// writes them, at most `most` of them, and returns where the first other
// tag starts (taken says how many were read). A tag "0 EOF" or any tag of
// code 9 is left to the caller, which stops or counts versions at them.
// This is the loop nearly every tag of a file goes through; it keeps its
// state in locals (the line-feed block among them) so that the compiler
// can hold it in registers, and leaves everything else to readSome.
template <bool Crlf, class Tags>
[[gnu::always_inline]] inline const char* readWrittenTags(const char* p, const char* e, DxfLineFeeds& feedsOut, Tags& tags,
                                                         size_t most, size_t& taken)
{
    constexpr ptrdiff_t eol = Crlf ? 2 : 1;
    DxfLineFeeds feeds = feedsOut;
    auto&& out = runSink(tags);
    size_t n = 0;
    while (n < most) {
        int code = -1;
        const char* value = nullptr;
        if (e - p > 3 + eol && p[2 + eol] == '\n' && (!Crlf || p[3] == '\r')) {
            bool asWritten = false;
            code = dxfThreeColumnCode(p, asWritten);
            if (code < 0 || !asWritten)
                break;
            value = p + 3 + eol;
        } else if (e - p > 4 + eol && p[3 + eol] == '\n' && (!Crlf || p[4] == '\r')) {
            code = dxfFourColumnExtendedCode(p);
            if (code < 0 || code > 1071)
                break;
            value = p + 4 + eol;
        } else {
            break;
        }
        const char* nl = feeds.next(value);
        if (nl == e || (nl > value && nl[-1] == '\r') != Crlf)
            break;
        const std::string_view v(value, static_cast<size_t>(nl - value) - (Crlf ? 1 : 0));
        if (code == 9 || (code == 0 && v == "EOF"))
            break;
        out.push_back(DxfTag(code, v));
        p = nl + 1;
        ++n;
    }
    feedsOut = feeds;
    taken = n;
    return p;
}

}  // namespace

size_t DxfTagReader::lineOfOffset(std::string_view text, size_t offset)
{
    offset = std::min(offset, text.size());
    return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n'));
}

DxfReadResult DxfTagReader::failure(Acad::ErrorStatus status, size_t line, const std::string& what) const
{
    DxfReadResult r;
    r.status = status;
    r.line = line;
    r.message = fileName_ + ": line " + std::to_string(line) + ": " + what;
    return r;
}

DxfReadResult DxfTagReader::read(std::string_view text, std::vector<DxfTag>& tags, std::vector<size_t>* unusual) const
{
    return readInto(text, tags, unusual);
}

DxfReadResult DxfTagReader::read(std::string_view text, DxfTagList& tags, std::vector<size_t>* unusual) const
{
    tags.setText(text);
    return readInto(text, tags, unusual);
}

DxfReadResult DxfTagReader::startFault(std::string_view text, size_t& pos) const
{
    if (text.substr(0, 18) == "AutoCAD Binary DXF")
        return failure(Acad::eDwgNotSupported, 1,
                       "this is a binary DXF file; only ASCII DXF can be read - save it as ASCII DXF");
    if (text.size() >= 4 && text.substr(0, 4) == "AC10" )
        return failure(Acad::eDwgNotSupported, 1,
                       "this is a DWG drawing, not a DXF file; DWG cannot be read here - save it as DXF");
    pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        pos = 3;
    return {};
}

template <class Tags>
DxfReadResult DxfTagReader::readInto(std::string_view text, Tags& tags, std::vector<size_t>* unusual) const
{
    Progress at;
    at.result = startFault(text, at.pos);
    if (!at.result.ok())
        return at.result;
    at.crlf = usesCrlf(text);
    readSome(text, at, tags, unusual, SIZE_MAX);
    return at.result;
}

DxfTagReader::Progress DxfTagReader::start(std::string_view text, DxfTagList& tags) const
{
    tags.setText(text);
    Progress at;
    at.result = startFault(text, at.pos);
    at.done = !at.result.ok();
    at.crlf = usesCrlf(text);
    return at;
}

void DxfTagReader::more(std::string_view text, Progress& at, DxfTagList& tags, std::vector<size_t>* unusual, size_t limit) const
{
    if (!at.done)
        readSome(text, at, tags, unusual, limit);
}

template <class Tags>
void DxfTagReader::readSome(std::string_view text, Progress& at, Tags& tags, std::vector<size_t>* unusual, size_t limit) const
{
    size_t pos = at.pos;
    size_t line = at.line;
    const char* base = text.data();
    const size_t n = text.size();
    const char* const e = base + n;
    const bool crlf = at.crlf;
    size_t count = at.count;
    bool endAsWritten = true;  // the last line read ended as DxfTagWriter ends a line
    DxfLineFeeds feeds(e);
    auto nextLine = [&](std::string_view& out) -> bool {
        if (pos >= n)
            return false;
        const void* nl = std::memchr(base + pos, '\n', n - pos);
        size_t end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - base) : n;
        size_t stop = end;
        if (stop > pos && base[stop - 1] == '\r')
            --stop;
        endAsWritten = nl && (stop < end) == crlf;
        out = std::string_view(base + pos, stop - pos);
        pos = nl ? end + 1 : n;
        return true;
    };
    // A value line.
    auto nextValueLine = [&](std::string_view& out) -> bool {
        if (pos >= n)
            return false;
        const char* p = base + pos;
        const char* nl = feeds.next(p);
        if (nl == e)
            nl = nullptr;
        const char* stop = nl ? nl : e;
        if (stop > p && stop[-1] == '\r')
            --stop;
        endAsWritten = nl && (stop < (nl ? nl : e)) == crlf;
        out = std::string_view(p, static_cast<size_t>(stop - p));
        pos = nl ? static_cast<size_t>(nl - base) + 1 : n;
        return true;
    };
    std::string_view codeLine, valueLine;
    auto stop = [&](DxfReadResult r) {
        at.pos = pos;
        at.line = line;
        at.count = count;
        at.done = true;
        at.result = std::move(r);
    };
    for (size_t read = 0; read < limit; ++read) {
        if (pos < n) {
            size_t taken = 0;
            const char* p = crlf ? readWrittenTags<true>(base + pos, e, feeds, tags, limit - read, taken)
                                 : readWrittenTags<false>(base + pos, e, feeds, tags, limit - read, taken);
            pos = static_cast<size_t>(p - base);
            count += taken;
            line += 2 * taken;
            read += taken;
            if (read >= limit)
                break;
        }
        // Nearly every tag of a file is read by readWrittenTags above. Any
        // other (and "0 EOF", code 9 and the last tag of the file) goes the
        // general way, which words the faults and notes the tags not laid
        // out as DxfTagWriter writes them.
        const size_t tagPos = pos;
        int code = 0;
        bool asWritten = false;
        const char* next = nullptr;
        if (pos < n && (threeColumnCode(base + pos, base + n, crlf, code, next, asWritten) ||
                        quickGroupCode(base + pos, base + n, feeds, crlf, code, next, asWritten))) {
            pos = static_cast<size_t>(next - base);
        } else if (!nextLine(codeLine)) {
            if (tags.empty())
                return stop(failure(Acad::eBadDxfSequence, line, "the file is empty; expected a DXF file starting with '0 SECTION'"));
            return stop(failure(Acad::eBadDxfSequence, line, "unexpected end of file; expected group code 0 with 'EOF'"));
        } else if (!parseGroupCode(codeLine, code)) {
            // A blank line at the very end is tolerated only after EOF, which never gets here.
            if (tags.empty() && line == 1 && text.find('\0') < 512)
                return stop(failure(Acad::eBadDxfSequence, line, "this is not a text DXF file (binary data at the start)"));
            return stop(failure(Acad::eInvalidDxfCode, line, "expected a group code (a whole number 0..1071), found " + quoted(codeLine)));
        } else {
            asWritten = endAsWritten && writtenAsIs(codeLine, code);
        }
        if (!nextValueLine(valueLine))
            return stop(failure(Acad::eBadDxfSequence, line + 1, "unexpected end of file; expected the value of group code " + std::to_string(code)));
        if (unusual && !(asWritten && endAsWritten))
            unusual->push_back(tagPos);
        tags.push_back(DxfTag(code, valueLine));
        ++count;
        line += 2;
        if (code == 9 && valueLine == "$ACADVER")
            ++at.versionTags;
        if (code == 0 && valueLine == "EOF")
            return stop({});
    }
    at.count = count;
    at.pos = pos;
    at.line = line;
}

size_t DxfTagReader::tagStart(std::string_view text, size_t valueOffset)
{
    // Back over the code line's end (LF, maybe CR) to the previous line end.
    size_t k = std::min(valueOffset, text.size());
    if (k > 0 && text[k - 1] == '\n')
        --k;
    while (k > 0 && text[k - 1] != '\n')
        --k;
    if (k == 0 && text.substr(0, 3) == "\xEF\xBB\xBF")
        k = 3;
    return k;
}
