#pragma once
// The "Format" page of the property dialog: height, width factor and
// rotation of the space's attribute texts, and "Move Attributes", which lays
// the attributes out around a point the user picks and writes them at once.

#include <string>
#include <vector>

class CAcadDrawing;
class CPresBlock;

class CTabFormat {
public:
    CTabFormat(CPresBlock& dialog, CAcadDrawing& drawing);

    static std::vector<std::string> controlIds();

    // The fields from the working copy's attribute layout.
    void initialise();
    // The fields into the working copy. False, after the field's message,
    // when a field is not a number or the rotation is outside 0 to 359.
    bool applyChanges();
    void OnBnClickedMoveAttributes();

private:
    CPresBlock& dialog_;
    CAcadDrawing& drawing_;
};
