#include "module/HostProduct.h"

#include <algorithm>
#include <cctype>

CHostProduct::CHostProduct(const std::string& hostProductName)
{
    std::string lower = hostProductName;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("autocad") != std::string::npos) {
        if (lower.find("tocad lt") != std::string::npos) {
            kind_ = kAutoCADLT;
            name_ = "AutoCADLT";
        } else {
            kind_ = kAutoCAD;
            name_ = "AutoCAD";
        }
    } else if (lower.find("bricscad") != std::string::npos) {
        kind_ = kBricsCAD;
        name_ = "BricsCAD";
    } else {
        kind_ = kUnknown;
        name_ = "unknown <" + lower + ">";
    }
}
