#include "host/db/AcadErrorStatus.h"

const char* acadErrorStatusText(Acad::ErrorStatus status)
{
    using namespace Acad;
    switch (status) {
    case eOk: return "eOk";
    case eNotImplementedYet: return "eNotImplementedYet";
    case eNotApplicable: return "eNotApplicable";
    case eInvalidInput: return "eInvalidInput";
    case eAmbiguousOutput: return "eAmbiguousOutput";
    case eOutOfMemory: return "eOutOfMemory";
    case eInvalidOpenState: return "eInvalidOpenState";
    case eHandleExists: return "eHandleExists";
    case eNullHandle: return "eNullHandle";
    case eUnknownHandle: return "eUnknownHandle";
    case eNullObjectId: return "eNullObjectId";
    case eKeyNotFound: return "eKeyNotFound";
    case eDuplicateKey: return "eDuplicateKey";
    case eInvalidIndex: return "eInvalidIndex";
    case eAlreadyInDb: return "eAlreadyInDb";
    case eWrongObjectType: return "eWrongObjectType";
    case eNotOpenForRead: return "eNotOpenForRead";
    case eNotOpenForWrite: return "eNotOpenForWrite";
    case eNotThatKindOfClass: return "eNotThatKindOfClass";
    case eInvalidBlockName: return "eInvalidBlockName";
    case eInvalidDxfCode: return "eInvalidDxfCode";
    case eBadDxfSequence: return "eBadDxfSequence";
    case eFilerError: return "eFilerError";
    case eFileAccessErr: return "eFileAccessErr";
    case eFileSystemErr: return "eFileSystemErr";
    case eFileNotFound: return "eFileNotFound";
    case eWasErased: return "eWasErased";
    case eNullObjectPointer: return "eNullObjectPointer";
    case eWasOpenForRead: return "eWasOpenForRead";
    case eWasOpenForWrite: return "eWasOpenForWrite";
    case eOnLockedLayer: return "eOnLockedLayer";
    case eDuplicateRecordName: return "eDuplicateRecordName";
    case eNotInDatabase: return "eNotInDatabase";
    case eWrongDatabase: return "eWrongDatabase";
    case eRegappIdNotFound: return "eRegappIdNotFound";
    case eInvalidAdsName: return "eInvalidAdsName";
    case eNotAnEntity: return "eNotAnEntity";
    case eDwgNotSupported: return "eDwgNotSupported";
    case eCannotScaleNonUniformly: return "eCannotScaleNonUniformly";
    case eInvalidExtents: return "eInvalidExtents";
    case eLockViolation: return "eLockViolation";
    case eLockCountNotZero: return "eLockCountNotZero";
    case eHatchTooDense: return "eHatchTooDense";
    }
    return "eUnknownErrorStatus";
}
