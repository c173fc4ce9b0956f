#pragma once
// What the space commands share: the drawing object for the active document,
// the drawing's space blocks gathered as a floor plan, and writing one block
// back with its own error list, shown when it holds anything, so the next
// block still runs.

#include <functional>
#include <string>

class CAcadDrawing;
class CBlockDWG;
class CBlocks;
class CPreferences;
class CZelkaAttribute;

// Makes an empty drawing object stand for the document the host's document
// manager reports as current: its document and full path, marked open and
// keep-open, so that destroying the object leaves the document open. False,
// leaving the object without a document, when no document is open.
bool zelkaAdoptActiveDocument(CAcadDrawing& drawing);

// Fills blocks with the drawing's space blocks (the "ROOM-*" references of
// the whole drawing, floor-plan kinds). Blocks without units or precision
// take the preferences'. Leaves blocks empty without a document.
void zelkaGatherSpaceBlocks(CAcadDrawing& drawing, CBlocks& blocks, bool withAssets = false);
// Gives a block without units or precision the preferences'.
void zelkaTakeDefaultUnits(CBlockDWG& block, const CPreferences& prefs);

// The drawing-side block at index, or null when that item is not one.
CBlockDWG* zelkaSpaceBlockAt(const CBlocks& blocks, int index);

// The block's attribute at position 0 (name), 1 (area) or 2 (aux), or null.
CZelkaAttribute* zelkaSpaceAttribute(const CBlockDWG& block, int position);

// Runs one block's step of a command; a failure goes into the block's own
// error list, which is shown (one "Error Detected." box per failure, which
// fails the command) so the next block still runs. Returns false when the
// step failed.
bool zelkaBlockStep(const std::function<void()>& step);

// Writes the block back as a zelkaBlockStep. Returns false when it failed.
bool zelkaApplyBlock(CBlockDWG& block, CAcadDrawing& drawing);

// True once the input (script, --command texts, Ctrl-D at the terminal) has
// run out: a command that asked for something then stops without changing
// the drawing, since its answers never came.
bool zelkaInputEnded();

// The text prompts of the commands (the prompt helpers, with the default
// shown in angle brackets and echoed).
void zelkaPromptString(const std::string& prompt, const std::string& defaultValue, std::string& value);
