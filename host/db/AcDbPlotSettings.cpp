#include "host/db/AcDbPlotSettings.h"

const AcRxClass* AcDbPlotSettings::desc()
{
    static const AcRxClass cls("AcDbPlotSettings", "PLOTSETTINGS", AcDbObject::desc());
    return &cls;
}

Acad::ErrorStatus AcDbPlotSettings::setPlotSettingsName(const char* name)
{
    pageSetupName_ = name ? name : "";
    return assertWriteEnabled();
}

void AcDbPlotSettings::getPlotPaperMargins(double& left, double& bottom, double& right, double& top) const
{
    left = margins_[0];
    bottom = margins_[1];
    right = margins_[2];
    top = margins_[3];
}

void AcDbPlotSettings::getPlotPaperSize(double& width, double& height) const
{
    width = paperWidth_;
    height = paperHeight_;
}

void AcDbPlotSettings::getPlotOrigin(double& x, double& y) const
{
    x = originX_;
    y = originY_;
}

void AcDbPlotSettings::getPlotWindowArea(double& xmin, double& ymin, double& xmax, double& ymax) const
{
    xmin = window_[0];
    ymin = window_[1];
    xmax = window_[2];
    ymax = window_[3];
}

void AcDbPlotSettings::getCustomPrintScale(double& numerator, double& denominator) const
{
    numerator = customNumerator_;
    denominator = customDenominator_;
}

void AcDbPlotSettings::getPaperImageOrigin(double& x, double& y) const
{
    x = imageOriginX_;
    y = imageOriginY_;
}

double AcDbPlotSettings::stdScaleValue(int type)
{
    // Inch-to-foot scales: paper inches per 12 drawing inches.
    static const double inchPerFoot[] = {0,      1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 16, 3.0 / 32, 1.0 / 8, 3.0 / 16,
                                         1.0 / 4, 3.0 / 8,  1.0 / 2,  3.0 / 4,  1.0,      3.0,      6.0,     12.0};
    static const double ratio[] = {1, 1.0 / 2, 1.0 / 4, 1.0 / 5, 1.0 / 8, 1.0 / 10, 1.0 / 16, 1.0 / 20, 1.0 / 30,
                                   1.0 / 40, 1.0 / 50, 1.0 / 100, 2, 4, 8, 10, 100, 1000};
    if (type >= 1 && type <= 15)
        return inchPerFoot[type] / 12.0;
    if (type >= k1_1 && type <= k1000_1)
        return ratio[type - k1_1];
    if (type == k1and1_2in_1ft)
        return 1.5 / 12.0;
    return 0.0;
}

Acad::ErrorStatus AcDbPlotSettings::setFlag(int bit, bool on)
{
    flags_ = on ? (flags_ | bit) : (flags_ & ~bit);
    return assertWriteEnabled();
}
