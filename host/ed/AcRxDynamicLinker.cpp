#include "host/ed/AcRxDynamicLinker.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

struct AcRxDynamicLinker::Module {
    std::string path;        // as loaded (absolute)
    std::string name;        // the module's own name, once it is known
    void* library = nullptr; // the dlopen handle
    OdRxModule* object = nullptr;
    AcrxEntryPointFn entryPoint = nullptr;
    bool unlocked = false;
    bool mdiAware = false;
};

AcRxDynamicLinker::AcRxDynamicLinker() = default;

AcRxDynamicLinker::~AcRxDynamicLinker()
{
    // Modules are stopped explicitly by the host (unloadAll) while the rest of
    // the host still exists; at process exit only the handles are dropped.
}

bool AcRxDynamicLinker::loadModule(const std::string& requestedPath)
{
    lastError_.clear();
    std::error_code error;
    std::string path = std::filesystem::absolute(requestedPath, error).lexically_normal().string();
    if (error) path = requestedPath;
    if (find(path)) {
        lastError_ = path + " is already loaded";
        return false;
    }
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* text = dlerror();
        lastError_ = text ? text : ("cannot load " + path);
        return false;
    }
    auto fail = [&](const std::string& why) {
        lastError_ = path + ": " + why;
        dlclose(library);
        return false;
    };
    auto apiVersion = reinterpret_cast<AcrxGetApiVersionFn>(dlsym(library, "acrxGetApiVersion"));
    auto create = reinterpret_cast<OdrxCreateModuleObjectFn>(dlsym(library, "odrxCreateModuleObject"));
    auto entryPoint = reinterpret_cast<AcrxEntryPointFn>(dlsym(library, "acrxEntryPoint"));
    if (!apiVersion || !create || !entryPoint) {
        return fail("not a module (acrxGetApiVersion, odrxCreateModuleObject or acrxEntryPoint missing)");
    }
    int major = 0, minor = 0, build = 0, revision = 0;
    apiVersion(&major, &minor, &build, &revision);
    if (major != ZELKA_HOST_API_MAJOR) {
        return fail("built for API version " + std::to_string(major) + "." + std::to_string(minor) +
                    ", this host speaks " + std::to_string(ZELKA_HOST_API_MAJOR));
    }
    void* instance = library;
    OdRxModule* object = create(instance);
    if (!object) return fail("gave no module object");

    auto module = std::make_unique<Module>();
    module->path = path;
    module->library = library;
    module->object = object;
    module->entryPoint = entryPoint;
    Module* loaded = module.get();
    modules_.push_back(std::move(module));
    loaded->name = object->moduleName();
    if (loaded->name.empty()) loaded->name = path;
    object->initApp();
    return true;
}

bool AcRxDynamicLinker::unloadModule(const std::string& name)
{
    Module* module = find(name);
    if (!module) {
        std::error_code error;
        std::string absolute = std::filesystem::absolute(name, error).lexically_normal().string();
        if (!error) module = find(absolute);
    }
    if (!module) return false;
    module->object->uninitApp();
    module->object->deleteModule();
    module->object = nullptr;
    void* library = module->library;
    modules_.erase(std::find_if(modules_.begin(), modules_.end(), [&](const auto& m) { return m.get() == module; }));
    dlclose(library);
    return true;
}

void AcRxDynamicLinker::unloadAll()
{
    while (!modules_.empty()) unloadModule(modules_.back()->path);
}

bool AcRxDynamicLinker::unlockApplication(void* appId)
{
    Module* module = findApp(appId);
    if (!module) return false;
    module->unlocked = true;
    return true;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId)
{
    Module* module = findApp(appId);
    if (!module) return false;
    module->mdiAware = true;
    return true;
}

std::vector<std::string> AcRxDynamicLinker::loadedModules() const
{
    std::vector<std::string> names;
    for (const auto& module : modules_) names.push_back(module->name);
    return names;
}

bool AcRxDynamicLinker::sendMessage(const std::string& moduleName, AcRx::AppMsgCode message)
{
    Module* module = find(moduleName);
    if (!module) return false;
    module->entryPoint(message, module);
    return true;
}

AcRxDynamicLinker::Module* AcRxDynamicLinker::find(const std::string& name) const
{
    for (const auto& module : modules_) {
        if (module->path == name || module->name == name) return module.get();
    }
    return nullptr;
}

AcRxDynamicLinker::Module* AcRxDynamicLinker::findApp(void* appId) const
{
    for (const auto& module : modules_) {
        if (module.get() == appId) return module.get();
    }
    return nullptr;
}

AcRxDynamicLinker* AcRxDynamicLinker::cast(AcRxObject* object)
{
    return dynamic_cast<AcRxDynamicLinker*>(object);
}

AcRxDynamicLinker* acrxDynamicLinker()
{
    static AcRxDynamicLinker linker;
    return &linker;
}

void* odrxAlloc(std::size_t size)
{
    return std::malloc(size);
}

void odrxFree(void* memory)
{
    std::free(memory);
}

int brxOdApiVersion(int* major, int* minor, int* build, int* revision)
{
    if (major) *major = ZELKA_HOST_API_MAJOR;
    if (minor) *minor = ZELKA_HOST_API_MINOR;
    if (build) *build = 3;
    if (revision) *revision = 0;
    return 0;
}

void onLoadArxApp(const char* moduleName)
{
    if (moduleName) acrxDynamicLinker()->sendMessage(moduleName, AcRx::kInitAppMsg);
}

void onUnloadArxApp(const char* moduleName)
{
    if (moduleName) acrxDynamicLinker()->sendMessage(moduleName, AcRx::kUnloadAppMsg);
}
