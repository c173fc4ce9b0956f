#pragma once
// The block hyperlink dialog (command mbh), modeless: "Select Block" picks a
// space block and shows its first five links; OK or Apply give it the links
// of the five rows (a row needs an address; a row without a description
// takes the address as its description; a repeated address counts once),
// or, with "Apply changes to all similar blocks" ticked, give them to every
// block of the drawing with the same block name. OK and Apply stay disabled
// until a block is picked; Cancel closes without writing.

#include <memory>
#include <string>

#include "host/db/AcDbObjectId.h"
#include "host/ui/CDialog.h"

class CAcadDrawing;
class CBlockDWG;
class CHyperlinks;

class CHyperPres : public CDialog {
public:
    CHyperPres();
    ~CHyperPres() override;

    // Makes the block reference the current block and fills the fields from
    // it; prints "Unable to hyperlink block(s)." when it cannot be read.
    void setCurrentAcadBlock(AcDbObjectId id);
    // Writes the list to the current block; returns the number of blocks written (0 or 1).
    int hyperlinkBlock(const CHyperlinks& list);
    // Writes the list to every block of the current block's name; returns the number written.
    int hyperlinkAllBlocks(const CHyperlinks& list);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void onSelectBlock();
    // Apply: the rows to the block(s). False when nothing could be written.
    bool apply();
    std::unique_ptr<CHyperlinks> linksFromRows() const;
    void clearFields();

    std::unique_ptr<CAcadDrawing> drawing_;
    std::unique_ptr<CBlockDWG> block_;
};
