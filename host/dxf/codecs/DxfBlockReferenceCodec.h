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
    // For an INSERT (see DxfCodecFunctions::savesAsRead): its subclasses are
    // AcDbEntity and AcDbBlockReference, each once, with no application
    // group or embedded object; each field saveReference writes stands
    // there at most once, with a text the editor keeps for the reference's
    // value (a real that reads as it, the name the block has now, the flag
    // 1 exactly when attributes follow), and is absent only where
    // saveReference leaves it out.
    static bool savesAsRead(const AcDbBlockReference& x, const DxfTag* t, size_t n);
};
