#pragma once
#include <cstddef>

#include "host/base/RawTag.h"

class AcDbBlockReference;
class AcDbDatabase;
class DxfCodepage;
class DxfTagEditor;

// INSERT, and the block-reference part of ACAD_TABLE (its codec builds on it).
class DxfBlockReferenceCodec {
public:
    // Reads block name (2), position (10), scale (41-43), rotation (50) and
    // extrusion (210) from the AcDbBlockReference or AcDbMInsertBlock subclass.
    static void loadReference(AcDbBlockReference& x, const DxfTag* t, size_t end, const DxfCodepage& cp);
    // Writes them back, with the attributes-follow flag (66).
    static void saveReference(AcDbBlockReference& x, DxfTagEditor& ed);
};
