#pragma once
// An ordered collection of space blocks (from a drawing, a database query or
// a graphic report document). It owns its blocks, whatever their kind: the
// drawing kinds own attributes, hatch, hyperlinks and assets, and all of it
// is freed with the collection (or by deleteObject / deleteObjects).
//
// A collection is filled once per command and does not follow later changes
// to the drawing; filling appends. Also here: how a block reference is
// classified into a kind, and how new space definitions and spaces are
// numbered and named.
//
// Every operation wraps failures in a CEXUnhandled chain naming it
// ("CBlocks::...", class "Blocks").

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3d.h"
#include "spaces/Block.h"

class AcDbBlockReference;
class AcDbDatabase;
class CAcadDrawing;
class CBlockDWG;

class CBlocks {
public:
    CBlocks() = default;
    CBlocks(const CBlocks&) = delete;
    CBlocks& operator=(const CBlocks&) = delete;
    ~CBlocks() { deleteObjects(); }

    // Appends the block, takes ownership and adds one to the count.
    void addBlock(std::unique_ptr<CBlock> block);
    int getCount() const { return count_; }
    int size() const { return static_cast<int>(items_.size()); }
    // The block at index; throws a CEXUnhandled chain for an index out of range.
    CBlock& getAt(int index) const;
    // The first block whose handle equals the text exactly, or null.
    CBlock* getAt(const std::string& handle) const;
    // The first block whose code equals the text exactly, or null.
    CBlock* getByCode(const std::string& code) const;
    // Puts a new block in the slot and frees the old one; throws a
    // CEXUnhandled chain for an index out of range.
    void replaceAt(int index, std::unique_ptr<CBlock> block);
    // Frees every block and empties the collection.
    void deleteObjects();
    // Removes the block from the collection and frees it; false when it is not held.
    bool deleteObject(const CBlock* block);

    // Appends the drawing's space blocks: the block references of the whole
    // drawing (model space, then every layout's paper space) whose definition
    // name matches "ROOM-*", classified by kind for
    // the level ("f" floor plan, anything else site plan). Rooms get their
    // assets when withAssets is set. The view is zoomed to the drawing's
    // extents for the search and back to the previous view after it (also
    // when nothing is found). Leaves the collection and the view unchanged
    // when the drawing cannot be locked; references that cannot be read are
    // skipped.
    void getZelkaDWGBlocks_SS(CAcadDrawing& drawing, bool withAssets, const std::string& level);
    // The same over every block reference of model space, in model-space
    // order, without the name filter (any block but the two markers counts).
    void getZelkaDWGBlocks_I(CAcadDrawing& drawing, bool withAssets, const std::string& level);
    // Appends a plain CBlockDWG for every block reference of the drawing
    // (model space, then every layout's paper space).
    void getAcadBlocks(CAcadDrawing& drawing);
    // Append the legend (pie chart) marker blocks of the drawing, the
    // references of "MARKER-LEGEND" ("MARKER-PIECHART") in the drawing, in
    // order, each read as a CMarkerBlockLegend (CMarkerBlockPie). Leave the
    // collection unchanged when the drawing cannot be locked; references
    // that cannot be read are skipped.
    void getLegendBlock_SS(CAcadDrawing& drawing);
    void getPieBlock_SS(CAcadDrawing& drawing);
    // The ids of the drawing's block references (model space, then every
    // layout's paper space) whose definition name matches the wild-card
    // pattern (compared upper-cased), in order: the "X" selection with the
    // filters (0 "INSERT") and (2 pattern).
    static std::vector<AcDbObjectId> getZelkaBlockSS(CAcadDrawing& drawing, const std::string& namePattern);
    // The kind object for a reference (null for a marker block or a gross
    // area record on a "ROOM-" definition, and for a reference whose
    // definition cannot be opened).
    static std::unique_ptr<CBlockDWG> classifyBlockReference(const AcDbBlockReference* reference,
                                                             CAcadDrawing& drawing, bool withAssets,
                                                             const std::string& level);
    // The references getZelkaDWGBlocks_SS reads, in its order, found as it
    // finds them (zoomed to the drawing's extents and back); none when the
    // drawing cannot be locked.
    static std::vector<AcDbObjectId> getZelkaBlockIds_SS(CAcadDrawing& drawing);
    // The space block of one of those references, read as
    // getZelkaDWGBlocks_SS reads it; null when the reference is no space
    // block or cannot be read. With skipNonSpaces a reference without a
    // definition is passed over.
    static std::unique_ptr<CBlockDWG> readSpaceBlock(AcDbObjectId id, CAcadDrawing& drawing, bool withAssets,
                                                     const std::string& level, bool skipNonSpaces);
    // The value of the record's "NAME=" item (under "ADE", else
    // "AECXDATA"), or "".
    static std::string readNameFromXData(const AcDbBlockReference* reference);

    // Orders the blocks by their handle text read as a hexadecimal number.
    void sortBlocksByHandle(bool ascending);
    // Zooms the drawing's view to the smallest X-Y window holding every
    // block's extents grown by margin, and gives that window in lower and
    // upper; blocks whose reference cannot be opened are passed over.
    // Returns false, leaving the corners and the view, when no block has
    // extents or the drawing cannot be locked; throws the host-error chain
    // when the zoom fails.
    bool zoomToBlocks(CAcadDrawing& drawing, double margin, AcGePoint3d& lower, AcGePoint3d& upper) const;
    bool zoomToBlocks(CAcadDrawing& drawing, double margin) const;

    // The next free space definition number: one more than the largest
    // number after "ROOM-" (prefix compared upper-cased; "ROOM-GROSS_AREA"
    // counts 0) in the block table; 0 without a database.
    static int32_t calcNextBlockIdentifier(AcDbDatabase* database);
    // Splits a name into its leading text and its trailing number text (the
    // digits at its end; "" when it ends otherwise).
    static void splitTrailingNumber(const std::string& name, std::string& leading, std::string& number);
    // The proposed name after highest ("Room " when empty): its trailing
    // number plus increment (1 when it has none), zero-padded to the old width.
    static std::string calcNextBlockName(const std::string& highest, int32_t increment);
    // The room name with the highest trailing number among the floor plan's
    // rooms (later wins ties), "" without rooms; every room name is appended
    // to existingNames.
    static std::string getHighestExistingBlockName(CAcadDrawing& drawing, std::vector<std::string>& existingNames);

    // Appends "zelkaBlocks" and one "zelkaBlock" per block, in order.
    // Returns the container; wraps DOM failures (CBlocks::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one block record per "zelkaBlock" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CBlock>> items_;
    int32_t count_ = 0;
};
