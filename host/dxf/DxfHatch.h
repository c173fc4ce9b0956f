#pragma once
#include <cstddef>

#include "host/dxf/DxfTag.h"

class AcDbHatch;
class DxfCodepage;
class DxfTagEditor;

// Maps a hatch to and from the tags of its AcDbHatch subclass. Reading keeps
// edge loops' tags and everything after the seed points (gradient fill,
// pixel size) so that writing an edited hatch loses nothing it did not change.
class DxfHatch {
public:
    // Fills the hatch from the tags of a HATCH record (data part, before xdata).
    static void load(AcDbHatch& hatch, const DxfTag* tags, size_t count, const DxfCodepage& codepage);
    // Rewrites the AcDbHatch subclass from the hatch when its geometry or
    // pattern changed (or it is new); otherwise leaves the tags as read.
    static void save(AcDbHatch& hatch, DxfTagEditor& editor);
};
