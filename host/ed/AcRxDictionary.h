#pragma once
// A named set of run-time objects; the host's system registry is one, with
// the entries "ACAD_REGISTERED_COMMANDS" (the command stack) and
// "DynamicLinker". The dictionary does not own its entries.

#include <map>
#include <string>

#include "host/ed/AcRxObject.h"

class AcRxDictionary : public AcRxObject {
public:
    // The entry of that name, or null when there is none.
    AcRxObject* at(const char* key) const;
    // Adds or replaces an entry; returns the one replaced, or null.
    AcRxObject* atPut(const char* key, AcRxObject* object);
    // Removes an entry; returns it, or null when there was none.
    AcRxObject* remove(const char* key);

    const char* className() const override { return "AcRxDictionary"; }

private:
    std::map<std::string, AcRxObject*> entries_;
};

// The host's system registry, holding the command stack and the dynamic linker.
AcRxDictionary* acrxSysRegistry();
