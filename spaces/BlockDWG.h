#pragma once
// A space block in a drawing: a block reference standing for one space (site,
// building, floor, room or plain space), with its data record kept as
// extended data on the reference under "ADE" (read also from "AECXDATA") and
// its three attributes.
//
// A CBlockDWG is a snapshot: it reads the reference once when it is built and
// writes nothing until applyToDWG (or one of the single writers) runs. It
// holds the reference's object id (valid while the drawing is open) and the
// handles of the outlines added to and subtracted from the space, which are
// resolved again on every read. It owns its attributes, hatch, hyperlinks and
// assets (through CBlock).
//
// The kind classes (CBlockDWGRoom, ...Floor, ...Building, ...Site) add no
// fields; code that treats kinds differently switches on getBlockKind().
//
// Every operation wraps failures in a CEXUnhandled chain naming it
// ("CBlockDWG::...", class "BlockDWG").

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcDbHandle.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcDbObjectIdArray.h"
#include "host/ge/AcGeMatrix3d.h"
#include "database/Hyperlinks.h"
#include "spaces/Block.h"

class AcDbBlockReference;
class AcDbDatabase;
class AcDbEntity;
struct resbuf;
class CAcadDrawing;
class CZelkaExceptions;

class CBlockDWG : public CBlock {
public:
    // A reference's data record as fetched once: the texts of its group 1000
    // items (views of the reference's data while it stays open, or of
    // decoded), whether it has one, and the application it was found under
    // ("ADE", "AECXDATA", or "No X Data" when none).
    struct Record {
        std::vector<std::string_view> texts;
        std::list<std::string> decoded;
        bool present = false;
        std::string application = "No X Data";
    };

    // An empty block: CBlock defaults, then initialise().
    CBlockDWG();
    // Reads a block reference the caller holds open for reading, within the
    // drawing (its database resolves handles, its UCS orients the attribute
    // text). A reference without a record keeps the defaults and gets
    // xdataApplication "No X Data".
    CBlockDWG(const AcDbBlockReference* reference, CAcadDrawing& drawing);
    // The same with the reference's record already fetched (readRecord), so
    // a caller that looked at the record first does not fetch it again.
    CBlockDWG(const AcDbBlockReference* reference, CAcadDrawing& drawing, const Record& record);

    // The reference's record: its extended data under "ADE", else under
    // "AECXDATA"; an empty Record ("No X Data") when it has neither.
    static Record readRecord(const AcDbBlockReference* reference);
    // The text after "NAME=" of the first of a record's group 1000 texts
    // starting so, or "" when there is none; a view of that text.
    static std::string_view readNameFromRecord(const std::vector<std::string_view>& texts);

    // Defaults: units -1, precision -1, texts "<Not Set>", xdataApplication
    // "ADE", no attributes, hatch or assets, kind BlockKind::Dwg.
    void initialise();

    // Sets the handle text and the host handle parsed from it.
    void setHandle(const std::string& text);

    AcDbObjectId getBlockReferenceId() const { return blockReferenceId_; }
    void setBlockReferenceId(AcDbObjectId id) { blockReferenceId_ = id; }
    AcDbHandle getBlockHandle() const { return blockHandle_; }
    const std::string& getBlockName() const { return blockName_; }
    void setBlockName(const std::string& name) { blockName_ = name; }
    const std::string& getXdataApplication() const { return xdataApplication_; }
    void setXdataApplication(const std::string& name) { xdataApplication_ = name; }
    const std::vector<AcDbHandle>& getHandlesToAdd() const { return handlesToAdd_; }
    const std::vector<AcDbHandle>& getHandlesToMinus() const { return handlesToMinus_; }
    int32_t getZoomOnApply() const { return zoomOnApply_; }
    void setZoomOnApply(int32_t flag) { zoomOnApply_ = flag; }
    double getZoomMargin() const { return zoomMargin_; }
    void setZoomMargin(double margin) { zoomMargin_ = margin; }
    int32_t getColourIndex() const { return colourIndex_; }
    void setColourIndex(int32_t index) { colourIndex_ = index; }
    int32_t getLineWeight() const { return lineWeight_; }
    void setLineWeight(int32_t weight) { lineWeight_ = weight; }
    const std::string& getLayer() const { return layer_; }
    void setLayer(const std::string& layer) { layer_ = layer; }

    // The suffixes of the block's units (areaSuffix, lengthSuffix).
    std::string getAreaUnits() const;
    std::string getLengthUnits() const;

    // Fills fields from the texts of the record's items (group 1000); keys
    // that do not occur leave their fields; "NAME=" is not read.
    void readXData(const std::vector<std::string_view>& texts, CAcadDrawing& drawing);
    // Registers the application and replaces the reference's record with the
    // one built from the fields. Does nothing unless the entity is a block
    // reference; it must be open for writing. Throws, writing nothing, when
    // a number is not finite (checkNumbersWritable).
    void writeXData(AcDbEntity* entity);
    // The record's item texts (1001 name, "{", the key=value texts, "}") as
    // writeXData writes them; turns xdataApplication "No X Data" into "ADE".
    // A handle list longer than one item holds (kMaxItemBytes) continues in
    // further items under the same key, so there are 19 items or more.
    std::vector<std::string> buildXDataItems();
    // The longest text other CAD programs accept in one extended-data string.
    static constexpr size_t kMaxItemBytes = 255;
    // One key=value item of the record: its key and the field it reads and
    // writes. The one table of them (BlockDWG.cpp) drives both readXData and
    // buildXDataItems.
    struct RecordItem;
    static constexpr size_t kRecordItemCount = 16;
    // The application of a block whose reference has no record.
    static constexpr const char* kNoXData = "No X Data";

    // Each handle's hexadecimal text followed by a comma; "" for none.
    std::string getHandlesToAddAsString() const;
    std::string getHandlesToMinusAsString() const;
    // Keep the handles of the ids that are lightweight polylines; others are skipped.
    void setHandlesToAdd(const AcDbObjectIdArray& ids);
    void setHandlesToMinus(const AcDbObjectIdArray& ids);
    // Parse a comma-terminated list, keeping the handles the database knows.
    void setHandlesToAdd(const std::string& text, AcDbDatabase* database);
    void setHandlesToMinus(const std::string& text, AcDbDatabase* database);
    // The ids of a list's handles through the database, leaving out those it does not know.
    static AcDbObjectIdArray convertHandlesToObjectIds(const std::vector<AcDbHandle>& handles, AcDbDatabase* database);

    // Writes the block to the drawing under the drawing's lock: renames the
    // definition to blockName, writes the record and (when read) the
    // attributes with the drawing's UCS, hatches it when it has a hatch,
    // gives its hyperlinks to the hatch and the block, zooms to it when
    // zoomOnApply is set and applies its assets. Throws the host-error chain
    // when the lock or the reference's write open fails, and the first
    // hatching error as a chain when hatching reports any (flag is the
    // caller's and changes nothing here). A block with a number that is not
    // finite (checkNumbersWritable) throws before anything is written, and
    // so does a block with its reference or an attribute on a locked layer
    // (the CBlockWriteCheck report; both variants), leaving it exactly as it was.
    void applyToDWG(CAcadDrawing& drawing, bool flag);
    // The same for a graphic report: a reference that does not open, and a
    // block with a number that is not finite (reported in errors), leave the
    // drawing alone, and hatching errors go into errors (asset errors into a
    // list of their own). Throws the host-error chain when the lock fails.
    void applyToDWG(CAcadDrawing& drawing, CZelkaExceptions& errors);
    // Throws a CEXCustom naming the block and the values when the area,
    // perimeter, room height, volume or the attributes' text height, width
    // factor or rotation is not a finite number: such a block is not written.
    void checkNumbersWritable() const;
    // Renames the reference's block definition to blockName; host-error chain on failure.
    void updateBlockIdentifier(AcDbBlockReference* reference);
    // Writes the attribute texts and layout to the reference; throws the
    // CBlockWriteCheck report, writing nothing, when part of it is locked.
    void updateAttributes(const AcGeMatrix3d& ucsMatrix, const AcGePoint3d* areaPoint = nullptr);

    // Recompute area (rounded to the precision) and perimeter from the
    // outline, scaled by the reference, less subtracted plus added outlines.
    // Change nothing when the reference cannot be opened.
    void recalculateArea(CAcadDrawing& drawing);
    void recalculatePerimeter(CAcadDrawing& drawing);
    // Both, as recalculateArea then recalculatePerimeter do, opening the
    // reference and its outline once for the two.
    void recalculateAreaAndPerimeter(CAcadDrawing& drawing);
    // Sums over a handle list of converted areas or perimeters. Handles the
    // database does not know are passed over; entries whose entity is gone
    // (erased, or unknown to the open) leave the list.
    double calcAddArea(CAcadDrawing& drawing);
    double calcSubArea(CAcadDrawing& drawing);
    double calcAddAreaPerimeters(CAcadDrawing& drawing);
    double calcSubAreaPerimeters(CAcadDrawing& drawing);

    // Under the drawing's lock: prints the count when report is set,
    // (un)highlights each outline in the list (entries whose handle the
    // drawing no longer knows leave it) and regenerates the drawing. Do
    // nothing when the drawing cannot be locked.
    void highlightAreasAdded(CAcadDrawing& drawing, bool highlight, bool report);
    void highlightAreasSubtracted(CAcadDrawing& drawing, bool highlight, bool report);

    // Copies reference, identity, lists (appended), area and deep copies of
    // attributes, hatch, hyperlinks and assets into other.
    void copyInto(CBlockDWG& other) const;
    // Copies area, attribute layout and texts (each to the attribute of the
    // same index), hatch settings and hyperlinks into other.
    void copyFormatting(CBlockDWG& other) const;

    // Replaces the reference by copies of the outline polylines of its
    // definition, placed where the reference showed them, and erases the
    // definition when nothing else inserts it. Returns false, changing
    // nothing, when the reference is not uniformly scaled and orthogonal or
    // cannot be opened; throws the host-error chain when the lock fails and
    // the CBlockWriteCheck report when the reference or an attribute is locked.
    bool deleteBlock(CAcadDrawing& drawing);
    // Erases the definition unless a reference in model space inserts it;
    // true when erased.
    static bool deleteBlockDefinition(CAcadDrawing& drawing, AcDbObjectId definitionId);
    // Zooms the drawing's view to the outline's extents grown by zoomMargin
    // (getBlockExtents). Does nothing when the entity is not a block
    // reference with an outline; throws the host-error chain when the zoom fails.
    void zoomToBlock(CAcadDrawing& drawing, const AcDbEntity* blockReference);

    // The drawing's current UCS as a matrix from UCS to world (identity
    // without a database).
    static AcGeMatrix3d currentUcsMatrix(const CAcadDrawing& drawing);

    // Hatches the block for a graphic report (only when it has a hatch):
    // the first lightweight polyline of the reference's definition placed
    // where the reference draws it, the added outlines as external loops and
    // the subtracted ones as holes (hatchObject). Returns the new hatch's
    // id, or the null id when none was made. Hatch problems go to errors;
    // throws the host-error chain when the drawing has no database. The
    // reference is the one applyToDWG holds open.
    AcDbObjectId hatchBlock(CAcadDrawing& drawing, AcDbBlockReference* reference, CZelkaExceptions& errors);
    // Makes the hatch from the boundary and the two id lists and posts it to
    // model space beneath everything else; a boundary that cannot be placed
    // or appended discards the hatch with an error, loops that fail and
    // density problems are reported and the hatch kept.
    AcDbObjectId hatchObject(CAcadDrawing& drawing, const AcDbBlockReference* reference, AcDbObjectId boundaryId,
                             const AcDbObjectIdArray& subtractIds, const AcDbObjectIdArray& addIds,
                             CZelkaExceptions& errors);
    // Gives the block's hyperlinks to the reference (open for write), each
    // link whole with its sub-location, and takes from the entities of its
    // definition the links the list no longer holds (the rest of theirs are
    // left alone); throws the host-error chain when the definition or one of
    // those entities cannot be opened. Entities whose links stay the same
    // are not written.
    void hyperlinkBlock(CAcadDrawing& drawing, AcDbBlockReference* reference);
    // Replaces the entity's hyperlinks (entity open for write) with the
    // block's (none when it has no list); host-error chain when refused.
    void hyperlinkEntity(AcDbEntity* entity);
    // Opens the hatch for write and gives it the block's hyperlinks; a null
    // id does nothing, a hatch that does not open throws the host-error chain.
    void hyperlinkHatch(CAcadDrawing& drawing, AcDbObjectId hatchId);

private:
    // The record's items when no handle list continues: the application
    // name, "{", the key=value items and "}".
    static constexpr size_t kXDataItems = kRecordItemCount + 3;
    static const RecordItem kRecordItems[kRecordItemCount];
    enum class ListSum { Area, Perimeter };
    // The area (rounded to the precision) and the perimeter from the
    // outline's measure and the subtracted and added outlines.
    void setAreaFromOutline(CAcadDrawing& drawing, double outlineArea);
    void setPerimeterFromOutline(CAcadDrawing& drawing, double outlinePerimeter);
    // Puts the record's item texts (buildXDataItems) into the first items,
    // reusing their storage, and returns how many there are.
    size_t fillXDataItems(std::vector<std::string>& items);
    // The steps of building from a reference, given its record.
    void readReference(const AcDbBlockReference* reference, CAcadDrawing& drawing, const Record& record);
    // Steps of applyToDWG after the reference is open for write.
    void applyToReference(CAcadDrawing& drawing, AcDbBlockReference* reference, CZelkaExceptions& errors);
    double sumHandleList(std::vector<AcDbHandle>& handles, CAcadDrawing& drawing, ListSum what);
    void highlightList(std::vector<AcDbHandle>& handles, CAcadDrawing& drawing, bool highlight);
    static void keepPolylineHandles(const AcDbObjectIdArray& ids, std::vector<AcDbHandle>& handles);
    static void parseHandleList(const std::string& text, AcDbDatabase* database, std::vector<AcDbHandle>& handles);

    AcDbObjectId blockReferenceId_;
    AcDbHandle blockHandle_;
    std::string blockName_;
    std::string xdataApplication_;
    std::vector<AcDbHandle> handlesToMinus_;
    std::vector<AcDbHandle> handlesToAdd_;
    int32_t zoomOnApply_ = 0;
    double zoomMargin_ = 0.0;
    // Decimals the record's perimeter, room height and volume were read
    // with; they are written again with them, so a value nothing changed
    // loses no digits when the area's precision differs. Negative: take the
    // block's precision (the item was missing, or the value was measured anew).
    static constexpr int32_t kBlockPrecision = -1000;
    int32_t perimeterPrecision_ = kBlockPrecision;
    int32_t roomHeightPrecision_ = kBlockPrecision;
    int32_t volumePrecision_ = kBlockPrecision;
    // The hyperlinks as read from the reference and its definition (null
    // for a block not read from a drawing). Writing back touches links only
    // when the list differs from them: a block that never had any is not
    // given the empty record, and unchanged links are left exactly as
    // stored (never merged onto the reference or the definition's parts).
    std::unique_ptr<CHyperlinks> hyperlinksAsRead_;
    int32_t colourIndex_ = 256;
    int32_t lineWeight_ = -1;
    std::string layer_;
};
