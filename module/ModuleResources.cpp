#include "module/ModuleResources.h"

#include <cstdlib>

std::string zelkaResourceFile(const std::string& name)
{
    const char* overridden = std::getenv("ZELKA_RESOURCE_DIR");
    std::string folder = overridden && *overridden ? overridden : ZELKA_RESOURCE_DIR;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name;
}
