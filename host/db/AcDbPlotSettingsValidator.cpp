#include "host/db/AcDbPlotSettingsValidator.h"

#include <strings.h>

#include <array>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::array<const char*, 5> kDevices = {"None", "DWF6 ePlot.pc3", "DWG To PDF.pc3", "PublishToWeb JPG.pc3",
                                                 "PublishToWeb PNG.pc3"};

// The sheets every device but "None" offers.
constexpr const char* kMedia[] = {
    "ISO_A1_(841.00_x_594.00_MM)", "ISO_A1_(594.00_x_841.00_MM)", "ISO_A2_(594.00_x_420.00_MM)",
    "ISO_A2_(420.00_x_594.00_MM)", "ISO_A3_(420.00_x_297.00_MM)", "ISO_A3_(297.00_x_420.00_MM)",
    "ISO_A4_(297.00_x_210.00_MM)", "ISO_A4_(210.00_x_297.00_MM)", "ISO_A0_(841.00_x_1189.00_MM)",
    "ISO_expand_A4_(297.00_x_210.00_MM)", "ISO_expand_A4_(210.00_x_297.00_MM)",
    "ISO_expand_A3_(420.00_x_297.00_MM)", "ISO_expand_A3_(297.00_x_420.00_MM)",
    "ISO_expand_A2_(594.00_x_420.00_MM)", "ISO_expand_A2_(420.00_x_594.00_MM)",
    "ISO_expand_A1_(841.00_x_594.00_MM)", "ISO_expand_A1_(594.00_x_841.00_MM)",
    "ISO_expand_A0_(841.00_x_1189.00_MM)", "ISO_full_bleed_A5_(210.00_x_148.00_MM)",
    "ISO_full_bleed_A5_(148.00_x_210.00_MM)", "ISO_full_bleed_A4_(297.00_x_210.00_MM)",
    "ISO_full_bleed_A4_(210.00_x_297.00_MM)", "ISO_full_bleed_A3_(420.00_x_297.00_MM)",
    "ISO_full_bleed_A3_(297.00_x_420.00_MM)", "ISO_full_bleed_A2_(594.00_x_420.00_MM)",
    "ISO_full_bleed_A2_(420.00_x_594.00_MM)", "ISO_full_bleed_A1_(841.00_x_594.00_MM)",
    "ISO_full_bleed_A1_(594.00_x_841.00_MM)", "ISO_full_bleed_A0_(841.00_x_1189.00_MM)",
    "ISO_full_bleed_B3_(500.00_x_353.00_MM)", "ISO_full_bleed_B3_(353.00_x_500.00_MM)",
    "ISO_full_bleed_B2_(707.00_x_500.00_MM)", "ISO_full_bleed_B2_(500.00_x_707.00_MM)",
    "ISO_full_bleed_B1_(1000.00_x_707.00_MM)", "ISO_full_bleed_B1_(707.00_x_1000.00_MM)",
    "ISO_full_bleed_B0_(1414.00_x_1000.00_MM)", "ISO_full_bleed_B0_(1000.00_x_1414.00_MM)",
    "ISO_full_bleed_2A0_(1189.00_x_1682.00_MM)", "ISO_full_bleed_4A0_(1682.00_x_2378.00_MM)",
    "ANSI_A_(11.00_x_8.50_Inches)", "ANSI_A_(8.50_x_11.00_Inches)", "ANSI_B_(17.00_x_11.00_Inches)",
    "ANSI_B_(11.00_x_17.00_Inches)", "ANSI_C_(22.00_x_17.00_Inches)", "ANSI_C_(17.00_x_22.00_Inches)",
    "ANSI_D_(34.00_x_22.00_Inches)", "ANSI_D_(22.00_x_34.00_Inches)", "ANSI_E_(34.00_x_44.00_Inches)",
    "ANSI_expand_A_(11.00_x_8.50_Inches)", "ANSI_expand_A_(8.50_x_11.00_Inches)",
    "ANSI_expand_B_(17.00_x_11.00_Inches)", "ANSI_expand_B_(11.00_x_17.00_Inches)",
    "ANSI_expand_C_(22.00_x_17.00_Inches)", "ANSI_expand_C_(17.00_x_22.00_Inches)",
    "ANSI_expand_D_(34.00_x_22.00_Inches)", "ANSI_expand_D_(22.00_x_34.00_Inches)",
    "ANSI_expand_E_(34.00_x_44.00_Inches)", "ANSI_full_bleed_F_(28.00_x_40.00_Inches)",
    "ANSI_full_bleed_E_(34.00_x_44.00_Inches)", "ANSI_full_bleed_D_(34.00_x_22.00_Inches)",
    "ANSI_full_bleed_D_(22.00_x_34.00_Inches)", "ANSI_full_bleed_C_(22.00_x_17.00_Inches)",
    "ANSI_full_bleed_C_(17.00_x_22.00_Inches)", "ANSI_full_bleed_B_(17.00_x_11.00_Inches)",
    "ANSI_full_bleed_B_(11.00_x_17.00_Inches)", "ANSI_full_bleed_A_(11.00_x_8.50_Inches)",
    "ANSI_full_bleed_A_(8.50_x_11.00_Inches)", "ARCH_C_(24.00_x_18.00_Inches)", "ARCH_C_(18.00_x_24.00_Inches)",
    "ARCH_D_(36.00_x_24.00_Inches)", "ARCH_D_(24.00_x_36.00_Inches)", "ARCH_E_(36.00_x_48.00_Inches)",
    "ARCH_E1_(30.00_x_42.00_Inches)", "ARCH_expand_C_(24.00_x_18.00_Inches)",
    "ARCH_expand_C_(18.00_x_24.00_Inches)", "ARCH_expand_D_(36.00_x_24.00_Inches)",
    "ARCH_expand_D_(24.00_x_36.00_Inches)", "ARCH_expand_E_(36.00_x_48.00_Inches)",
    "ARCH_expand_E1_(30.00_x_42.00_Inches)", "ARCH_full_bleed_E1_(30.00_x_42.00_Inches)",
    "ARCH_full_bleed_E_(36.00_x_48.00_Inches)", "ARCH_full_bleed_D_(36.00_x_24.00_Inches)",
    "ARCH_full_bleed_D_(24.00_x_36.00_Inches)", "ARCH_full_bleed_C_(24.00_x_18.00_Inches)",
    "ARCH_full_bleed_C_(18.00_x_24.00_Inches)", "ARCH_full_bleed_B_(18.00_x_12.00_Inches)",
    "ARCH_full_bleed_B_(12.00_x_18.00_Inches)", "ARCH_full_bleed_A_(12.00_x_9.00_Inches)",
    "ARCH_full_bleed_A_(9.00_x_12.00_Inches)",
};

const char* deviceNamed(const char* name)
{
    if (!name)
        return nullptr;
    for (const char* d : kDevices)
        if (strcasecmp(d, name) == 0)
            return d;
    return nullptr;
}

bool offersMedia(const std::string& device)
{
    const char* d = deviceNamed(device.c_str());
    return d && std::string_view(d) != "None";
}

bool isMedia(const char* name)
{
    if (!name)
        return false;
    for (const char* m : kMedia)
        if (std::string_view(m) == name)
            return true;
    return false;
}

// Width, height and units of a sheet named "..._(<w>_x_<h>_<MM|Inches>)".
bool sheetSize(std::string_view name, double& width, double& height, AcDbPlotSettings::PlotPaperUnits& units)
{
    size_t open = name.rfind("_(");
    if (open == std::string_view::npos || name.back() != ')')
        return false;
    std::string inside(name.substr(open + 2, name.size() - open - 3));
    char* end = nullptr;
    width = std::strtod(inside.c_str(), &end);
    if (std::string_view(end).substr(0, 3) != "_x_")
        return false;
    height = std::strtod(end + 3, &end);
    std::string_view unit = *end == '_' ? std::string_view(end + 1) : std::string_view();
    if (unit == "MM") {
        units = AcDbPlotSettings::kMillimeters;
    } else if (unit == "Inches") {
        units = AcDbPlotSettings::kInches;
        width *= 25.4;
        height *= 25.4;
    } else {
        return false;
    }
    return width > 0 && height > 0;
}

}  // namespace

Acad::ErrorStatus AcDbPlotSettingsValidator::writable(const AcDbPlotSettings* settings)
{
    if (!settings)
        return Acad::eNullObjectPointer;
    if (!settings->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPlotSettingsValidator::plotDeviceList(std::vector<std::string>& names) const
{
    names.assign(kDevices.begin(), kDevices.end());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPlotSettingsValidator::canonicalMediaNameList(const AcDbPlotSettings* settings,
                                                                     std::vector<std::string>& names) const
{
    names.clear();
    if (!settings)
        return Acad::eNullObjectPointer;
    if (offersMedia(settings->plotCfgName()))
        names.assign(std::begin(kMedia), std::end(kMedia));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotCfgName(AcDbPlotSettings* settings, const char* deviceName,
                                                            const char* mediaName)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    const char* device = deviceNamed(deviceName);
    if (!device)
        return Acad::eInvalidInput;
    const bool paper = std::string_view(device) != "None";
    if (mediaName && (!paper || !isMedia(mediaName)))
        return Acad::eInvalidInput;
    settings->plotCfgName_ = device;
    settings->assertWriteEnabled();
    if (mediaName)
        return setCanonicalMediaName(settings, mediaName);
    if (paper && !isMedia(settings->mediaName_.c_str()))
        return setCanonicalMediaName(settings, kMedia[0]);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setCanonicalMediaName(AcDbPlotSettings* settings, const char* mediaName)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    double width = 0, height = 0;
    AcDbPlotSettings::PlotPaperUnits units = AcDbPlotSettings::kMillimeters;
    if (!offersMedia(settings->plotCfgName_) || !isMedia(mediaName) || !sheetSize(mediaName, width, height, units))
        return Acad::eInvalidInput;
    settings->mediaName_ = mediaName;
    settings->paperWidth_ = width;
    settings->paperHeight_ = height;
    settings->paperUnits_ = units;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotType(AcDbPlotSettings* settings, AcDbPlotSettings::PlotType type)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    if (type < AcDbPlotSettings::kDisplay || type > AcDbPlotSettings::kLayout)
        return Acad::eInvalidInput;
    settings->plotType_ = type;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setUseStandardScale(AcDbPlotSettings* settings, bool useStandard)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    return settings->setFlag(AcDbPlotSettings::kUseStandardScale, useStandard);
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setStdScaleType(AcDbPlotSettings* settings,
                                                             AcDbPlotSettings::StdScaleType type)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    if (type < AcDbPlotSettings::kScaleToFit || type > AcDbPlotSettings::k1and1_2in_1ft)
        return Acad::eInvalidInput;
    settings->stdScaleType_ = type;
    if (type != AcDbPlotSettings::kScaleToFit)
        settings->stdScale_ = AcDbPlotSettings::stdScaleValue(type);
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setCustomPrintScale(AcDbPlotSettings* settings, double numerator,
                                                                 double denominator)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    if (!(numerator > 0) || !(denominator > 0))
        return Acad::eInvalidInput;
    settings->customNumerator_ = numerator;
    settings->customDenominator_ = denominator;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotCentered(AcDbPlotSettings* settings, bool centered)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    return settings->setFlag(AcDbPlotSettings::kPlotCentered, centered);
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setCurrentStyleSheet(AcDbPlotSettings* settings, const char* styleSheetName)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    settings->styleSheet_ = styleSheetName ? styleSheetName : "";
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotRotation(AcDbPlotSettings* settings,
                                                             AcDbPlotSettings::PlotRotation rotation)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    if (rotation < AcDbPlotSettings::k0degrees || rotation > AcDbPlotSettings::k270degrees)
        return Acad::eInvalidInput;
    settings->rotation_ = rotation;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotPaperUnits(AcDbPlotSettings* settings,
                                                               AcDbPlotSettings::PlotPaperUnits units)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    if (units < AcDbPlotSettings::kInches || units > AcDbPlotSettings::kPixels)
        return Acad::eInvalidInput;
    settings->paperUnits_ = units;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotWindowArea(AcDbPlotSettings* settings, double xmin, double ymin,
                                                               double xmax, double ymax)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    if (!(xmax > xmin) || !(ymax > ymin))
        return Acad::eInvalidInput;
    settings->window_[0] = xmin;
    settings->window_[1] = ymin;
    settings->window_[2] = xmax;
    settings->window_[3] = ymax;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotOrigin(AcDbPlotSettings* settings, double x, double y)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    settings->originX_ = x;
    settings->originY_ = y;
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::setPlotViewName(AcDbPlotSettings* settings, const char* viewName)
{
    if (Acad::ErrorStatus es = writable(settings); es != Acad::eOk)
        return es;
    settings->viewName_ = viewName ? viewName : "";
    return settings->assertWriteEnabled();
}

Acad::ErrorStatus AcDbPlotSettingsValidator::refreshLists(AcDbPlotSettings* settings)
{
    return settings ? Acad::eOk : Acad::eNullObjectPointer;
}

AcDbPlotSettingsValidator* acdbPlotSettingsValidator()
{
    static AcDbPlotSettingsValidator validator;
    return &validator;
}
