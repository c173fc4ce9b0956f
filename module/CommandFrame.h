#pragma once
// The frame every command body shares: the module's resources are current
// while it runs (pushed with the module's instance handle and popped on every
// path), an optional banner line "<title> <version>", and the command-top
// exception frame that shows a failure as the "Error Detected." chain.

#include <string>

#include "host/ed/AcApDocManager.h"
#include "host/ed/acutPrintf.h"
#include "ZelkaVersion.h"
#include "infra/ZelkaExceptions.h"
#include "module/DrxModule.h"

inline constexpr const char* ZELKA_MODULE_VERSION = ZELKA_VERSION;

// Makes the module's resources current for its lifetime.
class CModuleResourceScope {
public:
    CModuleResourceScope()
    {
        CDrxModule* module = CDrxModule::current();
        acDocManagerPtr()->pushResourceHandle(module ? module->sysData() : nullptr);
    }
    CModuleResourceScope(const CModuleResourceScope&) = delete;
    CModuleResourceScope& operator=(const CModuleResourceScope&) = delete;
    ~CModuleResourceScope() { acDocManagerPtr()->popResourceHandle(); }
};

// Runs a command body in the frame. bannerTitle may be null (no banner).
// Returns false when the body failed (the failure has been shown).
template <class Body>
bool zelkaCommandFrame(const char* bannerTitle, const char* handlerName, Body&& body)
{
    CModuleResourceScope resources;
    if (bannerTitle) {
        std::string banner = std::string(bannerTitle) + " " + ZELKA_MODULE_VERSION;
        acutPrintf("%s\n", banner.c_str());
    }
    return zelkaCommand(handlerName, std::forward<Body>(body));
}
