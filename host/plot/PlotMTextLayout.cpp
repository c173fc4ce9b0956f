#include "host/plot/PlotMTextLayout.h"

#include <algorithm>

namespace {

// Baseline to baseline at a line-spacing factor of 1, per unit of text height.
constexpr double kLineSpacing = 5.0 / 3.0;

// A word (or the spaces before it) as pieces of the runs it spans.
struct Token {
    std::vector<PlotMTextLayout::Piece> pieces;
    double advance = 0.0;
    bool space = false;
};

// The paragraph as alternating runs of spaces and words; a word may span
// runs (a format change inside it does not break it).
std::vector<Token> tokens(const AcDbMTextParagraph& paragraph, const PlotMTextLayout::Measure& measure)
{
    std::vector<Token> out;
    for (const AcDbMTextRun& run : paragraph.runs) {
        size_t i = 0;
        while (i < run.text.size()) {
            const bool space = run.text[i] == ' ';
            size_t j = i;
            while (j < run.text.size() && (run.text[j] == ' ') == space)
                ++j;
            if (out.empty() || out.back().space != space)
                out.push_back(Token{{}, 0.0, space});
            PlotMTextLayout::Piece piece;
            piece.run = &run;
            piece.text = run.text.substr(i, j - i);
            piece.advance = measure(run, piece.text);
            out.back().advance += piece.advance;
            out.back().pieces.push_back(std::move(piece));
            i = j;
        }
    }
    return out;
}

void append(PlotMTextLayout::Line& line, const Token& token)
{
    for (const PlotMTextLayout::Piece& p : token.pieces) {
        PlotMTextLayout::Piece placed = p;
        placed.x = line.width;
        line.width += p.advance;
        line.height = std::max(line.height, p.run->height);
        line.pieces.push_back(std::move(placed));
    }
}

}  // namespace

std::vector<PlotMTextLayout::Line> PlotMTextLayout::layout(const AcDbSinkMText& text, const Measure& measure)
{
    std::vector<Line> lines;
    for (const AcDbMTextParagraph& paragraph : text.paragraphs) {
        Line line;
        const std::vector<Token> words = tokens(paragraph, measure);
        const Token* pendingSpace = nullptr;
        for (const Token& t : words) {
            if (t.space) {
                pendingSpace = &t;
                continue;
            }
            const double spaceAdvance = pendingSpace && !line.pieces.empty() ? pendingSpace->advance : 0.0;
            if (text.width > 0.0 && !line.pieces.empty() && line.width + spaceAdvance + t.advance > text.width * (1 + 1e-9)) {
                lines.push_back(std::move(line));
                line = Line();
            } else if (pendingSpace && (!line.pieces.empty() || pendingSpace == &words.front())) {
                // Spaces inside a line, and those a paragraph starts with, are kept.
                append(line, *pendingSpace);
            }
            pendingSpace = nullptr;
            append(line, t);
        }
        if (line.height == 0.0)
            line.height = text.height;
        lines.push_back(std::move(line));
    }
    // Each line hangs from its top: its baseline is its tallest run's height
    // below, and the next line's top is the line spacing below this top,
    // which grows with this line's tallest run unless it is exact.
    double top = 0.0;
    for (Line& line : lines) {
        line.baseline = top - line.height;
        top -= kLineSpacing * text.lineSpacingFactor *
               (text.exactSpacing ? text.height : std::max(text.height, line.height));
    }
    const double total = lines.empty() ? 0.0 : -lines.back().baseline;
    const int column = (text.attachment - 1) % 3, row = (text.attachment - 1) / 3;
    const double shiftY = row == 0 ? 0.0 : row == 1 ? total / 2.0 : total;
    for (Line& line : lines) {
        line.baseline += shiftY;
        const double shiftX = column == 0 ? 0.0 : column == 1 ? -line.width / 2.0 : -line.width;
        for (Piece& p : line.pieces)
            p.x += shiftX;
    }
    return lines;
}
