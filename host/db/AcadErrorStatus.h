#pragma once
// Status results of drawing-database and editor operations. The numbers the
// module compares (13, 87, 95, 320, 420, 5) are fixed here; the rest follow
// the same scheme and only need to be distinct.

namespace Acad {

enum ErrorStatus : int {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eAmbiguousOutput = 5,          // also: a hatch pattern is not dense enough
    eOutOfMemory = 6,
    eInvalidOpenState = 8,
    eHandleExists = 10,
    eNullHandle = 11,
    eUnknownHandle = 13,           // a handle that names no object of the drawing
    eNullObjectId = 16,
    eKeyNotFound = 21,
    eDuplicateKey = 22,
    eInvalidIndex = 23,
    eAlreadyInDb = 25,
    eWrongObjectType = 33,
    eNotOpenForRead = 43,
    eNotOpenForWrite = 44,
    eNotThatKindOfClass = 45,
    eInvalidBlockName = 46,
    eInvalidDxfCode = 49,
    eBadDxfSequence = 51,
    eFilerError = 52,
    eFileAccessErr = 71,
    eFileSystemErr = 72,
    eFileNotFound = 75,
    eWasErased = 77,
    eNullObjectPointer = 78,
    eWasOpenForRead = 79,
    eWasOpenForWrite = 80,
    eOnLockedLayer = 87,           // the entity lies on a locked layer
    eDuplicateRecordName = 95,     // a symbol-table record of that name exists
    eNotInDatabase = 108,
    eWrongDatabase = 109,
    eRegappIdNotFound = 110,
    eInvalidAdsName = 112,
    eNotAnEntity = 116,
    eDwgNotSupported = 130,
    eCannotScaleNonUniformly = 131,
    eInvalidExtents = 132,            // binary DXF or DWG: cannot be read here
    eLockViolation = 300,
    eLockCountNotZero = 320,       // a nested document lock is still held
    eHatchTooDense = 420,          // the hatch pattern would draw too many lines
};

}  // namespace Acad

// The message text of a status, for error chains and logs. Never null.
const char* acadErrorStatusText(Acad::ErrorStatus status);
