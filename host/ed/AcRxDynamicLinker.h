#pragma once
// The host's dynamic linker: loads module files, keeps them while they run,
// and unloads them. A module registers here, through the system registry
// entry "DynamicLinker", that it may be unloaded on request and that it
// works with several documents.

#include <memory>
#include <string>
#include <vector>

#include "host/ed/AcRxObject.h"
#include "host/ed/OdRxModule.h"

class AcRxDynamicLinker : public AcRxObject {
public:
    AcRxDynamicLinker();
    ~AcRxDynamicLinker() override;

    // Loads a module file and starts it. Returns false, with lastError() saying
    // why, when the file cannot be opened, lacks an entry point, speaks
    // another API version, or gives no module object.
    bool loadModule(const std::string& path);
    // Stops and unloads a loaded module (by the path it was loaded with, or
    // its module name). Returns false when no such module is loaded.
    bool unloadModule(const std::string& path);
    // Unloads every module, last loaded first.
    void unloadAll();
    // The reason of the last failed load.
    const std::string& lastError() const { return lastError_; }

    // Marks the application as unloadable on request; false for an unknown app.
    bool unlockApplication(void* appId);
    // Marks the application as working with several documents; false for an unknown app.
    bool registerAppMDIAware(void* appId);
    // The names of the loaded modules, in load order.
    std::vector<std::string> loadedModules() const;

    // Sends a message to the module of that name; false when none matches.
    bool sendMessage(const std::string& moduleName, AcRx::AppMsgCode message);

    const char* className() const override { return "AcRxDynamicLinker"; }
    // The entry when it is a dynamic linker, else null.
    static AcRxDynamicLinker* cast(AcRxObject* object);

private:
    struct Module;
    Module* find(const std::string& name) const;
    Module* findApp(void* appId) const;
    std::vector<std::unique_ptr<Module>> modules_;
    std::string lastError_;
};

// The host's dynamic linker.
AcRxDynamicLinker* acrxDynamicLinker();
