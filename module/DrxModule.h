#pragma once
// The module object the host's loader asks for: it owns the module's instance
// handle and starts and stops the module through the host. There is at most
// one per process (see odrxCreateModuleObject).

#include <atomic>

#include "host/ed/OdRxModule.h"

class CDrxModule : public OdRxModule {
public:
    explicit CDrxModule(void* instance) : instance_(instance) {}
    ~CDrxModule() override = default;

    void addRef() override { ++references_; }
    // Never deletes: the host deletes the module through deleteModule.
    void release() override { --references_; }
    long numRefs() const override { return references_.load(); }
    void* sysData() override { return instance_; }
    // Clears the module-wide pointer, then destroys and frees this object.
    void deleteModule() override;
    void initApp() override;
    void uninitApp() override;
    // The full path of the module file, at most 260 characters; "" when unknown.
    std::string moduleName() const override;

    // The module object, or null before the host asked for it.
    static CDrxModule* current();

private:
    std::atomic<long> references_{0};
    void* instance_ = nullptr;
};
