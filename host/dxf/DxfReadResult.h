#pragma once
#include <cstddef>
#include <string>

#include "host/db/AcadErrorStatus.h"

// The outcome of reading a DXF file: eOk, or a status with the line of the
// file where reading stopped and a message naming the file, the line and
// what was expected there.
struct DxfReadResult {
    Acad::ErrorStatus status = Acad::eOk;
    size_t line = 0;
    std::string message;

    bool ok() const { return status == Acad::eOk; }
    explicit operator bool() const { return ok(); }
};
