#pragma once
// Makes space blocks from closed lightweight polylines, the one way the block
// creation session, the bulk creation and the label conversion build them: a
// new block definition holding the outline (moved so that the label point is
// the definition's origin, and handed over from its old block with its
// handle) and the three attribute definitions; a reference at the label
// point, on the outline's layer, placed by the UCS matrix, with one attribute
// per attribute definition and the block's data record.
//
// The factory makes the attribute layers ("ATT-NAME", "ATT-AREA", "ATT-AUX")
// once, the first time it needs them. The caller holds the drawing's lock.
// Failures inside an operation come out as CEXUnhandled chains naming it
// (class "SpaceBlockFactory"); a refused definition name is a status, not a
// failure, so the caller can say so in its own words.

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/db/AcadErrorStatus.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"

class AcDbBlockTableRecord;
class CAcadDrawing;
class CBlockDWG;

class CSpaceBlockFactory {
public:
    // many: the factory will make many blocks in a row, so the outlines'
    // old blocks (model space) let go of them once, in finish(), instead of
    // once per block; until then the caller makes blocks and nothing else.
    explicit CSpaceBlockFactory(CAcadDrawing& drawing, bool many = false) : drawing_(drawing), many_(many) {}
    CSpaceBlockFactory(const CSpaceBlockFactory&) = delete;
    CSpaceBlockFactory& operator=(const CSpaceBlockFactory&) = delete;
    // Calls finish(); a failure there is swallowed (call finish() to see it).
    ~CSpaceBlockFactory();

    // With many: the old blocks let go of the outlines moved so far. Throws
    // the host-error chain when one of them cannot be opened for write.
    void finish();

    // Adds the three attribute definitions (AREA at the origin, NAME 1.5 h
    // above it and AUX as far below, across the text direction) to a
    // definition open for write; each on its layer, made when missing.
    // Throws the host-error chain when one cannot be appended.
    void addSpaceAttributeDefinitions(AcDbBlockTableRecord* definition, double textHeight, double widthFactor,
                                      double rotationDegrees);

    // What making a block by hand asks and measures first.
    struct PickedOutline {
        AcGePoint3d labelPoint;  // in UCS coordinates, as typed
        AcGeMatrix3d ucs;        // the current UCS (UCS to world)
        double area = 0.0;       // rounded to the precision
        double perimeter = 0.0;
    };
    // Asks for the label point ("Select Name and Area Text Position:",
    // "Enter Attribute points: "), opens the polyline for write and moves
    // it into UCS coordinates, and measures it with the drawing's LUNITS.
    // False, with the polyline untouched, when the point is not given or the
    // polyline cannot be opened or is not one (the reason printed).
    static bool pickLabelAndMeasure(CAcadDrawing& drawing, AcDbObjectId polylineId, int32_t units,
                                    int32_t precision, PickedOutline& picked);

    // Gives a new room its record values and the three attribute texts:
    // the name, the area with the precision and the units' suffix
    // ("25.50sq.m."), and one blank; the text layout from the arguments
    // (rotation in degrees).
    static void setUpRoom(CBlockDWG& room, const std::string& name, double area, double perimeter, int32_t units,
                          int32_t precision, const std::string& blockName, double textHeight, double widthFactor,
                          double rotationDegrees);

    // Makes the block. outlineId: a closed polyline, not open, already in
    // UCS coordinates (the caller moved it by the inverse UCS matrix);
    // labelPoint: in the same coordinates. block: its blockName names the
    // definition, its attributes give the texts (positions 0, 1, 2) and the
    // layout, the rest of it is the record; it gets the new reference's id.
    // Returns eOk; eDuplicateRecordName (nothing made, the outline where it
    // was) when a definition of that name exists; another status, after
    // which the outline is where it was when the definition could not be
    // added or the outline could not be moved, and in its definition when a
    // later step failed.
    Acad::ErrorStatus makeSpaceBlock(AcDbObjectId outlineId, const AcGePoint3d& labelPoint, const AcGeMatrix3d& ucs,
                                     CBlockDWG& block);

private:
    void ensureAttributeLayers();

    CAcadDrawing& drawing_;
    bool many_ = false;
    bool layersMade_ = false;
    std::vector<AcDbObjectId> oldOwners_;
};
