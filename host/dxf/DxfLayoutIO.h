#pragma once
#include <cstddef>

#include "host/dxf/DxfTag.h"

class AcDbDatabase;
class AcDbLayout;
class AcDbViewport;
class DxfCodepage;
class DxfTagEditor;

// Layouts (their AcDbPlotSettings and AcDbLayout parts) and viewports to and
// from their DXF tags. Loading reads the modelled fields (malformed numbers
// are reported as DxfValue::field* do); saving changes only the tags of
// values that changed and inserts a missing tag only for a value that is not
// the default, so a layout read and saved unchanged keeps its tags.
class DxfLayoutIO {
public:
    // Reads the fields of a LAYOUT from its tags up to the end of its subclasses.
    static void loadLayout(AcDbDatabase& db, AcDbLayout& layout, const DxfTag* tags, size_t end, const DxfCodepage& cp);
    static void saveLayout(AcDbLayout& layout, DxfTagEditor& ed);
    // Reads the fields of a VIEWPORT, its frozen layers (331) included.
    static void loadViewport(AcDbDatabase& db, AcDbViewport& viewport, const DxfTag* tags, size_t end);
    // Rewrites the frozen-layer tags (331) after they were changed; nothing else.
    static void saveViewport(AcDbViewport& viewport, DxfTagEditor& ed);
};
