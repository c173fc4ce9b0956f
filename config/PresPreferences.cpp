#include "config/PresPreferences.h"

#include <algorithm>

#include "config/PresAbout.h"
#include "infra/ZelkaExceptions.h"
#include "module/ModuleResources.h"

CPresPreferences::CPresPreferences() : CDialog(zelkaResourceFile("PresPreferences.dlg"))
{
    onMenu("IDM_ABOUT", [] {
        CPresAbout about;
        about.DoModal();
    });
}

void CPresPreferences::setValues(int32_t& units, int32_t& precision, double& textSize, double& textScale,
                                 double& textRotation, std::string& csvOpener, double& zoomBorder)
{
    if (textSize <= 0.0) textSize = 0.1;
    if (textScale <= 0.0) textScale = 0.1;
    textRotation = std::clamp(textRotation, -180.0, 180.0);
    preferences_.setUnits(units);
    preferences_.setPrecision(precision);
    preferences_.setTextSize(textSize);
    preferences_.setTextScale(textScale);
    preferences_.setTextRotation(textRotation);
    preferences_.setCSVOpener(csvOpener);
    preferences_.setZoomBorder(zoomBorder);
}

void CPresPreferences::getValues(int32_t& units, int32_t& precision, double& textSize, double& textScale,
                                 double& textRotation, std::string& csvOpener, double& zoomBorder) const
{
    units = units_;
    precision = precision_;
    textSize = textSize_;
    textScale = textScale_;
    textRotation = textRotation_;
    csvOpener = csvOpener_;
    zoomBorder = zoomBorder_;
}

bool CPresPreferences::OnInitDialog()
{
    // A file that cannot be read leaves the values already held (the
    // defaults, or those given by setValues).
    preferences_.loadPreferences();
    units_ = preferences_.getUnits();
    precision_ = preferences_.getPrecision();
    textSize_ = preferences_.getTextSize();
    textScale_ = preferences_.getTextScale();
    textRotation_ = preferences_.getTextRotation();
    csvOpener_ = preferences_.getCSVOpener();
    zoomBorder_ = preferences_.getZoomBorder();
    if (textSize_ < 1.0) textSize_ = 250.0;

    CheckRadioButton("IDC_UNITS_M", "IDC_UNITS_FT", units_ == 1 ? "IDC_UNITS_FT" : "IDC_UNITS_M");
    DDX_Int("IDC_PRECISION", precision_, false);
    DDX_Double("IDC_TEXT_SIZE", textSize_, false);
    DDX_Double("IDC_TEXT_SCALE", textScale_, false);
    DDX_Double("IDC_TEXT_ROTATION", textRotation_, false);
    DDX_Double("IDC_ZOOM_BORDER", zoomBorder_, false);
    DDX_Text("IDC_CSV_OPENER", csvOpener_, false);
    return true;
}

bool CPresPreferences::readControls()
{
    int32_t precision = precision_;
    double textSize = textSize_;
    double textScale = textScale_;
    double textRotation = textRotation_;
    double zoomBorder = zoomBorder_;
    if (!DDX_IntRange("IDC_PRECISION", precision, true, 0, 9)) return false;
    if (!DDX_Double("IDC_TEXT_SIZE", textSize, true)) return false;
    if (!DDX_Double("IDC_TEXT_SCALE", textScale, true)) return false;
    if (!DDX_Double("IDC_TEXT_ROTATION", textRotation, true)) return false;
    if (!DDX_DoubleRange("IDC_ZOOM_BORDER", zoomBorder, true, 0.0, 10000.0)) return false;
    units_ = GetCheckedRadioButton("IDC_UNITS_M", "IDC_UNITS_FT") == "IDC_UNITS_FT" ? 1 : 0;
    precision_ = precision;
    textSize_ = textSize < 1.0 ? 1.0 : textSize;
    textScale_ = textScale;
    textRotation_ = textRotation;
    zoomBorder_ = zoomBorder;
    DDX_Text("IDC_CSV_OPENER", csvOpener_, true);
    return true;
}

void CPresPreferences::save()
{
    preferences_.setUnits(units_);
    preferences_.setPrecision(precision_);
    preferences_.setTextSize(textSize_);
    preferences_.setTextScale(textScale_);
    preferences_.setTextRotation(textRotation_);
    preferences_.setCSVOpener(csvOpener_);
    preferences_.setZoomBorder(zoomBorder_);
    preferences_.savePreferences();
}

void CPresPreferences::OnOK()
{
    if (!readControls()) return;
    save();
    EndDialog(1);
}

void CPresPreferences::OnClose()
{
    if (readControls()) save();
    EndDialog(2);
}
