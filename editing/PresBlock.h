#pragma once
// The property dialog of one space, "RoomBlock" (modeless): the "Space Data"
// page (name, area and auxiliary texts, area and perimeter, the added and
// subtracted outlines) and the "Format" page (attribute text layout), both
// over a working copy of the space block read from the drawing. "Apply"
// writes the copy back to the drawing, "OK" applies and closes, "Cancel"
// closes leaving unapplied changes unwritten; the list dialog comes back
// when it closes.

#include <memory>
#include <string>

#include "host/ui/CDialog.h"

class CAcadDrawing;
class CBlockDWG;
class CMyTabCtrl;
class CPresBlockEdit;
class CTabData;
class CTabFormat;

class CPresBlock : public CDialog {
public:
    // The working copy is the caller's block read whole again from its
    // reference; units and precision are the block's as given.
    CPresBlock(CAcadDrawing& drawing, const CBlockDWG& block, CPresBlockEdit& list);
    ~CPresBlock() override;

    // The pages' fields into the working copy, then the copy into the
    // drawing. False, having written nothing, when a field does not hold an
    // acceptable value (the field's message has been shown).
    bool apply();
    // Fills both pages again from the working copy.
    void reset();

    CBlockDWG& workingCopy() const { return *block_; }
    CPresBlockEdit& listDialog() const { return list_; }

    // Dialog data exchange for the pages: a number field with a range
    // (save: read and check it, showing the standard message when it fails).
    bool exchangeDouble(const std::string& id, double& value, bool save, double min, double max)
    {
        return DDX_DoubleRange(id, value, save, min, max);
    }
    bool exchangeDouble(const std::string& id, double& value, bool save) { return DDX_Double(id, value, save); }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CAcadDrawing& drawing_;
    CPresBlockEdit& list_;
    std::unique_ptr<CBlockDWG> block_;
    std::unique_ptr<CMyTabCtrl> tabs_;
    std::unique_ptr<CTabData> data_;
    std::unique_ptr<CTabFormat> format_;
};
