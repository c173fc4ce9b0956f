#pragma once
// Look-ups that answer from an object's file record without building the
// object, for scans over every entity of a large drawing (selection filters).
// Each answers only when the record alone is certain; otherwise it returns
// false and the caller opens the object as usual.

#include <string_view>

#include "host/db/AcDbObjectId.h"

// The block name of a block reference that has not been opened since it was
// read, when that name is plain ASCII text (nothing to decode). False for any
// other object, for one already built (its name may have changed), for a
// name that needs decoding and for the name of a block renamed since.
bool acdbPeekBlockName(AcDbObjectId id, std::string_view& name);

// Whether the object has extended data of the application (name compared
// ignoring case, as AcDbObject::xData does): from the record for an object
// not built yet, from the object otherwise, so the answer is always certain.
// Returns false (has untouched) only for a null id or one of no database.
bool acdbPeekHasXData(AcDbObjectId id, const char* appName, bool& has);

// For a scan that peeks at object after object of a large drawing, whose
// stubs and lines lie all over memory: each asks the processor to bring into
// its cache what a later peek will read, so that the peek does not wait for
// memory. The stub is asked for some objects ahead; the line holding a block
// reference's name is found from its stub, so it is asked for nearer, once
// the stub has arrived. Neither changes anything nor fails.
void acdbPrefetchStub(AcDbObjectId id);
void acdbPrefetchBlockNameLine(AcDbObjectId id);
