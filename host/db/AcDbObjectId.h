#pragma once
#include <cstddef>
#include <functional>

#include "host/db/AcDbHandle.h"
#include "host/db/AcDbStub.h"

class AcDbDatabase;
class AcRxClass;

// The running program's identity of a database object: a cheap value that
// stays valid as long as its database lives, whatever happens to the object.
// The null id names nothing; every query on it is safe and gives null/false.
class AcDbObjectId {
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(AcDbStub* stub) : stub_(stub) {}

    static const AcDbObjectId kNull;

    bool isNull() const { return stub_ == nullptr; }
    bool isValid() const { return stub_ != nullptr; }
    // True when the object has been erased (false for the null id).
    bool isErased() const { return stub_ && stub_->erased; }
    // The file handle; null for the null id.
    AcDbHandle handle() const { return AcDbHandle(stub_ ? stub_->handle : 0); }
    // The database the object lives in; null for the null id.
    AcDbDatabase* database() const { return stub_ ? stub_->database : nullptr; }
    // The class of the object; null for the null id.
    const AcRxClass* objectClass() const;
    void setNull() { stub_ = nullptr; }

    AcDbStub* stub() const { return stub_; }
    bool operator==(const AcDbObjectId& other) const = default;
    bool operator<(const AcDbObjectId& other) const { return handle().value() < other.handle().value(); }
    explicit operator bool() const { return stub_ != nullptr; }

private:
    AcDbStub* stub_ = nullptr;
};

inline const AcDbObjectId AcDbObjectId::kNull{};

template <>
struct std::hash<AcDbObjectId> {
    size_t operator()(const AcDbObjectId& id) const noexcept { return std::hash<const void*>()(id.stub()); }
};
