#pragma once
// The root of the host's run-time objects that a module finds through the
// system registry (the command stack, the dynamic linker). Modules check the
// kind of an entry with the cast of the class they expect.

class AcRxObject {
public:
    AcRxObject() = default;
    AcRxObject(const AcRxObject&) = delete;
    AcRxObject& operator=(const AcRxObject&) = delete;
    virtual ~AcRxObject();

    // The class name of the object, e.g. "AcEdCommandStack". Never null.
    virtual const char* className() const = 0;
};
