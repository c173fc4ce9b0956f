#pragma once
// The room-area export: the header line, one row per room block (definition
// named "ROOM-" but not "ROOM-GROSS_AREA"), the totals row, two empty lines,
// and one row per gross area block. Blocks are added in the order they are
// to appear (the collection sorted by handle); the text is written beside the
// drawing in one piece.

#include <cstdint>
#include <string>
#include <vector>

class CRoomAreaCSV {
public:
    // Numbers are written with this many decimals (the preferences' precision).
    explicit CRoomAreaCSV(int32_t precision) : precision_(precision) {}

    // Adds one space block: its definition name decides whether it is a room,
    // a gross area block or not exported at all. units 0 is metric, anything
    // else imperial. False, adding nothing, when the area or the perimeter is
    // not a finite number (it would be written as "inf" or "nan").
    bool addBlock(const std::string& blockName, const std::string& name, double area, double perimeter,
                  int32_t units);

    // Whether the totals row's sums are finite numbers (finite values can
    // still add up to infinity).
    bool totalsFinite() const;

    // The whole file text (without the byte-order mark).
    std::string getText() const;

    // Creates (or replaces) the file and writes the UTF-8 byte-order mark
    // (spreadsheets read the file as UTF-8 only with it, so "m²" stays "m²")
    // and the text. False when the file cannot be created or written;
    // nothing is thrown.
    bool writeFile(const std::string& path) const;

    // The export path of a drawing: its path with the last four characters
    // (the extension) replaced by ".csv"; "" for a path of fewer than four.
    static std::string csvPathFor(const std::string& drawingPath);

    // A field as CSV readers expect it: quoted, with inner quotes doubled,
    // when it holds a comma, a double quote or a line break; otherwise as is.
    static std::string quoteField(const std::string& field);

private:
    struct Row {
        std::string name;
        double area;
        double perimeter;
        int32_t units;
    };
    std::string rowText(const Row& row) const;

    int32_t precision_;
    std::vector<Row> rooms_;
    std::vector<Row> grossAreas_;
    bool haveLastUnits_ = false;
    int32_t lastUnits_ = 0;
};
