#pragma once
// Locks the current document for writing for the life of the object, as a
// command does before it changes the drawing. Locks nest.

#include "host/db/AcadErrorStatus.h"

class AcApDocument;

class AcAxDocLock {
public:
    // Locks the current document; lockStatus() tells whether that worked
    // (eNotApplicable when no document is open).
    AcAxDocLock();
    // Locks the given document.
    explicit AcAxDocLock(AcApDocument* document);
    AcAxDocLock(const AcAxDocLock&) = delete;
    AcAxDocLock& operator=(const AcAxDocLock&) = delete;
    // Releases the lock when it was taken.
    ~AcAxDocLock();

    Acad::ErrorStatus lockStatus() const { return status_; }

private:
    AcApDocument* document_ = nullptr;
    Acad::ErrorStatus status_ = Acad::eNotApplicable;
};
