#pragma once
#include "host/db/AcDbOpen.h"

// Opens an object for the lifetime of the guard and closes it on every path.
// openStatus() tells whether the open succeeded; -> and * are only valid then.
template <class T>
class AcDbObjectPointer {
public:
    AcDbObjectPointer() = default;
    AcDbObjectPointer(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
    {
        status_ = acdbOpenObject(object_, id, mode, openErased);
    }
    ~AcDbObjectPointer() { close(); }
    AcDbObjectPointer(const AcDbObjectPointer&) = delete;
    AcDbObjectPointer& operator=(const AcDbObjectPointer&) = delete;

    // Closes what is open and opens id; returns the open status.
    Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
    {
        close();
        status_ = acdbOpenObject(object_, id, mode, openErased);
        return status_;
    }
    // Closes the object now; eNullObjectPointer when nothing is open.
    Acad::ErrorStatus close()
    {
        if (!object_)
            return Acad::eNullObjectPointer;
        Acad::ErrorStatus es = object_->close();
        object_ = nullptr;
        status_ = Acad::eNullObjectPointer;
        return es;
    }
    Acad::ErrorStatus openStatus() const { return status_; }
    T* object() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
    Acad::ErrorStatus status_ = Acad::eNullObjectPointer;
};

template <class T>
using AcDbSmartObjectPointer = AcDbObjectPointer<T>;
