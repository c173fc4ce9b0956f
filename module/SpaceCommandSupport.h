#pragma once
// What the space commands share: the current document, the drawing's space
// blocks gathered as a floor plan, and writing one block back with its own
// error list, shown when it holds anything, so the next block still runs.

#include <string>

class AcApDocument;
class CBlockDWG;
class CBlocks;
class CZelkaAttribute;

// The document the host's document manager reports as current, or null.
AcApDocument* zelkaCurrentDocument();

// Fills blocks with the document's space blocks (the "ROOM-*" references of
// the whole drawing, floor-plan kinds). Leaves blocks empty without a document.
void zelkaGatherSpaceBlocks(AcApDocument* document, CBlocks& blocks, bool withAssets = false);

// The drawing-side block at index, or null when that item is not one.
CBlockDWG* zelkaSpaceBlockAt(const CBlocks& blocks, int index);

// The block's attribute at position 0 (name), 1 (area) or 2 (aux), or null.
CZelkaAttribute* zelkaSpaceAttribute(const CBlockDWG& block, int position);

// Writes the block back; a failure goes into the block's own error list,
// which is shown (one "Error Detected." box per failure) and marks the
// command as failed. Returns false when the write-back failed.
bool zelkaApplyBlock(CBlockDWG& block, AcApDocument* document);

// The text prompts of the commands (the prompt helpers, with the default
// shown in angle brackets and echoed).
void zelkaPromptString(const std::string& prompt, const std::string& defaultValue, std::string& value);
