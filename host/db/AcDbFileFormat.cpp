#include "host/db/AcDbFileFormat.h"

namespace {

// Constant-initialised, so a format registering itself from another
// library's static initialiser never finds it unset again later.
const AcDbFileFormat* gFormat = nullptr;

}  // namespace

void AcDbFileFormat::registerFormat(const AcDbFileFormat* format) { gFormat = format; }

const AcDbFileFormat* AcDbFileFormat::registered() { return gFormat; }
