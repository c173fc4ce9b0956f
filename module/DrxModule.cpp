#include "module/DrxModule.h"

#include <dlfcn.h>
#include <link.h>

#include <new>

namespace {

CDrxModule* theModule = nullptr;

}  // namespace

void CDrxModule::deleteModule()
{
    theModule = nullptr;
    this->~CDrxModule();
    odrxFree(this);
}

void CDrxModule::initApp()
{
    onLoadArxApp(moduleName().c_str());
}

void CDrxModule::uninitApp()
{
    onUnloadArxApp(moduleName().c_str());
}

std::string CDrxModule::moduleName() const
{
    if (!instance_) return {};
    link_map* map = nullptr;
    if (dlinfo(instance_, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
    std::string name = map->l_name;
    if (name.size() > 260) name.resize(260);
    return name;
}

CDrxModule* CDrxModule::current()
{
    return theModule;
}

extern "C" __attribute__((visibility("default"))) void acrxGetApiVersion(int* major, int* minor, int* build,
                                                                          int* revision)
{
    if (major) *major = 26;
    if (minor) *minor = 2;
    if (build) *build = 3;
    if (revision) *revision = 0;
}

extern "C" __attribute__((visibility("default"))) int odrxGetAPIVersion(int* major, int* minor, int* build,
                                                                         int* revision)
{
    return brxOdApiVersion(major, minor, build, revision);
}

extern "C" __attribute__((visibility("default"))) OdRxModule* odrxCreateModuleObject(void*& instance)
{
    if (theModule) return theModule;
    void* memory = odrxAlloc(sizeof(CDrxModule));
    if (!memory) {
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
        instance = nullptr;
        return nullptr;
    }
    theModule = new (memory) CDrxModule(instance);
    instance = nullptr;
    return theModule;
}
