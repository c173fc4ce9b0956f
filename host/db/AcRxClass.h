#pragma once
#include <string>

// Run-time class description: the class name an object reports through
// isA()->name() (e.g. "AcDbPolyline") and its DXF record name. One static
// instance per class; objects of types the database does not model report
// the class of their DXF record name.
class AcRxClass {
public:
    AcRxClass(const char* name, const char* dxfName, const AcRxClass* parent)
        : name_(name), dxfName_(dxfName), parent_(parent) {}
    AcRxClass(const AcRxClass&) = delete;
    AcRxClass& operator=(const AcRxClass&) = delete;

    const char* name() const { return name_.c_str(); }
    const char* dxfName() const { return dxfName_.c_str(); }
    const AcRxClass* myParent() const { return parent_; }
    // True when this class is other or derives from it.
    bool isDerivedFrom(const AcRxClass* other) const
    {
        for (const AcRxClass* c = this; c; c = c->parent_)
            if (c == other)
                return true;
        return false;
    }

private:
    std::string name_;
    std::string dxfName_;
    const AcRxClass* parent_;
};
