#pragma once
// The module interface a loadable module implements, the exported entry
// points the host looks up in the module file, and the host services those
// entry points call (allocation, API version, load and unload notices).
//
// Loading, as the host does it: dlopen the file; check acrxGetApiVersion;
// ask odrxCreateModuleObject for the module object (it takes over the
// instance handle); call initApp, which calls onLoadArxApp with the module's
// name, upon which the host sends the initialise message (kInitAppMsg) to
// acrxEntryPoint. Unloading: uninitApp (-> onUnloadArxApp -> kUnloadAppMsg),
// then deleteModule, then dlclose.

#include <cstddef>
#include <string>

namespace AcRx {
enum AppMsgCode : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
};
enum AppRetCode : int {
    kRetOK = 0,
    kRetError = 3,
};
}  // namespace AcRx

// The host's API version, which a module must match in its major number.
constexpr int ZELKA_HOST_API_MAJOR = 26;
constexpr int ZELKA_HOST_API_MINOR = 2;

class OdRxModule {
public:
    // The first slot: destruction (the module frees its own storage).
    virtual ~OdRxModule() = default;
    virtual void addRef() = 0;
    virtual void release() = 0;
    virtual long numRefs() const = 0;
    // The module's instance handle.
    virtual void* sysData() = 0;
    // Destroys the module object; the host calls it once, after uninitApp.
    virtual void deleteModule() = 0;
    // Starts the module: leads to the initialise message.
    virtual void initApp() = 0;
    // Stops the module: leads to the unload message.
    virtual void uninitApp() = 0;
    // The full path of the module file (empty when it cannot be found).
    virtual std::string moduleName() const = 0;
};

// The exported functions, by the names the host looks up.
using AcrxGetApiVersionFn = void (*)(int*, int*, int*, int*);
using OdrxGetApiVersionFn = int (*)(int*, int*, int*, int*);
using OdrxCreateModuleObjectFn = OdRxModule* (*)(void*&);
using AcrxEntryPointFn = int (*)(int, void*);

// Allocation through the host for module objects. odrxAlloc returns null when
// out of memory; odrxFree accepts null.
void* odrxAlloc(std::size_t size);
void odrxFree(void* memory);

// The host's own API version; returns 0.
int brxOdApiVersion(int* major, int* minor, int* build, int* revision);

// Called by a module's initApp and uninitApp with its moduleName(): the host
// sends the initialise or unload message to that module's acrxEntryPoint.
// Unknown names are ignored.
void onLoadArxApp(const char* moduleName);
void onUnloadArxApp(const char* moduleName);
