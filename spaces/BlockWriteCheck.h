#pragma once
// Whether a space block can be written back whole. Writing a block back
// changes its reference (record, links) and every attribute it holds (texts
// and text layout); laying out a definition changes its attribute
// definitions too. An entity on a locked layer cannot be changed, so the
// check runs before anything of the block is touched: a block is either
// written whole or left exactly as it was, never half written. Reading never
// depends on it.
//
// Every command that writes space blocks refuses a block through this one
// check, so the report reads the same whatever the command.

#include <string>

class CBlockDWG;

class CBlockWriteCheck {
public:
    // Raises a CEXCustom (class "BlockDWG", code 87, eOnLockedLayer) whose
    // text names the block and the locked layer when the block's reference
    // or one of its attributes lies on a locked layer; with withDefinition
    // the attribute definitions of its block definition count too, and a
    // non-empty newEntityLayer is the layer of an entity the write would add.
    // Does nothing when every part can be written.
    static void requireWritable(const CBlockDWG& block, bool withDefinition = false,
                                const std::string& newEntityLayer = {});

    // The report for a block left unchanged because part (e.g. "its NAME
    // attribute") lies on the locked layer; the block is named by its
    // definition and the space name the drawing shows (shownName, or the
    // block's name when that is empty), not by a name the command was
    // about to give it.
    static std::string lockedLayerMessage(const CBlockDWG& block, const std::string& shownName,
                                          const std::string& part, const std::string& layer);
};
