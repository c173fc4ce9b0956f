#pragma once
// The block creator, "Zelka Block Creator" (modeless): shows the name the
// next space gets and the attribute text settings, and runs creation
// sessions in which the user picks closed polylines one after the other and
// each becomes a room space block ("ROOM-" + the next definition number)
// labelled at a point the user picks. "Add Area" and "Sub Area" replace the
// outlines added to or subtracted from an existing space and measure it anew.
//
// It owns its drawing object (the active document when it opened) and a
// copy of the preferences; the text settings are saved to "prefs.cfg" as
// soon as they are typed. Failures inside a handler are shown as an error
// chain and the dialog stays open; the user's cancellations are not errors.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/Preferences.h"
#include "host/db/AcDbObjectId.h"
#include "host/ui/CDialog.h"

class CAcadDrawing;

class CPresBlockCreation : public CDialog {
public:
    CPresBlockCreation();
    ~CPresBlockCreation() override;

    // Makes one space block from the polyline (see the .cpp for the steps).
    // Prints the outcome; a failure is shown and swallowed. True when the
    // block was made.
    bool createBlock(CAcadDrawing& drawing, AcDbObjectId polylineId, int32_t units, double textHeight,
                     double widthFactor, double rotation, int32_t precision);

    // The next definition number and the proposed name, from the drawing.
    void calcNextBlockIdentifier();
    void calcNextBlockName();

    const std::string& getNextBlockName() const { return nextBlockName_; }
    int32_t getNextBlockIdentifier() const { return nextBlockIdentifier_; }

protected:
    bool OnInitDialog() override;

private:
    void runSession();
    void OnBnClickedCmdAdd();
    void OnCmdSubArea();
    // Add Area and Sub Area: replace one list of the picked space.
    void changeAreas(bool add);
    void onOptions();
    // A text setting field changed: made numeric, stored and saved.
    void onSettingChanged(const std::string& id, void (CPreferences::*set)(double));
    void showSettings();
    void enableButtons(bool enable);
    void enableFields(bool enable);

    std::unique_ptr<CAcadDrawing> drawing_;
    CPreferences preferences_;
    std::string nextBlockName_;
    int32_t nextBlockIdentifier_ = 0;
    std::vector<std::string> existingNames_;
};
