#include "host/ed/AcRxDictionary.h"

#include "host/ed/AcEdCommandStack.h"
#include "host/ed/AcRxDynamicLinker.h"

AcRxObject::~AcRxObject() = default;

AcRxObject* AcRxDictionary::at(const char* key) const
{
    if (!key) return nullptr;
    auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : found->second;
}

AcRxObject* AcRxDictionary::atPut(const char* key, AcRxObject* object)
{
    if (!key) return nullptr;
    AcRxObject*& slot = entries_[key];
    AcRxObject* previous = slot;
    slot = object;
    return previous;
}

AcRxObject* AcRxDictionary::remove(const char* key)
{
    if (!key) return nullptr;
    auto found = entries_.find(key);
    if (found == entries_.end()) return nullptr;
    AcRxObject* removed = found->second;
    entries_.erase(found);
    return removed;
}

AcRxDictionary* acrxSysRegistry()
{
    static AcRxDictionary registry;
    static const bool filled = [] {
        registry.atPut("ACAD_REGISTERED_COMMANDS", acedRegCmds());
        registry.atPut("DynamicLinker", acrxDynamicLinker());
        return true;
    }();
    (void)filled;
    return &registry;
}
