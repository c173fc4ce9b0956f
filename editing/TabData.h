#pragma once
// The "Space Data" page of the property dialog: the name, area and auxiliary
// texts, the measured area and perimeter, the handle, the number of assets,
// and the outlines added to and subtracted from the space. It works on the
// dialog's controls and the dialog's working copy of the space block.

#include <string>
#include <vector>

class CAcadDrawing;
class CPresBlock;

class CTabData {
public:
    CTabData(CPresBlock& dialog, CAcadDrawing& drawing);

    // The controls of the page, for the tab control.
    static std::vector<std::string> controlIds();

    // The fields from the working copy.
    void initialiseData();
    // The fields into the working copy; an attribute it lacks is made.
    void applyChanges();

    void OnBnClickedCmdAreacopy();
    void OnBnClickedCmdPerimetercopy();
    void OnCmdAreaRecalc();
    void OnCmdPerimeterRecalc();
    void OnBnClickedCmdAddArea();
    void OnCmdSubArea();
    void OnBnClickedCmdAddHighlight();
    void OnCmdHighlight();
    void OnBnClickedCmdDeleteAddAreas();
    void OnBnClickedCmdDeleteSubAreas();
    // Takes the highlighting off both lists (when the dialog closes).
    void switchOffHighlighting();

private:
    // Replaces the added (add) or subtracted list with outlines the user picks.
    void pickAreas(bool add);
    void showMeasures();

    CPresBlock& dialog_;
    CAcadDrawing& drawing_;
    bool addedHighlighted_ = false;
    bool subtractedHighlighted_ = false;
};
