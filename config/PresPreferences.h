#pragma once
// The preferences dialog (modal): units, area precision, default attribute
// text size, scale and rotation, zoom border and the CSV opener. It loads
// "prefs.cfg" when it opens and saves it when closed with OK or with the
// window's close button; Cancel leaves the file alone. The numbering
// increment has no control: the dialog keeps what the file held. Its menu
// opens the About dialog.

#include <cstdint>
#include <string>

#include "config/Preferences.h"
#include "host/ui/CDialog.h"

class CPresPreferences : public CDialog {
public:
    CPresPreferences();

    // Sets the values shown when the file cannot be loaded (first start):
    // a text size or scale of 0 or less becomes 0.1 and the rotation is
    // limited to -180..180, in the caller's variables too.
    void setValues(int32_t& units, int32_t& precision, double& textSize, double& textScale, double& textRotation,
                   std::string& csvOpener, double& zoomBorder);
    // Hands back the values the dialog holds now.
    void getValues(int32_t& units, int32_t& precision, double& textSize, double& textScale, double& textRotation,
                   std::string& csvOpener, double& zoomBorder) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnClose() override;

private:
    // Reads the controls with their checks into the fields; false (after
    // the validation message) when one is not valid.
    bool readControls();
    // Copies the fields into the preferences and writes "prefs.cfg".
    void save();

    CPreferences preferences_;
    int32_t units_ = 0;
    int32_t precision_ = 2;
    double textSize_ = 250.0;
    double textScale_ = 1.0;
    double textRotation_ = 0.0;
    std::string csvOpener_ = "NONE";
    double zoomBorder_ = 1000.0;
};
