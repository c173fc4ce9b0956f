#pragma once
// Which CAD program the module runs in, detected once from the host's
// product name. A few features differ between hosts (plotting, the marker
// commands, block selection).

#include <cstdint>
#include <string>

class CHostProduct {
public:
    enum Kind : int32_t { kUnknown = 0, kAutoCADLT = 1, kAutoCAD = 2, kBricsCAD = 3 };

    // Detects the product from a host product name; never fails (unknown
    // names give kUnknown with the name "unknown <name in lower case>").
    explicit CHostProduct(const std::string& hostProductName);

    int32_t getKind() const { return kind_; }
    const std::string& getName() const { return name_; }
    // True for AutoCAD and BricsCAD, not for AutoCAD LT or an unknown host.
    bool isFullProduct() const { return kind_ > kAutoCADLT; }

private:
    int32_t kind_ = kUnknown;
    std::string name_;
};
