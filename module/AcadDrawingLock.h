#pragma once
// Holds one level of a drawing's lock for the life of the object: locks in
// the constructor and, when that worked, unlocks (without force) on every
// path out. Because the drawing's locks nest, an operation can take a guard
// while its caller already holds one; only the outermost pair reaches the
// host's document manager.

#include <cstdint>

class CAcadDrawing;

class CAcadDrawingLock {
public:
    // Locks the drawing; status() tells whether that worked (0 = locked).
    explicit CAcadDrawingLock(CAcadDrawing& drawing);
    CAcadDrawingLock(const CAcadDrawingLock&) = delete;
    CAcadDrawingLock& operator=(const CAcadDrawingLock&) = delete;
    // Releases this level when it was taken. A failure to unlock is shown,
    // never thrown.
    ~CAcadDrawingLock();

    // The host status of the lock (0 on success).
    int32_t status() const { return status_; }
    bool isLocked() const { return status_ == 0; }

private:
    CAcadDrawing& drawing_;
    int32_t status_;
};
