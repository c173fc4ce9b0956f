#pragma once
// What the host tells a module about itself: its product name (a module
// adapts a few features to the CAD program it runs in). The console host
// presents itself as "BricsCAD" unless told otherwise (--host-product).

#include <string>

#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbPlotSettingsValidator.h"

class AcDbHostApplicationServices {
public:
    // The product name, never null.
    const char* product() const { return product_.c_str(); }
    // Sets the product name the host reports from now on.
    void setProduct(std::string product) { product_ = std::move(product); }
    // The layout manager (which layout of a drawing is current); never null.
    AcDbLayoutManager* layoutManager() const { return acdbLayoutManager(); }
    // The plot settings validator (devices, media, scales); never null.
    AcDbPlotSettingsValidator* plotSettingsValidator() const { return acdbPlotSettingsValidator(); }

private:
    std::string product_ = "BricsCAD";
};

// The host's application services.
AcDbHostApplicationServices* acdbHostApplicationServices();
