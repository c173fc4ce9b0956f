#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/DxfTagList.h"
#include "host/dxf/DxfTag.h"

// Turns the tags of an R12 (AC1009) or older DXF file into the text of an
// R2013 drawing the reader takes as it takes any other: the new-drawing
// template (DxfDefaultDrawing) with the file's header values, table records,
// blocks and entities merged in. Every object gets a handle (R12 files may
// have none), table records and entities their owners and subclass markers,
// every block a BLOCK_RECORD; POLYLINE/VERTEX/SEQEND and INSERT/ATTRIB/SEQEND
// sequences stay sequences owned by their head. Strings are decoded from the
// file's code page to UTF-8. Layers that entities name without a LAYER
// record get one, as CAD programs do on opening.
class DxfR12Upgrade {
public:
    // tags: the file's tags, pointing into text.
    DxfR12Upgrade(const std::vector<DxfTag>& tags, std::string_view text);

    // True when the tags are an R12 or older drawing: $ACADVER AC1009 or
    // older, or no $ACADVER (or no HEADER at all) in a file without the
    // CLASSES or OBJECTS sections and BLOCK_RECORD table of later versions.
    // version: the $ACADVER value, "" without one.
    static bool isR12(const DxfTagList& tags, std::string& version);

    // The upgraded DXF text. sourceLines[k] is the file line of the group
    // code of the tag the k-th tag written comes from (0 for made ones).
    std::string upgrade(bool crlf, std::vector<uint32_t>& sourceLines);

private:
    struct Out {
        int code;
        std::string value;
        uint32_t line;
    };
    struct Range {
        size_t begin = 0, end = 0;  // [begin, end) in the source tags
    };

    uint32_t lineOf(size_t tag) const { return tag < lines_.size() ? lines_[tag] : 0; }
    std::string decoded(const DxfTag& t) const;
    std::string newHandle();
    // The objects (from one 0 tag to the next) of a section's body.
    std::vector<Range> objectsOf(Range section) const;
    std::string nameOf(Range object) const;

    void emit(std::vector<Out>& out, int code, std::string value, uint32_t line = 0) const;
    void emitSource(std::vector<Out>& out, size_t tag) const;
    // A table record with its owner and markers; handle: the one to take ("" for a new one).
    void convertRecord(std::vector<Out>& out, const std::string& type, Range record, const std::string& table,
                       std::string handle);
    void convertEntity(std::vector<Out>& out, Range e, const std::string& owner, std::string& parent);
    void convertBlocks(std::vector<Out>& out);
    void convertEntities(std::vector<Out>& out);
    void writeHeader(std::vector<Out>& out);
    void writeTables(std::vector<Out>& out);

    const std::vector<DxfTag>& tags_;
    std::string_view text_;
    std::vector<uint32_t> lines_;  // group-code line of each source tag
    std::string codepage_ = "ANSI_1252";
    Range header_, tables_, blocks_, entities_;

    std::string templateText_;
    std::vector<DxfTag> template_;
    Range tHeader_, tClasses_, tTables_, tBlocks_, tObjects_;
    uint64_t nextHandle_ = 1;

    std::string modelSpace_, paperSpace_;                     // their BLOCK_RECORD handles
    std::vector<std::pair<std::string, std::string>> blockRecords_;  // block name, record handle
    std::vector<std::string> layersUsed_;
    std::set<std::string> skipped_;  // blocks of model and paper space (lower case), not converted
};
