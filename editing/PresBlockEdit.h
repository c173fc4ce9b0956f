#pragma once
// The block editor, "Zelka Block Editor" (modeless): lists the space blocks
// of the active drawing, either the rooms or the gross area block, one line
// each (the name, then the handle far off to the right), and opens one in
// the "RoomBlock" property dialog on a double click or a pick in the drawing.
// The list hides while the property dialog is open and is filled again from
// the drawing when it closes.
//
// It owns its drawing object, its own preferences (loaded when it opens,
// saved when it closes) and the collection of the space blocks last read.

#include <memory>
#include <string>

#include "config/Preferences.h"
#include "host/ui/CDialog.h"

class CAcadDrawing;
class CBlocks;
class CPresBlock;

class CPresBlockEdit : public CDialog {
public:
    CPresBlockEdit();
    ~CPresBlockEdit() override;

    // Reads the drawing's space blocks again and lists those of the filter
    // chosen, with the count line.
    void fillList();
    // Opens the property dialog of the listed block with that handle; throws
    // the invalid-handle error when the collection has none.
    void showBlock(const std::string& handle);
    // The property dialog has closed: the list comes back, read anew.
    void propertyDialogClosed();

    const CPreferences& preferences() const { return preferences_; }
    CPresBlock* propertyDialog() const { return propertyDialog_.get(); }

protected:
    bool OnInitDialog() override;
    void OnCancel() override;

private:
    void OnCmdSelect();
    void OnLbnDblclkBlockList();
    void onOptions();
    void onClose();
    void showList(bool show);

    std::unique_ptr<CAcadDrawing> drawing_;
    CPreferences preferences_;
    std::unique_ptr<CBlocks> blocks_;
    std::unique_ptr<CPresBlock> propertyDialog_;
};
