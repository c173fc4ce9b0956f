#include "host/db/AcDbMTextFormat.h"

#include <cmath>
#include <cctype>
#include <cstdlib>

#include "host/base/DxfCodepage.h"

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// The format in effect at a point of the contents.
struct Format {
    double height = 0.0;
    double widthFactor = 1.0;
    double oblique = 0.0;
    double tracking = 1.0;
    std::string fontFamily, fontFile;
    bool bold = false, italic = false;
    bool hasColour = false;
    AcCmColor colour;
    bool underline = false, overline = false, strikeThrough = false;

    bool sameAs(const AcDbMTextRun& r) const
    {
        return height == r.height && widthFactor == r.widthFactor && oblique == r.oblique && tracking == r.tracking &&
               fontFamily == r.fontFamily && fontFile == r.fontFile && bold == r.bold && italic == r.italic &&
               hasColour == r.hasColour && (!hasColour || colour == r.colour) && underline == r.underline &&
               overline == r.overline && strikeThrough == r.strikeThrough;
    }
};

// A number written as the argument of a code, with an optional trailing
// "x" that makes it relative to the value in effect.
double argument(const std::string& arg, double current)
{
    const bool relative = !arg.empty() && (arg.back() == 'x' || arg.back() == 'X');
    const double v = std::strtod(arg.c_str(), nullptr);
    if (!std::isfinite(v) || v <= 0.0)
        return current;
    return relative ? current * v : v;
}

class Parser {
public:
    Parser(std::string_view s, double height) : s_(s) { format_.height = height; }

    std::vector<AcDbMTextParagraph> run()
    {
        paragraphs_.emplace_back();
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (c == '\\' && i_ < s_.size())
                code(s_[i_++]);
            else if (c == '{')
                stack_.push_back(format_);
            else if (c == '}') {
                if (!stack_.empty()) {
                    format_ = stack_.back();
                    stack_.pop_back();
                }
            } else if (c == '^' && i_ < s_.size())
                caret(s_[i_++]);
            else
                emit(std::string_view(&c, 1));
        }
        return std::move(paragraphs_);
    }

private:
    // The argument of a code: up to the next ';' (or the end), which is consumed.
    std::string untilSemicolon()
    {
        const size_t end = s_.find(';', i_);
        std::string arg(s_.substr(i_, end == std::string_view::npos ? std::string_view::npos : end - i_));
        i_ = end == std::string_view::npos ? s_.size() : end + 1;
        return arg;
    }

    void emit(std::string_view text)
    {
        auto& runs = paragraphs_.back().runs;
        if (runs.empty() || !format_.sameAs(runs.back())) {
            AcDbMTextRun r;
            r.height = format_.height;
            r.widthFactor = format_.widthFactor;
            r.oblique = format_.oblique;
            r.tracking = format_.tracking;
            r.fontFamily = format_.fontFamily;
            r.fontFile = format_.fontFile;
            r.bold = format_.bold;
            r.italic = format_.italic;
            r.hasColour = format_.hasColour;
            r.colour = format_.colour;
            r.underline = format_.underline;
            r.overline = format_.overline;
            r.strikeThrough = format_.strikeThrough;
            runs.push_back(std::move(r));
        }
        runs.back().text += text;
    }

    void caret(char c)
    {
        if (c == 'J')
            paragraphs_.emplace_back();
        else if (c == 'I')
            emit("    ");
        else if (c == ' ')
            emit("^");
        else if (c != 'M')
            emit("\xE2\x96\xAF");  // another control character: an empty box, as CAD programs show it
    }

    void code(char c)
    {
        switch (c) {
        case 'P':
        case 'N':
        case 'X': paragraphs_.emplace_back(); break;
        case '~': emit("\xC2\xA0"); break;
        case '\\':
        case '{':
        case '}': emit(std::string_view(&c, 1)); break;
        case 'L': format_.underline = true; break;
        case 'l': format_.underline = false; break;
        case 'O': format_.overline = true; break;
        case 'o': format_.overline = false; break;
        case 'K': format_.strikeThrough = true; break;
        case 'k': format_.strikeThrough = false; break;
        case 'H': format_.height = argument(untilSemicolon(), format_.height); break;
        case 'W': format_.widthFactor = argument(untilSemicolon(), format_.widthFactor); break;
        case 'T': format_.tracking = argument(untilSemicolon(), format_.tracking); break;
        case 'Q': {
            const double degrees = std::strtod(untilSemicolon().c_str(), nullptr);
            if (std::isfinite(degrees))
                format_.oblique = degrees * kDegToRad;
            break;
        }
        case 'C': {
            const long index = std::strtol(untilSemicolon().c_str(), nullptr, 10);
            if (index >= 1 && index <= 255) {
                format_.hasColour = true;
                format_.colour.setColorIndex(static_cast<int16_t>(index));
            } else {
                format_.hasColour = false;  // 0 and 256: the entity's own colour
            }
            break;
        }
        case 'c': {
            // A true colour packed as blue, green, red from the high byte down.
            const unsigned long bgr = std::strtoul(untilSemicolon().c_str(), nullptr, 10);
            format_.hasColour = true;
            format_.colour.setRGB(static_cast<uint8_t>(bgr & 0xFF), static_cast<uint8_t>((bgr >> 8) & 0xFF),
                                  static_cast<uint8_t>((bgr >> 16) & 0xFF));
            break;
        }
        case 'f':
        case 'F': font(c, untilSemicolon()); break;
        case 'S': stacked(untilSemicolon()); break;
        case 'U': unicode(); break;
        case 'A':
        case 'p': untilSemicolon(); break;
        default: break;  // an unknown code letter is dropped
        }
    }

    void font(char c, const std::string& arg)
    {
        // "Family|b1|i0|c0|p34" for a TrueType font, "file.shx" (maybe with "|c0") for a shape font.
        const size_t bar = arg.find('|');
        const std::string name = arg.substr(0, bar);
        if (c == 'f') {
            format_.fontFamily = name;
            format_.fontFile.clear();
            format_.bold = arg.find("|b1") != std::string::npos;
            format_.italic = arg.find("|i1") != std::string::npos;
        } else {
            format_.fontFile = name;
            format_.fontFamily.clear();
        }
    }

    void stacked(const std::string& arg)
    {
        // Numerator and denominator around ^ (tolerance), / or # (fraction); escaped separators are characters.
        std::string text;
        for (size_t k = 0; k < arg.size(); ++k) {
            if (arg[k] == '\\' && k + 1 < arg.size()) {
                text += arg[++k];
                continue;
            }
            text += (arg[k] == '^' || arg[k] == '#') ? '/' : arg[k];
        }
        while (!text.empty() && text.back() == '/')
            text.pop_back();
        emit(text);
    }

    void unicode()
    {
        // "\U+XXXX" left in text set in memory (files have it decoded when read).
        if (i_ < s_.size() && s_[i_] == '+') {
            size_t k = i_ + 1;
            unsigned cp = 0;
            while (k < s_.size() && k < i_ + 9 && std::isxdigit(static_cast<unsigned char>(s_[k])))
                cp = cp * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(s_[k]))
                                                         ? s_[k] - '0'
                                                         : (std::tolower(static_cast<unsigned char>(s_[k])) - 'a' + 10)),
                ++k;
            if (k - i_ - 1 >= 4) {
                std::string out;
                DxfCodepage::appendUtf8(out, cp);
                emit(out);
                i_ = k;
                return;
            }
        }
        emit("\\U");
    }

    std::string_view s_;
    size_t i_ = 0;
    Format format_;
    std::vector<Format> stack_;
    std::vector<AcDbMTextParagraph> paragraphs_;
};

}  // namespace

std::vector<AcDbMTextParagraph> AcDbMTextFormat::parse(std::string_view contents, double height)
{
    return Parser(contents, height).run();
}

std::string AcDbMTextFormat::plainText(std::string_view contents)
{
    std::string out;
    bool first = true;
    for (const AcDbMTextParagraph& p : parse(contents, 1.0)) {
        if (!first)
            out += '\n';
        first = false;
        for (const AcDbMTextRun& r : p.runs)
            out += r.text;
    }
    return out;
}
